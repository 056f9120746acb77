// Continuity of the film coefficients across every regime band.
//
// Between neighbouring regimes the correlations blend linearly over a narrow
// band of the governing number. Each case sweeps that number in a few
// thousand steps across the band and one band width on either side and
// requires:
//   - the coefficient is positive and finite at every point;
//   - no step is larger than twice the larger of (a) the step the band's own
//     linear change takes, |f(high) - f(low)| / (high - low) * h, and (b) the
//     largest step of the neighbouring forms outside the band (steps that
//     touch a band end count as inside), plus 1e-9 of the coefficient for
//     rounding.
// A jump at a band end shows up as one step many times that size.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <exception>
#include <functional>
#include <string>
#include <vector>

#include "exchanger/Correlations.h"

namespace vexamo {
namespace {

using Curve = std::function<Real(Real)>;

const SubstanceData& data() {
    static const SubstanceData d = SubstanceData::builtIn();
    return d;
}

const std::array<Real, 7> kPure = {100};

struct SweepResult {
    Real largestStep = 0, allowedStep = 0, smallest = 0;
    Real at = 0;  // where the largest step begins
};

// Sweeps [low - margin, high + margin], margin the band width unless given.
SweepResult sweep(const Curve& f, Real low, Real high, Real margin = 0, int steps = 3000) {
    const Real width = high - low;
    if (!(margin > 0)) margin = width;
    const Real from = low - margin, to = high + margin;
    const Real h = (to - from) / steps;
    SweepResult r;
    Real outside = 0, largest = 0;
    Real previous = f(from);
    r.smallest = previous;
    for (int i = 1; i <= steps; ++i) {
        const Real x0 = from + h * (i - 1), x1 = from + h * i;
        const Real value = f(x1);
        const Real step = std::fabs(value - previous);
        // A step that touches a band end counts as inside: the governing
        // number the correlation computes from x may round to either side.
        if (x1 < low - h / 2 || x0 > high + h / 2) outside = std::max(outside, step);
        if (step > r.largestStep) {
            r.largestStep = step;
            r.at = x0;
        }
        largest = std::max(largest, std::fabs(value));
        r.smallest = std::isfinite(value) ? std::min(r.smallest, value) : -1;
        previous = value;
    }
    const Real bandStep = std::fabs(f(high) - f(low)) / width * h;
    r.allowedStep = 2 * std::max(bandStep, outside) + 1e-9L * largest;
    return r;
}

void expectNoJump(const Curve& f, Real low, Real high, const std::string& what, Real margin = 0) {
    SweepResult r;
    try {
        r = sweep(f, low, high, margin);
    } catch (const std::exception& e) {
        ADD_FAILURE() << what << ": " << e.what();
        return;
    }
    EXPECT_GT(r.smallest, 0) << what;
    EXPECT_LE(r.largestStep, r.allowedStep)
        << what << ": a step of " << static_cast<double>(r.largestStep) << " from "
        << static_cast<double>(r.at) << ", the band allows " << static_cast<double>(r.allowedStep);
}

// A medium whose properties do not change with temperature, so that the
// governing numbers can be set exactly: Pr = 4000 * 1e-3 / 0.5 = 8, and the
// film Re equals the bulk Re.
Pro constantMedium() {
    Pro p;
    p.EnglishName = p.RussianName = "medium";
    p.MolarMass = 18;
    p.PointCount = 2;
    p.Temperatures = {-100, 500};
    auto both = [](Real v) { return std::vector<Real>{v, v}; };
    p.Density = both(1000);
    p.Viscosity = both(1e-3L);
    p.Conductivity = both(0.5L);
    p.HeatCapacity = both(4000);
    p.Expansion = both(2e-4L);
    p.SurfaceTension = both(0.06L);
    p.LiquidEnthalpy = both(0);
    p.VapourEnthalpy = both(2000);
    p.PrandtlTable = both(0);
    return p;
}

// Tube of 20 mm with the constant medium at a given Re, Ra (through the wall
// temperature) and P = Pe d/L (through the length).
Real constantTube(bool horizontal, Real Re, Real Ra, Real P) {
    const std::array<Pro, 1> medium = {constantMedium()};
    const Real d = 0.02L, Pr = 8, nu = 1e-6L;
    const Real L = Pr * Re * d / P;
    const Real length = horizontal ? d : L;
    const Real dt = Ra * nu * nu / (9.81L * length * length * length * 2e-4L * Pr);
    const Real G = Re * d * 3.1416L * 3600 * 1e-3L / 4;
    return TubeSideCoefficient(medium, kPure, 1, 1, horizontal, 20 + dt, 20, G, d, L).alpha;
}

// A real liquid at bulk Re in a tube of 21 mm, 6 m: the film temperature
// (t + t_w)/2 gives the low-Re forms another Re than the bulk one.
Real liquidTube(const Pro& liquid, bool horizontal, Real t, Real tw, Real Re) {
    const std::array<Pro, 1> medium = {liquid};
    const PropertySet bulk = PureProperties(liquid, t);
    const Real d = 0.021L;
    const Real G = Re * d * 3.1416L * 3600 * bulk.Viscosity / 4;
    return TubeSideCoefficient(medium, kPure, 1, 1, horizontal, tw, t, G, d, 6).alpha;
}

TEST(RegimeBands, TubeSideBulkReynoldsBandStartsFromTheLowReValue) {
    const Pro& water = data().SubstanceTable[1];
    struct Case {
        const char* what;
        bool horizontal;
        Real t, tw;
    };
    const Case cases[] = {
        {"water heated 20 -> 90, horizontal", true, 20, 90},
        {"water heated 20 -> 90, vertical", false, 20, 90},
        {"water heated 20 -> 25 (viscous regime)", true, 20, 25},
        {"water cooled 80 -> 30, vertical", false, 80, 30},
        {"water cooled 60 -> 55", true, 60, 55},
    };
    for (const Case& c : cases)
        expectNoJump([&](Real Re) { return liquidTube(water, c.horizontal, c.t, c.tw, Re); }, 9950,
                     10050, c.what);
    expectNoJump([](Real Re) { return constantTube(true, Re, 1e5L, 1000); }, 9950, 10050,
                 "constant medium, viscous regime");
    expectNoJump([](Real Re) { return constantTube(true, Re, 1e6L, 1000); }, 9950, 10050,
                 "constant medium, viscous-gravitational regime");
}

TEST(RegimeBands, TubeSideLowReynoldsBands) {
    struct Band {
        const char* what;
        Curve alpha;
        Real low, high, margin = 0;
    };
    const Band bands[] = {
        {"Re 2275-2325, laminar to transitional",
         [](Real x) { return constantTube(true, x, 1e5L, 1000); }, 2275, 2325},
        {"Ra 790000-810000, horizontal", [](Real x) { return constantTube(true, 5000, x, 1000); },
         790000, 810000},
        {"Ra 790000-810000, vertical", [](Real x) { return constantTube(false, 1000, x, 1000); },
         790000, 810000},
        {"Re 3450-3550, short tube to turbulent",
         [](Real x) { return constantTube(true, x, 1e6L, 50); }, 3450, 3550},
        {"P 10-20, short tube", [](Real x) { return constantTube(true, 1000, 1e6L, x); }, 10, 20,
         5},
        {"Pe d/L 19.9-20.1, laminar", [](Real x) { return constantTube(true, 1000, 1e5L, x); },
         19.9L, 20.1L},
        {"Re 220-250, vertical free to mixed convection",
         [](Real x) { return constantTube(false, x, 1e8L, 50); }, 220, 250},
        {"Ra 9e8-1.1e9, free convection along the tube",
         [](Real x) { return constantTube(false, 100, x, 50); }, 9e8L, 1.1e9L},
    };
    for (const Band& b : bands) expectNoJump(b.alpha, b.low, b.high, b.what, b.margin);

    // Real water, where the film Re differs from the bulk Re: each band of
    // the film Re is crossed at the bulk Re scaled by the film's rho/mu.
    const Pro& water = data().SubstanceTable[1];
    for (bool horizontal : {true, false})
        for (const auto& [t, tw] :
             {std::pair{20.0L, 90.0L}, std::pair{20.0L, 24.0L}, std::pair{70.0L, 30.0L}}) {
            const PropertySet bulk = PureProperties(water, t);
            const PropertySet film = PureProperties(water, (t + tw) / 2);
            const Real ratio = (film.Density / film.Viscosity) / (bulk.Density / bulk.Viscosity);
            const std::string what = std::string(horizontal ? "horizontal" : "vertical") +
                                     ", water " + std::to_string(static_cast<int>(t)) + " -> " +
                                     std::to_string(static_cast<int>(tw));
            auto alpha = [&](Real Re) { return liquidTube(water, horizontal, t, tw, Re); };
            for (const auto& [low, high] : {std::pair{2275.0L, 2325.0L},
                                            std::pair{3450.0L, 3550.0L}, std::pair{220.0L, 250.0L}})
                if (high / ratio < 9950)
                    expectNoJump(alpha, low / ratio, high / ratio,
                                 what + ", film Re " + std::to_string(static_cast<int>(low)));
        }
}

// A liquid whose viscosity falls tenfold from the medium (0 degC) to the
// film: its film Re passes the crest of the transitional polynomial (Re
// 14715) and its zero (27690) while the bulk flow is still transitional.
TEST(RegimeBands, TransitionalFormHoldsItsCrestBeyondIt) {
    Pro oil = constantMedium();
    oil.PointCount = 3;
    oil.Temperatures = {0, 50, 100};
    for (std::vector<Real>* table :
         {&oil.Density, &oil.Conductivity, &oil.HeatCapacity, &oil.SurfaceTension,
          &oil.LiquidEnthalpy, &oil.VapourEnthalpy, &oil.PrandtlTable})
        table->push_back(table->back());
    oil.Viscosity = {1e-2L, 1e-3L, 1e-3L};
    oil.Expansion = {0, 0, 0};  // no buoyancy: the viscous regime
    Real previous = 0;
    for (Real Re = 500; Re < 10050; Re += 10) {
        const Real alpha = liquidTube(oil, true, 0, 100, Re);
        ASSERT_GT(alpha, 0) << static_cast<double>(Re);
        // The film Re is 10 times the bulk Re: the crest is passed at bulk
        // Re 1472; the coefficient then stays, and rises again in the band.
        EXPECT_GE(alpha, previous * (1 - 1e-12L)) << static_cast<double>(Re);
        previous = alpha;
    }
    expectNoJump([&](Real Re) { return liquidTube(oil, true, 0, 100, Re); }, 9950, 10050,
                 "film ten times less viscous");
}

ShellSideResult shell(const Pro& liquid, bool horizontal, bool staggered, Real t, Real tw,
                      Real Re) {
    const std::array<Pro, 1> medium = {liquid};
    const PropertySet bulk = PureProperties(liquid, t);
    const Real d = 0.025L;
    return ShellSideCoefficient(horizontal, kPure, medium, 1, staggered, tw, t,
                                Re * bulk.Viscosity / d * 3600, d, 4);
}

TEST(RegimeBands, ShellSideBands) {
    const Pro& water = data().SubstanceTable[1];
    const Pro constant = constantMedium();
    for (const Pro* medium : {&water, &constant})
        for (bool horizontal : {true, false})
            for (bool staggered : {true, false}) {
                const std::string what = std::string(medium == &water ? "water" : "constant") +
                                         (horizontal ? ", horizontal" : ", vertical") +
                                         (staggered ? ", staggered" : ", in-line");
                expectNoJump(
                    [&](Real Re) {
                        return shell(*medium, horizontal, staggered, 40, 60, Re).alpha;
                    },
                    190, 210, what + ", Re 190-210");
                expectNoJump(
                    [&](Real Re) {
                        return shell(*medium, horizontal, staggered, 40, 60, Re).alpha;
                    },
                    950, 1050, what + ", Re 950-1050");
            }
    // The case that was broken: a vertical bundle, where free convection is
    // referred to the tube length and forced convection to the diameter. At
    // Re 200 the coefficient lies between its two ends.
    const Real a190 = shell(water, false, true, 40, 60, 190).alpha;
    const Real a200 = shell(water, false, true, 40, 60, 200).alpha;
    const Real a210 = shell(water, false, true, 40, 60, 210).alpha;
    EXPECT_NEAR(static_cast<double>(a200), static_cast<double>((a190 + a210) / 2),
                static_cast<double>(1e-12L * a200));
}

TEST(RegimeBands, CorrectionTables) {
    for (Real ld : {5.0L, 10.0L, 30.0L, 50.0L, 80.0L}) {
        const std::string what = "entrance length at L/d " + std::to_string(static_cast<int>(ld));
        expectNoJump([&](Real Re) { return EntranceLengthFactor(Re, ld); }, 1e4L, 2e4L,
                     what + ", Re 1e4-2e4");
        expectNoJump([&](Real Re) { return EntranceLengthFactor(Re, ld); }, 1e5L, 1e6L,
                     what + ", Re 1e5-1e6");
    }
    for (Real Re : {3e3L, 1e4L, 3e4L, 1e6L, 3e6L}) {
        const std::string what = "entrance length at Re " + std::to_string(static_cast<int>(Re));
        expectNoJump([&](Real ld) { return EntranceLengthFactor(Re, ld); }, 10, 20,
                     what + ", L/d 10-20");
        expectNoJump([&](Real ld) { return EntranceLengthFactor(Re, ld); }, 40, 50,
                     what + ", L/d 40-50");
    }
    // Air in steam: the fit ends at 5 %; across that end and across its
    // start at pure steam.
    expectNoJump([](Real x) { return CondensateFactor(x); }, 4, 5, "air content 4-5 %");
    expectNoJump([](Real x) { return CondensateFactor(x); }, 1e-4L, 2e-4L,
                 "air content 1e-4 - 2e-4 %");
    for (Real x = 0; x <= 20; x += 0.01L) EXPECT_LE(CondensateFactor(x), 1);

    // Rows of a condensing bundle are counted, so the sweep is over n: the
    // factor never rises with n, never exceeds 1 (one row is one tube), and
    // the step past the last fitted row (21) is no larger than the one before.
    for (bool staggered : {true, false}) {
        Real previous = 1;
        for (int n = 1; n <= 60; ++n) {
            const Real e = RowCorrection(n, staggered);
            EXPECT_LE(e, previous) << n;
            previous = e;
        }
        const Real step21 = RowCorrection(20, staggered) - RowCorrection(21, staggered);
        EXPECT_LE(std::fabs(RowCorrection(22, staggered) - RowCorrection(21, staggered)), step21);
    }
}

}  // namespace
}  // namespace vexamo
