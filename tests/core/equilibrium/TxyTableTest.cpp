// The T-x-y table against the vapour pressures of the data set and the
// literature, and the unit conversions of the equilibrium results.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <numeric>

#include "common/Constants.h"
#include "equilibrium/EquilibriumSetup.h"
#include "equilibrium/EquilibriumUnits.h"
#include "equilibrium/TxyTable.h"
#include "support/FakeDialogs.h"

namespace vexamo {
namespace {

// 760 mm Hg as the program counts it (133.3 Pa each): the vapour-pressure
// tables and Antoine equations are then solved for p = 760.
const Real kAtmosphere_Pa = 760 * kPaPerMmHg;

// Pure-component boiling points at 760 mm Hg from /work/shared/data:
// water and ethanol by linear interpolation of vapour_pressure/*.csv (the way
// the program reads its tables), methanol and ethyl acetate by inverting
// antoine.csv, T = B / (A - ln p) - C.
Real interpolated(Real t0, Real p0, Real t1, Real p1) {
    return t0 + (t1 - t0) * (760 - p0) / (p1 - p0);
}
Real antoine(Real A, Real B, Real C) { return B / (A - std::log(760.0L)) - C - kZeroCelsius_K; }
const Real kWater_C = interpolated(98, 707.985L, 100, 760.697L);  // 99.974; IAPWS-IF97 99.974
const Real kEthanol_C =
    interpolated(75, 667.264L, 80, 813.465L);                   // 78.17; the Wagner equation 78.27
const Real kMethanol_C = antoine(18.5875L, 3626.55L, -34.29L);  // 64.51; measured 64.7
const Real kEthylAcetate_C = antoine(16.1516L, 2790.5L, -57.15L);  // 77.17; measured 77.1
constexpr Real kEndTolerance_K = 0.01L;  // the solver's step in tau is far smaller

// The bubble-point search stops on its step in tau, so the vapour fractions
// add up to 1 within some 1e-3, and y at x = 1 may lie as far above 1.
constexpr Real kVapourTolerance = 1e-3L;

AlternAnswer choose(int index) {
    AlternAnswer a;
    a.index = index;
    return a;
}

// A two-component model set up the way a Run does it by default: Wilson,
// fitted to the built-in measured data where the pair has them, else UNIFAC
// (variant 1) with the reference values.
struct Pair {
    SubstanceData data = SubstanceData::builtIn();
    ReportMemo report;
    FitProgress progress;
    std::vector<PairSetup> pairs;
    std::vector<std::string> names;
    test::FakeDialogs dialogs;
    EquilibriumModel model;

