#include <gtest/gtest.h>

#include <cmath>

#include "common/Errors.h"
#include "equilibrium/ActivityModels.h"
#include "equilibrium/EquilibriumCalculations.h"
#include "properties/PropertyFunctions.h"

namespace vexamo {
namespace {

const SubstanceData& data() {
    static const SubstanceData d = SubstanceData::builtIn();
    return d;
}

EquilibriumModel modelOf(char method, std::vector<std::string> names) {
    EquilibriumModel m;
    m.MethodLetter = method;
    m.ComponentCount = static_cast<std::uint8_t>(names.size());
    m.ComponentNames = std::move(names);
    for (std::size_t i = 0; i < m.ComponentNames.size(); ++i) {
        GroupBlock block = data().SubstanceTable[data().findSubstance(m.ComponentNames[i])].Groups;
        ComponentGroupSums(block, m.UniquacR[i], m.UniquacQ[i]);
    }
    return m;
}

constexpr Real kAtmosphere_Pa = 760 * 133.3L;  // 760 mm Hg, the measured data's pressure

struct Point {
    Real tau = 0, pressure = 0;
    std::array<Real, 7> liquid{}, vapour{}, work{};
};

Point bubble(const EquilibriumModel& m, std::array<Real, 7> liquid,
             Real pressure = kAtmosphere_Pa) {
    Point p;
    p.liquid = liquid;
    p.pressure = pressure;
    EquilibriumPoint(data(), 't', 'y', p.tau, p.vapour, p.work, p.liquid, m, p.pressure, 1.2L,
                     1.01L);
    return p;
}

TEST(EquilibriumPoint, OneComponentBoilsAtItsSaturationTemperature) {
    for (char method : {'W', 'N', 'Q'}) {
        for (const char* name : {"comp.2", "comp.3"}) {
            const EquilibriumModel m = modelOf(method, {name});
            const Point p = bubble(m, {1});
            EXPECT_NEAR(VapourPressure(data(), name, p.tau) / kAtmosphere_Pa, 1.0L, 1e-9L)
                << method << " " << name;
            if (std::string(name) == "comp.2") {  // water at 101308 Pa: 99.97 degC (steam tables)
                EXPECT_NEAR((p.tau - 1) * 273.15L, 99.97L, 0.02L);
            }
            EXPECT_NEAR(p.work[0], 1.0L, 1e-18L);  // gamma
        }
    }
}

TEST(EquilibriumPoint, IdealMixtureFollowsRaoultsLaw) {
    // NRTL with g = 0 is ideal whatever alpha.
    EquilibriumModel m = modelOf('N', {"comp.1", "comp.2", "comp.3"});
    for (auto& row : m.NrtlAlpha) row.fill(0.3L);
    const std::array<Real, 7> x{0.2L, 0.5L, 0.3L};
    const Point p = bubble(m, x);
    Real sum = 0;
    for (std::size_t i = 0; i < 3; ++i)
        sum += x[i] * VapourPressure(data(), m.ComponentNames[i], p.tau);
    EXPECT_NEAR(sum / kAtmosphere_Pa, 1.0L, 1e-9L);

    // the pressure at a given temperature, from 760 and 750 mm Hg
    Point q;
    q.liquid = x;
    q.tau = p.tau;
    EquilibriumPoint(data(), 'P', 'y', q.tau, q.vapour, q.work, q.liquid, m, q.pressure, 760, 750);
    EXPECT_NEAR(q.pressure / sum, 1.0L, 1e-12L);
    EXPECT_EQ(q.tau, p.tau);
}

TEST(EquilibriumPoint, DewPointOfTheBubbleVapourGivesTheLiquidBack) {
    EquilibriumModel m = modelOf('W', {"comp.1", "comp.2"});
    m.WilsonA[0][1] = 0.55211L;  // ethanol-water start values
    m.WilsonA[1][0] = 1.76531L;
    const Point b = bubble(m, {0.3L, 0.7L});
    EXPECT_NEAR((b.tau - 1) * 273.15L, 81.9L, 0.3L);  // measured 81.9 at x = 0.3 (interpolated)
    for (Real start : {1.4L, 1.01L}) {                // the dew point takes no start values
        Point d;
        d.vapour = b.vapour;
        d.pressure = kAtmosphere_Pa;
        EquilibriumPoint(data(), 't', 'x', d.tau, d.vapour, d.work, d.liquid, m, d.pressure, start,
                         1.2L);
        EXPECT_NEAR(d.liquid[0], 0.3L, 2e-4L);
        EXPECT_NEAR(d.liquid[1], 0.7L, 2e-4L);
        EXPECT_NEAR(d.liquid[0] + d.liquid[1], 1.0L, 1e-6L);
        // The bubble point's vapour is that of the secant's last evaluation, up
        // to half its previous step away from the returned temperature.
        EXPECT_NEAR(d.tau, b.tau, 1.5e-4L);
        EXPECT_EQ(d.pressure, kAtmosphere_Pa);
    }
    // a mode letter other than x, X, y, Y does nothing
    Point none;
    none.tau = 7;
    EquilibriumPoint(data(), 't', 'z', none.tau, none.vapour, none.work, none.liquid, m,
                     none.pressure, 1.2L, 1.01L);
    EXPECT_EQ(none.tau, 7);
}

// Newton's method from the fixed start of the dew point (82 degC) ends, for
// this vapour at 2 kgf/cm2, at x = -0.444 and 130.06 degC; the dew point is
// then sought once more from the ideal one.
TEST(EquilibriumPoint, DewPointAboveAtmosphericPressureIsPhysical) {
    EquilibriumModel m = modelOf('W', {"comp.1", "comp.2"});
    m.WilsonA[0][1] = 0.55211L;
    m.WilsonA[1][0] = 1.76531L;
    const Real S = 0.5L / 46.069L + 0.5L / 18.015L;
    Point d;
    d.vapour = {0.5L / 46.069L / S, 0.5L / 18.015L / S};
    d.pressure = 2 * kAtmosphere_Pa;
    EquilibriumPoint(data(), 't', 'x', d.tau, d.vapour, d.work, d.liquid, m, d.pressure, 1.2L,
                     1.01L);
    EXPECT_GT(d.liquid[0], 0);
    EXPECT_LT(d.liquid[0], 0.1L);
    // between the boiling points of ethanol (97.5) and water (120.2 degC) at 2 atm
    EXPECT_GT((d.tau - 1) * 273.15L, 100);
    EXPECT_LT((d.tau - 1) * 273.15L, 120.2L);
    const Point b = bubble(m, d.liquid, d.pressure);
    EXPECT_NEAR(b.tau, d.tau, 1.5e-4L);
    EXPECT_NEAR(b.vapour[0], d.vapour[0], 2e-4L);

    // beyond the vapour-pressure tables (ethanol's ends at 150 degC): refused
    Point far;
    far.vapour = d.vapour;
    far.pressure = 10 * kAtmosphere_Pa;
    try {
        EquilibriumPoint(data(), 't', 'x', far.tau, far.vapour, far.work, far.liquid, m,
                         far.pressure, 1.2L, 1.01L);
        ADD_FAILURE();
    } catch (const CalculationAborted& e) {
        EXPECT_NE(std::string(e.what()).find(
                      "outside the vapour-pressure table of comp.1 (0 to 150 degr.C)"),
                  std::string::npos)
            << e.what();
    }
}

TEST(EquilibriumPoint, QuadraticEstimate) {
    // a straight line (h = 0): its root
    EXPECT_NEAR(QuadraticEstimate(1, 2, [](Real x) { return 3 * x - 4.5L; }), 1.5L, 1e-18L);
    // flat: the best point, s1 winning ties
    EXPECT_EQ(QuadraticEstimate(1, 2, [](Real) { return 0.5L; }), 1);
    // no real root: the best of the three points
    EXPECT_EQ(QuadraticEstimate(0, 4, [](Real x) { return (x - 2.5L) * (x - 2.5L) + 1; }), 2);
    // two roots: the one nearer the best point
    const auto F = [](Real x) { return (x - 1.1L) * (x - 1.5L); };
    EXPECT_NEAR(QuadraticEstimate(1.4L, 1.7L, F), 1.5L, 1e-15L);
    EXPECT_NEAR(QuadraticEstimate(1.2L, 0.8L, F), 1.1L, 1e-15L);
}

TEST(EquilibriumPoint, FailuresNameTheMixtureThePressureAndTheMethod) {
    EquilibriumModel m = modelOf('W', {"comp.1", "comp.2"});
    try {  // far below the tables: the vapour pressures are flat there
        bubble(m, {0.5L, 0.5L}, 1);
        ADD_FAILURE();
    } catch (const CalculationAborted& e) {
        const std::string text = e.what();
        EXPECT_NE(text.find("The boiling temperature of the mixture comp.1-comp.2 at 1 Pa (0.01 mm "
                            "Hg) by the method "
                            "Wilson was not found: "),
                  std::string::npos)
            << text;
    }
    m.Language = kRussian;
    m.ComponentNames = {"комп.1", "комп.2"};
    Point d;
    d.vapour = {0.5L, std::nanl("")};
    d.pressure = kAtmosphere_Pa;
    try {
        EquilibriumPoint(data(), 't', 'x', d.tau, d.vapour, d.work, d.liquid, m, d.pressure, 1.2L,
                         1.01L);
        ADD_FAILURE();
    } catch (const CalculationAborted& e) {
        EXPECT_EQ(std::string(e.what()).rfind(
                      "Температура конденсации смеси комп.1-комп.2 при 101308 Па (760.00 мм "
                      "рт.ст.) по методу Wilson не найдена: ",
                      0),
                  0u)
            << e.what();
    }
}

TEST(EquilibriumPoint, SolverBounds) {
    int calls = 0;
    // a secant that never settles: on sign(x) sqrt|x| it jumps from side to side
    try {
        SecantSolve(1, 0.02L, 1e-6L, [&calls](Real x) {
            ++calls;
            return std::copysign(std::sqrt(std::fabs(x)), x);
        });
        ADD_FAILURE();
    } catch (const SolverFailure& e) {
        EXPECT_EQ(e.kind(), SolverFailure::Kind::IterationLimit);
    }
    EXPECT_EQ(calls, 2 * kMaxSecantIterations);
    // a singular Jacobian: the residuals do not depend on the unknowns
    std::array<Real, 2> x{0.5L, 1.2L};
    std::uint16_t counter = 0;
    try {
        NewtonSolve(
            1, x, [](std::span<const Real>, std::span<Real> r) { r[0] = 1, r[1] = 2; }, 1e-6L,
            counter);
        ADD_FAILURE();
    } catch (const SolverFailure& e) {
        EXPECT_EQ(e.kind(), SolverFailure::Kind::Singular);
    }
}

}  // namespace
}  // namespace vexamo
