#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <functional>
#include <limits>
#include <string>

#include "common/Errors.h"
#include "exchanger/Correlations.h"

namespace vexamo {
namespace {

Real relative(Real a, Real b) { return std::fabs(a - b) / std::fabs(b); }

const SubstanceData& data() {
    static const SubstanceData d = SubstanceData::builtIn();
    return d;
}

// A medium whose properties do not change with temperature, so that the
// governing numbers can be set exactly: Pr = 4000 * 1e-3 / 0.5 = 8.
struct Constants {
    Real density = 1000, viscosity = 1e-3L, conductivity = 0.5L, heatCapacity = 4000,
         expansion = 2e-4L;
    Real surfaceTension = 0.06L, molarMass = 18, latentHeat = 2000;
};

Pro constantMedium(const Constants& c) {
    Pro p;
    p.EnglishName = p.RussianName = "medium";
    p.MolarMass = c.molarMass;
    p.PointCount = 2;
    p.Temperatures = {-100, 500};
    auto both = [](Real v) { return std::vector<Real>{v, v}; };
    p.Density = both(c.density);
    p.Viscosity = both(c.viscosity);
    p.Conductivity = both(c.conductivity);
    p.HeatCapacity = both(c.heatCapacity);
    p.Expansion = both(c.expansion);
    p.SurfaceTension = both(c.surfaceTension);
    p.LiquidEnthalpy = both(0);
    p.VapourEnthalpy = both(c.latentHeat);
    p.PrandtlTable = both(0);
    return p;
}

const std::array<Real, 7> kPure = {100};

// Tube side of a constant medium in a tube of 20 mm with the governing numbers
// given: bulk Re, Ra (through the wall temperature), P = Pe d/L (through L).
struct TubeCase {
    Constants c;
    bool horizontal = true;
    Real d = 0.02L;