    Pair(std::uint16_t first, std::uint16_t second, bool measured = true) {
        char method = 0;
        const std::array<std::uint16_t, 2> substances{first, second};
        dialogs.expect("equilibrium.method", MethodAnswer{false, 0});
        if (!measured)
            dialogs.expect("equilibrium.data_absent", choose(2))
                .expect("equilibrium.unifac_variant", choose(0))
                .expect("equilibrium.unifac_source", choose(1));
        RunEquilibriumSetup({.language = kEnglish,
                             .data = data,
                             .report = report,
                             .fitProgress = progress,
                             .pairs = pairs,
                             .componentNames = names,
                             .dialogs = dialogs},
                            2, substances, model, method);
    }
    TxyTable table(Real pressure_Pa = kAtmosphere_Pa) const {
        return computeTxyTable(data, model, pressure_Pa);
    }
};

// The lowest boiling temperature of the table and its liquid composition.
std::pair<Real, Real> minimum(const TxyTable& t) {
    const auto k =
        static_cast<std::size_t>(std::min_element(t.t_C.begin(), t.t_C.end()) - t.t_C.begin());
    return {t.x[k], t.t_C[k]};
}

TEST(TxyTable, PureEndsBoilAtTheComponentsOwnBoilingPoints) {
    struct End {
        std::uint16_t first, second;
        Real atZero_C, atOne_C;  // the second component pure, the first pure
        bool measured = true;
    };
    const End ends[] = {{0, 1, kWater_C, kEthanol_C},
                        {1, 2, kMethanol_C, kWater_C},
                        {0, 3, kEthylAcetate_C, kEthanol_C},
                        {0, 2, kMethanol_C, kEthanol_C, false}};  // no measured data: UNIFAC
    for (const End& e : ends) {
        SCOPED_TRACE(std::to_string(e.first + 1) + "-" + std::to_string(e.second + 1));
        const TxyTable t = Pair(e.first, e.second, e.measured).table();
        ASSERT_EQ(t.x.size(), static_cast<std::size_t>(kTxyPoints));
        EXPECT_TRUE(t.failures.empty());
        EXPECT_EQ(t.x.front(), 0);
        EXPECT_EQ(t.x.back(), 1);
        EXPECT_NEAR(t.t_C.front(), e.atZero_C, kEndTolerance_K);
        EXPECT_NEAR(t.t_C.back(), e.atOne_C, kEndTolerance_K);
        EXPECT_NEAR(t.y.front(), 0,
                    1e-15L);  // none of the first component in the liquid, none in the vapour
        EXPECT_NEAR(t.y.back(), 1, kVapourTolerance);
        for (std::size_t k = 0; k < t.y.size(); ++k) {
            EXPECT_GE(t.y[k], 0) << "x = " << t.x[k];
            EXPECT_LE(t.y[k], 1 + kVapourTolerance) << "x = " << t.x[k];
        }
    }
}

TEST(TxyTable, ZeotropicAndAzeotropicPairs) {
    // Methanol-water has no azeotrope: every mixture boils between the pure
    // components, the higher the more water, and the vapour is richer in
    // methanol than the liquid (first component water).
    const TxyTable mw = Pair(1, 2).table();
    for (std::size_t k = 1; k + 1 < mw.x.size(); ++k) {
        EXPECT_GT(mw.t_C[k], kMethanol_C) << "x = " << mw.x[k];
        EXPECT_LT(mw.t_C[k], kWater_C) << "x = " << mw.x[k];
        EXPECT_GT(mw.t_C[k], mw.t_C[k - 1]) << "x = " << mw.x[k];
        EXPECT_LT(mw.y[k], mw.x[k]) << "x = " << mw.x[k];
    }
    // Ethanol-water: minimum-boiling azeotrope at x = 0.894, 78.15 degC
    // (760 mm Hg; Gmehling et al., Azeotropic Data); the table's grid is 0.02.
    const auto [xAzeotrope, tAzeotrope] = minimum(Pair(0, 1).table());
    EXPECT_NEAR(xAzeotrope, 0.894L, 0.04L);
    EXPECT_NEAR(tAzeotrope, 78.15L, 0.2L);
    EXPECT_LT(tAzeotrope, kEthanol_C);
    // Ethanol-ethyl acetate: 71.8 degC at 69.2 % by mass of ethyl acetate,
    // x(ethanol) = 0.460 (Horsley, Azeotropic Data).
    const auto [xEster, tEster] = minimum(Pair(0, 3).table());
    EXPECT_NEAR(xEster, 0.460L, 0.04L);
    EXPECT_NEAR(tEster, 71.8L, 0.2L);
}

TEST(TxyTable, MeasuredPointsAndFailedPointsStandBeside) {
    // Rieder and Thompson (1949): 34 points at 760 mm Hg, the first at
    // x = 0.0028, y = 0.032, 99.3 degC.
    TxyTable t = Pair(0, 1).table();
    ASSERT_EQ(t.measuredX.size(), 34u);
    EXPECT_EQ(t.measuredY.size(), 34u);
    EXPECT_EQ(t.measuredT_C.size(), 34u);
    EXPECT_NEAR(t.measuredPressure_Pa / kPaPerMmHg, 760, 0.5L);
    EXPECT_NEAR(t.measuredX[0], 0.0028L, 1e-12L);
    EXPECT_NEAR(t.measuredY[0], 0.032L, 1e-12L);
    EXPECT_NEAR(t.measuredT_C[0], 99.3L, 1e-12L);
    // Methanol-ethanol has no measured data.
    t = Pair(0, 2, false).table();
    EXPECT_TRUE(t.measuredX.empty());
    EXPECT_TRUE(t.measuredT_C.empty());

    // At 5 kgf/cm2 water boils at 151 degC (IAPWS-IF97), beyond ethanol's
    // vapour-pressure table (0 to 150 degC): that point fails with its reason
    // and the others are still computed.
    t = Pair(0, 1).table(5 * kMmHgPerKgfCm2 * kPaPerMmHg);
    ASSERT_EQ(t.failures.size(), 1u);
    EXPECT_EQ(t.failures[0].x, 0);
    EXPECT_NE(t.failures[0].reason.find("vapour-pressure table"), std::string::npos)
        << t.failures[0].reason;
    EXPECT_TRUE(std::isnan(t.y[0]) && std::isnan(t.t_C[0]));
    ASSERT_EQ(t.t_C.size(), static_cast<std::size_t>(kTxyPoints));
    for (std::size_t k = 1; k < t.t_C.size(); ++k)
        EXPECT_TRUE(std::isfinite(t.t_C[k])) << "x = " << t.x[k];
    EXPECT_GT(t.t_C[1], 140);  // nearly pure water at 490 kPa
}

TEST(EquilibriumUnits, MassPercentOfAPhase) {
    const std::vector<Real> M{46.069L, 18.015L, 32.042L,
                              88.107L};  // ethanol, water, methanol, ethyl acetate
    // 50 % by mass of ethanol in water is x = (50 / 46.069) / (50 / 46.069 + 50 / 18.015) =
    // 0.28111.
    const Real x = (50 / M[0]) / (50 / M[0] + 50 / M[1]);
    std::vector<Real> w = massPercentFromMoleFractions(std::vector<Real>{x, 1 - x}, M);
    ASSERT_EQ(w.size(), 2u);  // as many as mole fractions
    EXPECT_NEAR(w[0], 50, 1e-15L);
    EXPECT_NEAR(w[1], 50, 1e-15L);
    // Equimolar ethanol-water: 46.069 / (46.069 + 18.015) = 71.888 % ethanol.
    w = massPercentFromMoleFractions(std::vector<Real>{0.5L, 0.5L}, M);
    EXPECT_NEAR(w[0], 71.888L, 1e-3L);
    // Any composition of the four comes back to its mass per cents, adding up to 100.
    const std::vector<Real> mass{10, 20, 30, 40};
    std::vector<Real> moles;
    for (std::size_t i = 0; i < 4; ++i) moles.push_back(mass[i] / M[i]);
    const Real total = std::accumulate(moles.begin(), moles.end(), 0.0L);
    for (Real& m : moles) m /= total;
    w = massPercentFromMoleFractions(moles, M);
    for (std::size_t i = 0; i < 4; ++i) EXPECT_NEAR(w[i], mass[i], 1e-14L);
    EXPECT_NEAR(std::accumulate(w.begin(), w.end(), 0.0L), 100, 1e-14L);
}

TEST(EquilibriumUnits, EnergyParametersComeBackAsEntered) {
    // An entered parameter (kJ/mole) is stored divided by kParameterScale and
    // shown again through R x 273.15 K = 8.3144 x 273.15 J/mole.
    for (Real entered : {1.25389L, -2.5L, 4.00916L})
        EXPECT_NEAR(energyParameterKiloJoules(entered / kParameterScale), entered,
                    1e-8L * std::fabs(entered));
    EXPECT_NEAR(energyParameterKiloJoules(1), 8.3144L * 273.15L / 1000, 1e-15L);
    EXPECT_EQ(groupParameterKelvin(1), 273.15L);
    // Above 1000 mm Hg the bubble point's search starts at 109 degC, not 55.
    EXPECT_GT(bubbleStartTau(200000), bubbleStartTau(101325));
}

}  // namespace
}  // namespace vexamo
