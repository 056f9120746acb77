#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <random>

#include "equilibrium/ActivityModels.h"
#include "equilibrium/EquilibriumCalculations.h"
#include "equilibrium/ParameterFitting.h"
#include "equilibrium/UnifacTables.h"

namespace vexamo {
namespace {

using Values = std::array<Real, kMaxGroups>;

// Random compositions of n components, each fraction above 0.01.
std::vector<Values> compositions(int n, int count) {
    std::mt19937 random(7);
    std::uniform_real_distribution<double> share(0.01, 1.0);
    std::vector<Values> result;
    for (int c = 0; c < count; ++c) {
        Values x{};
        Real sum = 0;
        for (int i = 0; i < n; ++i) sum += x[static_cast<std::size_t>(i)] = share(random);
        for (int i = 0; i < n; ++i) x[static_cast<std::size_t>(i)] /= sum;
        result.push_back(x);
    }
    return result;
}

void expectAllOne(const Values& gamma, int n, Real tolerance = 1e-17L) {
    for (int i = 0; i < n; ++i)
        EXPECT_NEAR(gamma[static_cast<std::size_t>(i)], 1.0L, tolerance) << "component " << i;
}

TEST(ActivityModels, ZeroParametersGiveUnitCoefficients) {
    const Values equalVolumes{0.05L, 0.05L, 0.05L, 0.05L};
    const Values volumes{0.058L, 0.018L, 0.040L, 0.098L};
    const Matrix6 zero{};
    Matrix6 alpha{};
    for (auto& row : alpha)
        for (Real& a : row) a = 0.47L;
    Matrix11 zero11{};
    const Values q{2.588L, 1.4L, 1.432L, 3.116L};
    for (const Values& x : compositions(4, 20)) {
        Values gamma{};
        WilsonActivity(4, x, zero, 1.2L, equalVolumes, gamma);  // zero parameters, equal volumes
        expectAllOne(gamma, 4);
        NrtlActivity(4, x, alpha, zero, 1.2L, volumes,
                     gamma);  // g = 0: whatever alpha and the volumes
        expectAllOne(gamma, 4);
        ResidualActivity(4, q, x, zero11, 1.2L, gamma);  // zero interaction
        expectAllOne(gamma, 4, 1e-16L);
        const Values same{1.7L, 1.7L, 1.7L, 1.7L}, sameQ{1.3L, 1.3L, 1.3L, 1.3L};
        CombinatorialActivity(4, sameQ, same, x, gamma);  // equal r and equal q
        expectAllOne(gamma, 4, 1e-16L);
    }
    // Wilson with zero parameters but unequal volumes is not ideal: it is the
    // Flory-Huggins form gamma_i = (V_i / Vm) exp(1 - V_i / Vm), Vm = sum x V.
    const Values x{0.2L, 0.5L, 0.3L};
    Values gamma{};
    WilsonActivity(3, x, zero, 1.2L, volumes, gamma);
    const Real Vm = 0.2L * volumes[0] + 0.5L * volumes[1] + 0.3L * volumes[2];
    for (std::size_t i = 0; i < 3; ++i)
        EXPECT_NEAR(gamma[i], volumes[i] / Vm * std::exp(1 - volumes[i] / Vm), 1e-17L);
}

TEST(ActivityModels, PureComponentsHaveUnitCoefficients) {
    Matrix6 a{};
    a[0][1] = 0.55L, a[1][0] = 1.77L, a[0][2] = -0.3L, a[2][0] = 0.9L, a[1][2] = 0.4L,
    a[2][1] = 0.2L;
    const Values volumes{0.058L, 0.018L, 0.040L};
    for (std::size_t i = 0; i < 3; ++i) {
        Values x{}, gamma{};
        x[i] = 1;
        WilsonActivity(3, x, a, 1.25L, volumes, gamma);
        EXPECT_NEAR(gamma[i], 1.0L, 1e-18L);
        Matrix6 alpha{};
        for (auto& row : alpha)
            for (Real& value : row) value = 0.3L;
        NrtlActivity(3, x, alpha, a, 1.25L, volumes, gamma);
        EXPECT_NEAR(gamma[i], 1.0L, 1e-18L);
    }
}

TEST(ActivityModels, ComponentGroupSums) {
    GroupBlock block;
    block.GroupCount = 3;
    block.Occurrences = {2, 1, 1};
    block.VolumeR = {0.9011L, 0.6744L, 1.002L};
    block.SurfaceQ = {0.848L, 0.54L, 0.88L};
    Real r = 0, q = 0;
    ComponentGroupSums(block, r, q);
    EXPECT_EQ(block.PureFractions[0], 0.5L);
    EXPECT_EQ(block.PureFractions[1], 0.25L);
    EXPECT_EQ(block.PureFractions[2], 0.25L);
    // ethyl acetate: 2 CH3 + CH2 + COO (standard r 3.4786, q 3.116)
    EXPECT_NEAR(r, 3.4786L, 1e-15L);
    EXPECT_NEAR(q, 3.116L, 1e-15L);
}

// The binary forms of the objectives are the general models for two components.
TEST(ActivityModels, BinaryObjectiveFormsAreTheGeneralModels) {
    std::mt19937 random(11);
    std::uniform_real_distribution<double> parameter(-1.0, 2.5), fraction(0.02, 0.98),
        alpha(0.1, 1.5);
    for (int trial = 0; trial < 50; ++trial) {
        const Real A12 = parameter(random), A21 = parameter(random), a = alpha(random);
        const Real theta = 1.2L + trial * 0.004L, x1 = fraction(random);
        const Values x{x1, 1 - x1}, volumes{0.0586L, 0.0187L};
        Values gamma{};
        Matrix6 m{};
        m[0][1] = A12, m[1][0] = A21;
        WilsonActivity(2, x, m, theta, volumes, gamma);
        EXPECT_NEAR(wilsonGamma1(x1, A12, A21, theta, volumes[0], volumes[1]) / gamma[0], 1.0L,
                    1e-16L);
        Matrix6 alphas{};
        alphas[0][1] = alphas[1][0] = a;
        NrtlActivity(2, x, alphas, m, theta, volumes, gamma);
        EXPECT_NEAR(nrtlGamma1(x1, A12, A21, a, theta, volumes[0], volumes[1]) / gamma[0], 1.0L,
                    1e-16L);
        Matrix11 u{};
        u[0][1] = A12, u[1][0] = A21;
        const Values q{2.588L, 1.4L}, r{2.5755L, 0.92L};
        Values combinatorial{};
        UniquacActivity(2, x, u, theta, q, r, combinatorial, gamma);
        EXPECT_NEAR(uniquacGamma1(x1, A12, A21, theta, r[0], r[1], q[0], q[1]) / gamma[0], 1.0L,
                    1e-16L);
    }
}

// The UNIFAC description of the built-in substances: every block with its
// fractions and own interaction matrix, the mixture list of `members`.
struct Unifac {
    std::array<GroupBlock, 6> blocks{};
    Values q{}, r{};
    GroupList groups;
    Matrix11 interaction{};
    UnifacTables tables;
};

Unifac unifacOf(const SubstanceData& data, const std::vector<int>& members, char variant) {
    Unifac u;
    u.tables.reset(data.GroupInteractionTable, variant);
    // variant 2: subgroup parameters from the main-group table, made
    // different for the subgroups of one main group.
    for (int m = 1; m <= kMainGroupCount; ++m)
        for (int n = 1; n <= kMainGroupCount; ++n)
            for (char a : {'A', 'B', ' '})
                for (char b : {'A', 'B', ' '})
                    u.tables.subgroupEntry(m, n, a, b) =
                        m == n ? 0.1L * (a - b)
                               : data.groupInteraction(m, n) * (1 + 0.05L * (a - b));
    for (std::size_t i = 0; i < members.size(); ++i) {
        GroupBlock& block = u.blocks[i] =
            data.SubstanceTable[static_cast<std::size_t>(members[i])].Groups;
        ComponentGroupSums(block, u.r[i], u.q[i]);
        BuildGroupInteractionMatrix(u.tables, block.GroupCount, block.MainGroup,
                                    block.SubgroupLetter, block.PureInteraction);
    }
    u.groups = MergeGroupLists(std::span(u.blocks.data(), members.size()));
    BuildGroupInteractionMatrix(u.tables, u.groups.GroupCount, u.groups.MainGroup,
                                u.groups.SubgroupLetter, u.interaction);
    return u;
}

Values unifacGamma(const Unifac& u, int n, const Values& x, Real tau) {
    Values X{}, gammaC{}, gamma{};
    GroupFractions(n, u.groups, u.blocks, x, X);
    CombinatorialActivity(n, u.q, u.r, x, gammaC);
    UnifacActivity(n, u.groups, u.blocks, gammaC, u.interaction, X, tau, gamma);
    return gamma;
}

TEST(ActivityModels, UnifacPureComponentsHaveUnitCoefficientsInAnyMixture) {
    const SubstanceData data = SubstanceData::builtIn();
    // every ordered list of two to four of the four substances
    const std::vector<std::vector<int>> lists = {{0, 3},       {3, 0}, {0, 1, 2, 3},
                                                 {3, 2, 1, 0}, {1, 3}, {2, 0, 3}};
    for (char variant : {'1', '2'})
        for (const std::vector<int>& list : lists) {
            const Unifac u = unifacOf(data, list, variant);
            const int n = static_cast<int>(list.size());
            for (int i = 0; i < n; ++i) {
                Values x{};
                x[static_cast<std::size_t>(i)] = 1;
                const Values gamma = unifacGamma(u, n, x, 1.25L);
                EXPECT_NEAR(gamma[static_cast<std::size_t>(i)], 1.0L, 1e-17L)
                    << "variant " << variant << ", substance "
                    << list[static_cast<std::size_t>(i)] + 1 << " of " << n;
            }
        }
}

TEST(ActivityModels, UnifacGroupFractionsAndSingleGroupComponents) {
    const SubstanceData data = SubstanceData::builtIn();
    Unifac u = unifacOf(data, {1, 3}, '1');  // water, ethyl acetate: groups 6, 1A, 1B, 10
    ASSERT_EQ(u.groups.GroupCount, 4);
    const Values x{0.25L, 0.75L};
    Values X{};
    GroupFractions(2, u.groups, u.blocks, x, X);
    // counts: water 1 x 0.25; ethyl acetate 2 CH3 + CH2 + COO, 4 x 0.75; total 3.25
    EXPECT_NEAR(X[0], 0.25L / 3.25L, 1e-18L);
    EXPECT_NEAR(X[1], 1.5L / 3.25L, 1e-18L);
    EXPECT_NEAR(X[2], 0.75L / 3.25L, 1e-18L);
    EXPECT_NEAR(X[3], 0.75L / 3.25L, 1e-18L);
    // Water has one group: its own residual is not evaluated at all.
    const Values before = unifacGamma(u, 2, x, 1.3L);
    u.blocks[0].PureFractions.fill(std::numeric_limits<Real>::quiet_NaN());
    u.blocks[0].PureInteraction[0].fill(std::numeric_limits<Real>::quiet_NaN());
    const Values after = unifacGamma(u, 2, x, 1.3L);
    EXPECT_EQ(before[0], after[0]);
    EXPECT_EQ(before[1], after[1]);
    EXPECT_TRUE(std::isfinite(after[0]));
}

}  // namespace
}  // namespace vexamo
