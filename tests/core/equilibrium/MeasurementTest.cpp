// The fitted models against the measured equilibrium of the built-in data
// set: boiling temperatures at the measured liquid compositions, each model
// fitted from the data set's start values through the equilibrium set-up.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>

#include "control/RunContexts.h"
#include "control/Session.h"
#include "equilibrium/EquilibriumCalculations.h"
#include "equilibrium/EquilibriumSetup.h"
#include "support/FakeDialogs.h"

namespace vexamo {
namespace {

using test::FakeDialogs;

struct Deviation {
    Real mean = 0, max = 0;
    std::uint32_t evaluations = 0;
};

// Sets up the two-component mixture (first, second) with the method and
// compares the bubble temperatures at the measured x with the measured ones.
Deviation againstMeasurement(std::uint16_t first, std::uint16_t second, int method) {
    Session session;
    FakeDialogs dialogs;
    dialogs.expect("equilibrium.method", MethodAnswer{false, method});
    if (method == 3) {  // UNIFAC: interactions of main groups, fitted to the data
        dialogs.expect("equilibrium.unifac_variant", AlternAnswer{})
            .expect("equilibrium.unifac_source", AlternAnswer{});
    }
    const std::array<std::uint16_t, 2> substances{first, second};
    char letter = 0;
    RunEquilibriumSetup(equilibriumContext(session, dialogs), 2, substances, session.Equilibrium,
                        letter);
    EXPECT_EQ(session.EquilibriumPairs.size(), 1u);
    Deviation d;
    if (session.EquilibriumPairs.empty()) return d;
    d.evaluations = session.EquilibriumPairs[0].Evaluations;
    const Equil& set = session.Data.binary(first + 1, second + 1);
    for (std::size_t k = 0; k < set.Count; ++k) {
        std::array<Real, 7> x{set.LiquidX[k], 1 - set.LiquidX[k]}, y{}, work{};
        Real tau = 0, pressure = set.Pressure;
        EquilibriumPoint(session.Data, 't', 'y', tau, y, work, x, session.Equilibrium, pressure,
                         1.2L, 1.01L);
        const Real error = std::fabs((tau - 1) * 273.15L - set.Temperature[k]);
        d.mean += error / set.Count;
        d.max = std::max(d.max, error);
    }
    return d;
}

TEST(Measurement, FittedModelsReproduceTheMeasuredBoilingTemperatures) {
    struct Pair {
        std::uint16_t first, second;
        const char* name;
    };
    const Pair pairs[] = {
        {0, 1, "ethanol-water"}, {2, 1, "methanol-water"}, {3, 0, "ethyl acetate-ethanol"}};
    const char* methods[] = {"Wilson", "NRTL", "UNIQUAC", "UNIFAC"};
    for (const Pair& pair : pairs)
        for (int method = 0; method < 4; ++method) {
            const Deviation d = againstMeasurement(pair.first, pair.second, method);
            RecordProperty(std::string(pair.name) + " " + methods[method],
                           std::to_string(static_cast<double>(d.mean)) + " / " +
                               std::to_string(static_cast<double>(d.max)));
            EXPECT_GT(d.evaluations, 0u);  // the fit ran and converged
            EXPECT_LT(d.mean, 0.5L) << pair.name << " " << methods[method];
            EXPECT_LT(d.max, 1.0L) << pair.name << " " << methods[method];
        }
}

}  // namespace
}  // namespace vexamo
