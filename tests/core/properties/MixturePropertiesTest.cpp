#include <gtest/gtest.h>

#include <cmath>
#include <random>

#include "common/Errors.h"
#include "properties/MixtureProperties.h"

namespace vexamo {
namespace {

const SubstanceData& data() {
    static const SubstanceData d = SubstanceData::builtIn();
    return d;
}

Real relative(Real a, Real b) { return std::fabs(a - b) / std::fabs(b); }

TEST(MixtureProperties, OneComponentIsThePureSubstance) {
    const PropertySet water = PureProperties(data().SubstanceTable[1], 35);
    PropertySet mix;
    mix.VapourEnthalpyValue = 1234;  // not formed by the rules: left as it was
    const Real c[] = {100};
    MixtureProperties(mix, std::span(&water, 1), c, 1);
    EXPECT_EQ(mix.VapourEnthalpyValue, 1234);
    EXPECT_LT(relative(mix.Density, water.Density), 1e-17L);
    EXPECT_LT(relative(mix.Viscosity, water.Viscosity), 1e-17L);
    EXPECT_LT(relative(mix.SurfaceTension, water.SurfaceTension), 1e-15L);
    EXPECT_LT(relative(mix.Conductivity, water.Conductivity), 1e-17L);
    EXPECT_LT(relative(mix.HeatCapacity, water.HeatCapacity), 1e-17L);
    EXPECT_LT(relative(mix.Prandtl, water.Prandtl), 1e-17L);
    EXPECT_LT(relative(mix.MolarMass, water.MolarMass), 1e-18L);
}

TEST(MixtureProperties, RulesOnConstructedComponents) {
    PropertySet a, b;
    a.MolarMass = 20, a.Density = 800, a.Viscosity = 1e-3L, a.SurfaceTension = 0.0256L,
    a.Conductivity = 0.2L;
    a.HeatCapacity = 2000, a.Expansion = 1e-3L, a.LatentHeat = 900;
    b = a;
    b.MolarMass = 60, b.Viscosity = 3e-3L, b.Conductivity = 0.6L, b.HeatCapacity = 4000;
    const PropertySet comps[] = {a, b};
    const Real c[] = {75, 25};  // mass per cent
    PropertySet mix;
    MixtureProperties(mix, comps, c, 2);
    // 1 kg holds 0.75/20 + 0.25/60 = 1/24 kmol: M = 24 kg/kmol
    EXPECT_NEAR(static_cast<double>(mix.MolarMass), 24, 1e-15);
    // equal densities: volume fractions equal the weight fractions (0.75, 0.25)
    EXPECT_NEAR(static_cast<double>(mix.Density), 800, 1e-12);
    // mu = rho / sum(phi rho / mu) = 1 / (0.75/1e-3 + 0.25/3e-3) = 1.2e-3
    EXPECT_NEAR(static_cast<double>(mix.Viscosity), 1.2e-3, 1e-15);
    // lambda = 0.5625*0.2 + 0.0625*0.6 + 2 * 0.1875 * 2/(1/0.2 + 1/0.6) = 0.2625
    EXPECT_NEAR(static_cast<double>(mix.Conductivity), 0.2625, 1e-15);
    // sigma: (800 * (0.75 + 0.25) * 0.4 / 800)^4 = 0.0256
    EXPECT_NEAR(static_cast<double>(mix.SurfaceTension), 0.0256, 1e-15);
    // cp per kilogram by the mass fractions: 0.75*2000 + 0.25*4000
    EXPECT_NEAR(static_cast<double>(mix.HeatCapacity), 2500, 1e-12);
    EXPECT_EQ(mix.Prandtl, mix.HeatCapacity * mix.Viscosity / mix.Conductivity);

    // Not normalised: a composition adding up to 50 % is taken as 0.375 and
    // 0.125 kg per kg. M doubles, rho, mu, cp, beta and r halve, the volume
    // fractions and with them lambda stay, sigma goes with (1/2 * 1/2)^4 and
    // Pr with 1/4.
    const Real half[] = {37.5L, 12.5L};
    PropertySet h;
    MixtureProperties(h, comps, half, 2);
    EXPECT_NEAR(static_cast<double>(h.MolarMass / mix.MolarMass), 2, 1e-15);
    EXPECT_NEAR(static_cast<double>(h.Density / mix.Density), 0.5, 1e-15);
    EXPECT_NEAR(static_cast<double>(h.Viscosity / mix.Viscosity), 0.5, 1e-15);
    EXPECT_NEAR(static_cast<double>(h.HeatCapacity / mix.HeatCapacity), 0.5, 1e-15);
    EXPECT_NEAR(static_cast<double>(h.LatentHeat / mix.LatentHeat), 0.5, 1e-15);
    EXPECT_NEAR(static_cast<double>(h.Expansion / mix.Expansion), 0.5, 1e-15);
    EXPECT_NEAR(static_cast<double>(h.Prandtl / mix.Prandtl), 0.25, 1e-15);
    EXPECT_NEAR(static_cast<double>(h.SurfaceTension / mix.SurfaceTension), 1.0 / 256, 1e-15);
    EXPECT_NEAR(static_cast<double>(h.Conductivity), static_cast<double>(mix.Conductivity), 1e-15);

    PropertySet bad = b;
    bad.Conductivity = 0;
    const PropertySet withBad[] = {a, bad};
    EXPECT_THROW(MixtureProperties(mix, withBad, c, 2), CalculationAborted);
    EXPECT_THROW(MixtureProperties(mix, comps, c, 7), CalculationAborted);
}

// The per cents of a stream are mass per cents. 40 % ethanol in water by
// mass is a mole fraction of (40/46.069) / (40/46.069 + 60/18.015) = 0.2068,
// so the mean molar mass is 0.2068*46.069 + 0.7932*18.015 = 23.82 kg/kmol;
// averaging the molar masses with the mass fractions would give 29.24.
TEST(MixtureProperties, PerCentsAreMassFractions) {
    const Pro& ethanol = data().SubstanceTable[0];
    const Pro& water = data().SubstanceTable[1];
    const Real t = 40;
    const PropertySet comps[] = {PureProperties(ethanol, t), PureProperties(water, t)};
    const Real c[] = {40, 60};
    PropertySet mix;
    MixtureProperties(mix, comps, c, 2);
    const Real nE = 40 / ethanol.MolarMass, nW = 60 / water.MolarMass;
    const Real xE = nE / (nE + nW);
    EXPECT_NEAR(static_cast<double>(xE), 0.2068, 1e-4);
    EXPECT_LT(relative(mix.MolarMass, xE * ethanol.MolarMass + (1 - xE) * water.MolarMass), 1e-17L);
    EXPECT_NEAR(static_cast<double>(mix.MolarMass), 23.82, 0.01);
    // the mass of ethanol in a kilogram is 0.40 kg whatever the molar masses:
    // density, heat capacity and latent heat lie 40 % of the way from water's
    // value to ethanol's
    EXPECT_LT(relative(mix.Density, 0.4L * comps[0].Density + 0.6L * comps[1].Density), 1e-17L);
    EXPECT_LT(
        relative(mix.HeatCapacity, 0.4L * comps[0].HeatCapacity + 0.6L * comps[1].HeatCapacity),
        1e-17L);
    EXPECT_LT(relative(mix.LatentHeat, 0.4L * comps[0].LatentHeat + 0.6L * comps[1].LatentHeat),
              1e-17L);
    // conductivity and viscosity between those of the components
    EXPECT_GT(mix.Conductivity, std::fmin(comps[0].Conductivity, comps[1].Conductivity));
    EXPECT_LT(mix.Conductivity, std::fmax(comps[0].Conductivity, comps[1].Conductivity));
    EXPECT_GT(mix.Viscosity, std::fmin(comps[0].Viscosity, comps[1].Viscosity));
    EXPECT_LT(mix.Viscosity, std::fmax(comps[0].Viscosity, comps[1].Viscosity));
}

// A times its computed inverse is the unit matrix.
void expectInverse(const Matrix_& original, const Matrix_& inverse, Real tolerance) {
    const std::size_t n = original.size();
    for (std::size_t i = 0; i < n; ++i)
        for (std::size_t j = 0; j < n; ++j) {
            Real s = 0;
            for (std::size_t k = 0; k < n; ++k) s += original[i][k] * inverse[k][j];
            EXPECT_NEAR(static_cast<double>(s), i == j ? 1.0 : 0.0, static_cast<double>(tolerance))
                << i << "," << j;
        }
}

TEST(InvertMatrix, SmallOffDiagonalAndRandomMatrices) {
    Matrix_ one{{4}};
    InvertMatrix(0, one, 1e-8L);
    EXPECT_EQ(one[0][0], 0.25L);

    // the largest element off the diagonal: both exchanges and the unscrambling
    const Matrix_ m{{0, 2, 1}, {1, 0, 7}, {3, 1, 0}};
    Matrix_ inv = m;
    InvertMatrix(2, inv, 1e-8L);
    expectInverse(m, inv, 1e-17L);

    std::mt19937 rng(7);
    std::uniform_real_distribution<double> u(-5, 5);
    for (int size = 2; size <= 7; ++size) {
        Matrix_ a(static_cast<std::size_t>(size),
                  std::vector<Real>(static_cast<std::size_t>(size)));
        for (auto& row : a)
            for (auto& v : row) v = u(rng);
        Matrix_ b = a;
        InvertMatrix(size - 1, b, 1e-8L);
        expectInverse(a, b, 1e-13L);
    }
}

TEST(InvertMatrix, SingularMatricesEndTheCalculation) {
    Matrix_ zeroRow{{1, 2}, {0, 0}};
    try {
        InvertMatrix(1, zeroRow, 1e-8L);
        ADD_FAILURE();
    } catch (const CalculationAborted& e) {
        EXPECT_STREQ(e.what(), "matrix is singular");
    }
    Matrix_ dependent{{1, 2, 3}, {2, 4, 6}, {0, 1, 1}};
    EXPECT_THROW(InvertMatrix(2, dependent, 1e-8L), CalculationAborted);
    Matrix_ tooSmall{{1, 2}};
    EXPECT_THROW(InvertMatrix(1, tooSmall, 1e-8L), CalculationAborted);
}

}  // namespace
}  // namespace vexamo
