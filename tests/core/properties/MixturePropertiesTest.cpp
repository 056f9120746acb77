#include "properties/MixtureProperties.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>

#include "common/Errors.h"

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
    EXPECT_EQ(mix.MolarMass, water.MolarMass);
}

TEST(MixtureProperties, RulesOnConstructedComponents) {
    PropertySet a, b;
    a.MolarMass = 20, a.Density = 800, a.Viscosity = 1e-3L, a.SurfaceTension = 0.0256L, a.Conductivity = 0.2L;
    a.HeatCapacity = 2000, a.Expansion = 1e-3L, a.LatentHeat = 900;
    b = a;
    b.MolarMass = 60, b.Viscosity = 3e-3L, b.Conductivity = 0.6L, b.HeatCapacity = 4000;
    const PropertySet comps[] = {a, b};
    const Real c[] = {75, 25};
    PropertySet mix;
    MixtureProperties(mix, comps, c, 2);
    // M = 0.75*20 + 0.25*60 = 30; weight fractions 0.5 and 0.5
    EXPECT_NEAR(static_cast<double>(mix.MolarMass), 30, 1e-15);
    // equal densities: volume fractions equal the weight fractions (0.5, 0.5)
    EXPECT_NEAR(static_cast<double>(mix.Density), 800, 1e-12);
    // mu = rho / sum(phi rho / mu) = 1 / (0.5/1e-3 + 0.5/3e-3) = 1.5e-3
    EXPECT_NEAR(static_cast<double>(mix.Viscosity), 1.5e-3, 1e-15);
    // lambda = 0.25*0.2 + 0.25*0.6 + 2 * 0.25 * 2/(1/0.2 + 1/0.6) = 0.35
    EXPECT_NEAR(static_cast<double>(mix.Conductivity), 0.35, 1e-15);
    // sigma: (800 * (0.75 + 0.25) * 0.4 / 800)^4 = 0.0256
    EXPECT_NEAR(static_cast<double>(mix.SurfaceTension), 0.0256, 1e-15);
    EXPECT_NEAR(static_cast<double>(mix.HeatCapacity), 2500, 1e-12);
    EXPECT_EQ(mix.Prandtl, mix.HeatCapacity * mix.Viscosity / mix.Conductivity);

    // Not normalised: a composition adding up to 50 % halves M, cp, beta, r and Pr,
    // takes sigma to the fourth power, and leaves rho, mu and lambda.
    const Real half[] = {37.5L, 12.5L};
    PropertySet h;
    MixtureProperties(h, comps, half, 2);
    EXPECT_NEAR(static_cast<double>(h.MolarMass / mix.MolarMass), 0.5, 1e-15);
    EXPECT_NEAR(static_cast<double>(h.HeatCapacity / mix.HeatCapacity), 0.5, 1e-15);
    EXPECT_NEAR(static_cast<double>(h.LatentHeat / mix.LatentHeat), 0.5, 1e-15);
    EXPECT_NEAR(static_cast<double>(h.Expansion / mix.Expansion), 0.5, 1e-15);
    EXPECT_NEAR(static_cast<double>(h.Prandtl / mix.Prandtl), 0.5, 1e-15);
    EXPECT_NEAR(static_cast<double>(h.SurfaceTension / mix.SurfaceTension), 0.0625, 1e-15);
    EXPECT_NEAR(static_cast<double>(h.Density), static_cast<double>(mix.Density), 1e-12);
    EXPECT_NEAR(static_cast<double>(h.Viscosity), static_cast<double>(mix.Viscosity), 1e-18);
    EXPECT_NEAR(static_cast<double>(h.Conductivity), static_cast<double>(mix.Conductivity), 1e-15);

    PropertySet bad = b;
    bad.Conductivity = 0;
    const PropertySet withBad[] = {a, bad};
    EXPECT_THROW(MixtureProperties(mix, withBad, c, 2), CalculationAborted);
    EXPECT_THROW(MixtureProperties(mix, comps, c, 7), CalculationAborted);
}

// A times its computed inverse is the unit matrix.
void expectInverse(const Matrix_& original, const Matrix_& inverse, Real tolerance) {
    const std::size_t n = original.size();
    for (std::size_t i = 0; i < n; ++i)
        for (std::size_t j = 0; j < n; ++j) {
            Real s = 0;
            for (std::size_t k = 0; k < n; ++k) s += original[i][k] * inverse[k][j];
            EXPECT_NEAR(static_cast<double>(s), i == j ? 1.0 : 0.0, static_cast<double>(tolerance)) << i << "," << j;
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
        Matrix_ a(static_cast<std::size_t>(size), std::vector<Real>(static_cast<std::size_t>(size)));
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