    Real Pr() const { return c.heatCapacity * c.viscosity / c.conductivity; }
    TubeSideResult at(Real Re, Real Ra, Real P) const {
        const std::array<Pro, 1> medium = {constantMedium(c)};
        const Real L = Pr() * Re * d / P;
        const Real length = horizontal ? d : L;
        const Real nu = c.viscosity / c.density;
        const Real dt =
            Ra == 0 ? 5 : Ra * nu * nu / (9.81L * length * length * length * c.expansion * Pr());
        const Real G = Re * d * 3.1416L * 3600 * c.viscosity / 4;
        return TubeSideCoefficient(medium, kPure, 1, 1, horizontal, 20 + dt, 20, G, d, L);
    }
};

// Shell side of a constant medium across tubes of 25 mm, 4 m long, wall 20 K
// warmer than the medium.
ShellSideResult shellAt(Real Re, bool horizontal, Real dt = 20, bool staggered = true) {
    const Constants c;
    const std::array<Pro, 1> medium = {constantMedium(c)};
    const Real d = 0.025L;
    return ShellSideCoefficient(horizontal, kPure, medium, 1, staggered, 40 + dt, 40,
                                Re * c.viscosity / d * 3600, d, 4);
}

void expectContinuous(const std::function<Real(Real)>& alpha, Real boundary,
                      const std::string& what) {
    const Real below = alpha(boundary * (1 - 1e-10L));
    const Real above = alpha(boundary * (1 + 1e-10L));
    EXPECT_LT(relative(below, above), 1e-7L)
        << what << " at " << static_cast<double>(boundary) << ": " << static_cast<double>(below)
        << " / " << static_cast<double>(above);
}

TEST(TubeSideCoefficient, BlendsAreHalfWayAtTheMiddleOfTheirBands) {
    const TubeCase tube;
    // Re 10000: half the turbulent form at 10050, half the transitional one.
    const Real viscous = 1e5L, longTube = 1000;
    EXPECT_LT(
        relative(
            tube.at(10000, viscous, longTube).alpha,
            (tube.at(10050, viscous, longTube).alpha + tube.at(9950, viscous, longTube).alpha) / 2),
        1e-12L);
    // Re 5000, horizontal, Ra 800000: half viscous, half viscous-gravitational
    // (neither form depends on Ra here).
    EXPECT_LT(
        relative(
            tube.at(5000, 800000, longTube).alpha,
            (tube.at(5000, 790000, longTube).alpha + tube.at(5000, 810000, longTube).alpha) / 2),
        1e-12L);
    // Pe d/L = 20: half 3.66, half the developing laminar form. P is set
    // through the heat capacity so that the tube stays the same.
    auto laminarWithP = [](Real P) {
        TubeCase t;
        t.c.expansion = 0;  // Ra = 0: viscous regime
        t.c.heatCapacity =
            P * 200 * t.c.conductivity / (t.c.viscosity * 1000);  // L/d = 200, Re 1000
        return t.at(1000, 0, P).alpha;
    };
    const Real alpha366 = 3.66L * 0.5L / 0.02L;
    EXPECT_LT(relative(laminarWithP(19.5L), alpha366), 1e-15L);
    // The developing form grows as (Pe d/L)^(1/3): its value at P = 20 from P = 30.
    const Real developing20 = laminarWithP(30) * std::cbrt(20.0L / 30.0L);
    EXPECT_LT(relative(laminarWithP(20), (alpha366 + developing20) / 2), 1e-12L);
}

TEST(TubeSideCoefficient, EveryBlendIsContinuousAtBothEndsOfItsBand) {
    TubeCase h, v;
    v.horizontal = false;
    struct Band {
        const char* what;
        std::function<Real(Real)> alpha;
        Real low, high;
    };
    const Band bands[] = {
        {"Re", [&](Real x) { return h.at(x, 1e5L, 1000).alpha; }, 9950, 10050},
        {"Ra horizontal", [&](Real x) { return h.at(5000, x, 1000).alpha; }, 790000, 810000},
        {"Ra vertical", [&](Real x) { return v.at(1000, x, 1000).alpha; }, 790000, 810000},
        {"Re laminar", [&](Real x) { return h.at(x, 1e5L, 1000).alpha; }, 2275, 2325},
        {"Pe d/L", [&](Real x) { return h.at(1000, 1e5L, x).alpha; }, 19.9L, 20.1L},
        {"Re short tube", [&](Real x) { return h.at(x, 1e6L, 50).alpha; }, 3450, 3550},
        {"P short tube", [&](Real x) { return h.at(1000, 1e6L, x).alpha; }, 10, 20},
        {"Re vertical", [&](Real x) { return v.at(x, 1e8L, 50).alpha; }, 220, 250},
        {"Ra free convection", [&](Real x) { return v.at(100, x, 50).alpha; }, 9e8L, 1.1e9L},
    };
    for (const Band& b : bands) {
        expectContinuous(b.alpha, b.low, b.what);
        expectContinuous(b.alpha, b.high, b.what);
    }
}

TEST(TubeSideCoefficient, InTheReynoldsBandTheOutputsAreThoseOfTheMeanState) {
    const std::array<Pro, 1> water = {data().SubstanceTable[1]};
    const PropertySet bulk = PureProperties(water[0], 20);
    auto at = [&](Real Re) {
        const Real G = Re * 0.021L * 3.1416L * 3600 * bulk.Viscosity / 4;
        return TubeSideCoefficient(water, kPure, 1, 1, true, 60, 20, G, 0.021L, 6);
    };
    const TubeSideResult laminar = at(9000), band = at(10000), turbulent = at(10100);
    EXPECT_EQ(band.rayleigh, laminar.rayleigh);
    EXPECT_EQ(band.prandtlRatio, laminar.prandtlRatio);
    EXPECT_EQ(band.viscosityRatio, laminar.viscosityRatio);
    EXPECT_LT(band.viscosityRatio, turbulent.viscosityRatio);  // (t + t_w)/2 is nearer the wall
}

TEST(TubeSideCoefficient, AFilmFarLessViscousThanTheMediumKeepsTheTransitionalCrest) {
    // Viscosity falling a hundredfold between the medium and the mean film:
    // the film Re is 900000, far past the zero of the transitional
    // polynomial (27690). The form keeps its crest, at Re 0.006507 / (2 *
    // 2.211e-7): Nu = Pr^0.43 (0.006507^2 / (4 * 2.211e-7) - 10.658).
    Pro oil = constantMedium({});
    oil.PointCount = 3;
    oil.Temperatures = {0, 50, 100};
    for (std::vector<Real>* table :
         {&oil.Density, &oil.Conductivity, &oil.HeatCapacity, &oil.SurfaceTension,
          &oil.LiquidEnthalpy, &oil.VapourEnthalpy, &oil.PrandtlTable})
        table->push_back(table->back());
    oil.Viscosity = {1e-1L, 1e-3L, 1e-3L};
    oil.Expansion = {0, 0, 0};
    const std::array<Pro, 1> medium = {oil};
    const Real G = 9000 * 0.02L * 3.1416L * 3600 * 1e-1L / 4;
    const Real crest = 0.006507L * 0.006507L / (4 * 2.211e-7L) - 10.658L;
    const Real expected = std::pow(8.0L, 0.43L) * crest * 0.5L / 0.02L;  // Pr 8 at the film
    EXPECT_LT(relative(TubeSideCoefficient(medium, kPure, 1, 1, true, 100, 0, G, 0.02L, 4).alpha,
                       expected),
              1e-15L);
}

TEST(TubeSideCoefficient, WaterAtOneMetrePerSecondAgreesWithTextbookCorrelations) {
    const std::array<Pro, 1> water = {data().SubstanceTable[1]};
    const Real d = 0.021L, t = 40;
    const PropertySet p = PureProperties(water[0], t);
    const Real G = 1 * p.Density * 3.1416L * d * d / 4 * 3600;  // 1 m/s
    const TubeSideResult r = TubeSideCoefficient(water, kPure, 1, 1, true, t + 5, t, G, d, 6);
    const Real Re = p.Density * d / p.Viscosity;  // about 32000
    const Real dittusBoelter =
        0.023L * std::pow(Re, 0.8L) * std::pow(p.Prandtl, 0.4L) * p.Conductivity / d;
    const Real f = std::pow(0.79L * std::log(Re) - 1.64L, -2);
    const Real gnielinski = (f / 8) * (Re - 1000) * p.Prandtl /
                            (1 + 12.7L * std::sqrt(f / 8) * (std::pow(p.Prandtl, 2.0L / 3) - 1)) *
                            p.Conductivity / d;
    EXPECT_GT(r.alpha, 3000);
    EXPECT_LT(r.alpha, 8000);
    EXPECT_LT(relative(r.alpha, dittusBoelter), 0.15L) << static_cast<double>(r.alpha);
    EXPECT_LT(relative(r.alpha, gnielinski), 0.15L) << static_cast<double>(gnielinski);
}

TEST(ShellSideCoefficient, BlendsAndFreeConvection) {
    for (Real Re : {950.0L, 1050.0L})
        for (bool staggered : {true, false})
            expectContinuous([&](Real x) { return shellAt(x, true, 20, staggered).alpha; }, Re,
                             "bundle Re");
    for (bool horizontal : {true, false}) {
        expectContinuous([&](Real x) { return shellAt(x, horizontal).alpha; }, 190,
                         "free convection Re 190");
        expectContinuous([&](Real x) { return shellAt(x, horizontal).alpha; }, 210, "Re 210");
    }
    // Vertical bundle at 190 <= Re < 210: the coefficients are blended, free
    // convection referred to the tube length (4 m), forced convection to the
    // diameter. Half-way at Re 200.
    EXPECT_LT(relative(shellAt(200, false).alpha,
                       (shellAt(190 * (1 - 1e-15L), false).alpha + shellAt(210, false).alpha) / 2),
              1e-12L);
}

TEST(ShellSideCoefficient, FreeConvectionWithoutDataEndsTheCalculation) {
    try {
        (void)shellAt(100, false, 1e-12L);  // Gr*Pr about 1
        FAIL() << "no error";
    } catch (const CalculationAborted& e) {
        EXPECT_STREQ(e.what(), "Нет данных пpи Gr*Pr < 1E+03");
    }
    // A cooled medium (wall colder than the medium) has the buoyancy of the
    // same temperature difference: the constant medium gives the same film.
    for (bool horizontal : {true, false})
        EXPECT_LT(relative(shellAt(100, horizontal, -5).alpha, shellAt(100, horizontal, 5).alpha),
                  1e-15L);
    EXPECT_NO_THROW((void)shellAt(300, true, -5));  // forced convection needs no Gr
}

TEST(CondensationCoefficient, HorizontalTubeSpaceTakesOnlyWater) {
    const std::array<Pro, 2> waterEthanol = {data().SubstanceTable[1], data().SubstanceTable[0]};
    const std::array<Real, 7> mix = {50, 50};
    EXPECT_GT(CondensationCoefficient(true, 1, waterEthanol, kPure, 95, 100, 0.021L, 6), 0);
    const std::string waterOnly =
        "В данном случае в тpубном пpостpанстве может быть задана толь- \r\n ко вода поскольку пpи "
        "горизонтальном pасположении тpуб фоpмула для \r\n pасчета коэффициента теплоотдачи для "
        "дpугих веществ "
        "отсутствует. ";
    for (int count : {1, 2}) {
        const std::array<Pro, 2> others = {data().SubstanceTable[count == 1 ? 0 : 1],
                                           data().SubstanceTable[0]};
        try {
            (void)CondensationCoefficient(true, count, others, mix, 95, 100, 0.021L, 6);
            FAIL() << "no error for " << count << " components";
        } catch (const CalculationAborted& e) {
            EXPECT_EQ(e.what(), waterOnly);
        }
    }
}

// Film theory of a horizontal tube: alpha = 0.728 (rho^2 g r lambda^3 /
// (mu d dt))^(1/4), with Kern's n^(-1/6) for a column of n tubes.
TEST(BundleCondensationCoefficient, SteamOnAHorizontalBundleAgreesWithFilmTheory) {
    const std::array<Pro, 1> water = {data().SubstanceTable[1]};
    const Real d = 0.025L, q = 30000;
    const PropertySet p = PureProperties(water[0], 100);
    for (int n : {1, 10}) {
        const Real alpha =
            BundleCondensationCoefficient(n, true, true, kPure, water, 1, 100, 100, d, 6) *
            std::pow(q, -1.0L / 3);
        if (n == 10) {
            EXPECT_GT(alpha, 5000);
            EXPECT_LT(alpha, 15000);
        }
        const Real dt = q / alpha;
        const Real nusselt =
            0.728L * std::pow(p.Density * p.Density * 9.81L * p.LatentHeat * 1000 *
                                  std::pow(p.Conductivity, 3) / (p.Viscosity * d * dt),
                              0.25L);
        EXPECT_LT(relative(alpha, nusselt * std::pow(static_cast<Real>(n), -1.0L / 6)),
                  n == 1 ? 0.2L : 0.05L)
            << n;
    }
}

TEST(BoilingCoefficient, FactorIsPoint825AtTwiceTheVapourDensity) {
    // rho = 2 rho_v: the saturated vapour of M = 44.8 at 0 degC weighs 2 kg/m3
    // under p = 2 R T / M.
    Constants c;
    c.molarMass = 44.8L;
    c.density = 4;
    const std::array<Pro, 1> medium = {constantMedium(c)};
    const Real p = 2 * 8314.46L * 273.15L / 44.8L;
    EXPECT_LT(relative(SaturatedVapourDensity(p, 44.8L, 0), 2), 1e-18L);
    const Real group = std::pow(
        c.conductivity * c.conductivity * c.density / (c.viscosity * c.surfaceTension * 273),
        1.0L / 3);
    EXPECT_LT(relative(BoilingCoefficient(1, medium, kPure, 0, p) / group, 0.825L), 1e-15L);
}

TEST(BoilingCoefficient, VapourDensityAtTheMediumsOwnPressure) {
    // Ideal-gas vapour: steam at 100 degC and 101 325 Pa weighs 0.5883 kg/m3
    // (IAPWS-IF97 saturated vapour: 0.5982; the ideal gas reads 1.7 % low).
    EXPECT_NEAR(static_cast<double>(SaturatedVapourDensity(101325, 18.015L, 100)), 0.5883, 1e-4);
    EXPECT_NEAR(static_cast<double>(SaturatedVapourDensity(101325, 18.015L, 100) / 0.5982L), 0.983,
                0.002);

    // The same liquid boiling at a higher pressure has a denser vapour, so
    // b = 0.075 + 0.75 (rho/rho_v - 1)^(-2/3) and with it the coefficient
    // grow; with the liquid unchanged, B goes exactly with b.
    Constants c;
    c.density = 900;
    const std::array<Pro, 1> medium = {constantMedium(c)};
    const Real t = 150;
    const auto b = [&](Real p) {
        const Real rhoV = p * c.molarMass / (8314.46L * (t + 273.15L));
        return 0.075L + 0.75L * std::pow(c.density / rhoV - 1, -2.0L / 3);
    };
    Real previous = 0;
    for (Real p : {0.5e5L, 1e5L, 2e5L, 5e5L, 10e5L, 20e5L}) {
        const Real B = BoilingCoefficient(1, medium, kPure, t, p);
        EXPECT_GT(B, previous) << p;
        previous = B;
        EXPECT_LT(relative(B / BoilingCoefficient(1, medium, kPure, t, 1e5L), b(p) / b(1e5L)),
                  1e-15L)
            << p;
    }

    // A boiling medium without a pressure is refused, not evaluated.
    for (Real p : {0.0L, -1.0L, std::numeric_limits<Real>::quiet_NaN()})
        EXPECT_THROW(BoilingCoefficient(1, medium, kPure, t, p), CalculationAborted);
}

}  // namespace
}  // namespace vexamo
