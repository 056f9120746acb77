#include <gtest/gtest.h>

#include <cmath>

#include "common/Errors.h"
#include "equilibrium/ActivityModels.h"
#include "equilibrium/Minimizer.h"
#include "equilibrium/ParameterFitting.h"
#include "equilibrium/UnifacTables.h"
#include "properties/PropertyFunctions.h"

namespace vexamo {
namespace {

// f = 1/2 (x - m)' H (x - m) with m = (1, -2, 0.5): minimum 0 at m. Its
// Hessian's eigenvalues (0.15 to 1.1) let the plain steps of the line search
// settle.
constexpr int kN = 3;
using Point = std::array<Real, kN>;
constexpr Real kH[kN][kN] = {{1.0L, 0.2L, 0.1L}, {0.2L, 0.6L, -0.1L}, {0.1L, -0.1L, 0.2L}};
constexpr Point kMinimum = {1, -2, 0.5L};

Point gradient(const Point& x) {
    Point g{};
    for (int i = 0; i < kN; ++i)
        for (int j = 0; j < kN; ++j) g[i] += kH[i][j] * (x[j] - kMinimum[j]);
    return g;
}
Real quadratic(const Point& x) {
    const Point g = gradient(x);
    Real f = 0;
    for (int i = 0; i < kN; ++i) f += 0.5L * (x[i] - kMinimum[i]) * g[i];
    return f;
}

// Whether evaluation k is F(Y) right after the central gradient at Y: the
// 2N evaluations before it are Y +- h along each axis in turn.
bool endsAnIteration(const std::vector<Point>& points, std::size_t k) {
    if (k < 2 * kN) return false;
    const Point& y = points[k];
    for (int i = 0; i < kN; ++i) {
        const Point& plus = points[k - 2 * kN + 2 * i];
        const Point& minus = points[k - 2 * kN + 2 * i + 1];
        for (int j = 0; j < kN; ++j)
            if (j != i && (plus[j] != y[j] || minus[j] != y[j])) return false;
        if (!(plus[i] > y[i] && minus[i] < y[i])) return false;
        if (std::fabs((plus[i] - y[i]) - (y[i] - minus[i])) >
            1e-15L * std::fabs(plus[i] - y[i]) + 1e-19L)
            return false;
    }
    return true;
}

TEST(Minimizer, FindsAKnownMinimumAndRestartsEveryNIterations) {
    std::vector<Point> points;
    const Objective F = [&points](const FitVector& X) {
        points.push_back({X[0], X[1], X[2]});
        return quadratic(points.back());
    };
    FitVector X{};
    X[0] = 4, X[1] = 2, X[2] = -3;
    std::uint16_t iterations = 0;
    Real minimum = -1;
    GradientMinimize(kN - 1, iterations, minimum, 1e-7L, X, F,
                     [] { FAIL() << "no slow-convergence question"; });
    for (int i = 0; i < kN; ++i)
        EXPECT_NEAR(X[static_cast<std::size_t>(i)], kMinimum[static_cast<std::size_t>(i)], 1e-5L);
    EXPECT_LT(minimum, 1e-10L);
    EXPECT_EQ(minimum, quadratic({X[0], X[1], X[2]}));  // the last value is the one at the result

    // Each iteration ends with F(Y) after the central gradient at Y; the next
    // one starts at Y + D. On a quadratic the central gradient is exact, so D
    // is the steepest descent exactly after iterations N, 2N, ... and a
    // conjugate direction otherwise.
    int iteration = 0, restarts = 0, conjugate = 0;
    for (std::size_t k = 0; k + 1 < points.size(); ++k) {
        if (!endsAnIteration(points, k)) continue;
        ++iteration;
        const Point& y = points[k];
        const Point G = gradient(y);
        Real off = 0, size = 0;
        for (int i = 0; i < kN; ++i) {
            const Real D = points[k + 1][i] - y[i];
            off += (D + G[i]) * (D + G[i]);
            size += G[i] * G[i];
        }
        off = std::sqrt(off / size);
        if (iteration % kN == 0) {
            EXPECT_LT(off, 1e-9L) << "iteration " << iteration;
            ++restarts;
        } else if (off > 1e-6L) {
            ++conjugate;
        }
    }
    EXPECT_EQ(iteration + 1, iterations);  // the last iteration starts no other
    EXPECT_GE(restarts, 1);
    EXPECT_GE(conjugate, 2);
}

TEST(Minimizer, ObjectiveOverflowEndsTheFit) {
    const Objective F = [](const FitVector& X) { return std::exp(-1e5L * X[0]); };
    FitVector X{};
    std::uint16_t iterations = 0;
    Real minimum = 0;
    X[0] = -1;
    EXPECT_THROW(GradientMinimize(0, iterations, minimum, 1e-5L, X, F, [] {}), NumericalError);
}

// The progress line of the fits: every 200 objective calls, the counter
// carrying over from one fit to the next, the line replaced in place.
TEST(ParameterFitting, ProgressLineEvery200Calls) {
    FitProgress progress;
    ReportMemo memo;
    SetFitReportMemo(progress, memo);
    FitContext c(progress, {"comp.1", "comp.2"}, kEnglish);
    c.allocate(2);
    c.Points.n = 4;
    c.Points.P = 100;
    memo.add("header");
    c.FitProgressLine = memo.lineCount();
    c.Minimum = 4 * 0.0025L;
    c.Iterations = 7;
    for (int call = 0; call < 199; ++call) ReportFitProgress(c);
    EXPECT_EQ(memo.lineCount(), 1u);
    ReportFitProgress(c);
    ASSERT_EQ(memo.lineCount(), 2u);
    EXPECT_EQ(
        memo.line(1),
        " Number of iterations 7;  root-mean-square error for system comp.1-comp.2:  E = 0.05");
    c.Iterations = 9;
    for (int call = 0; call < 200; ++call) ReportFitProgress(c);
    ASSERT_EQ(memo.lineCount(), 2u);  // replaced, not added
    EXPECT_NE(memo.line(1).find("iterations 9;"), std::string::npos);

    // a later fit: the count goes on from where the last one stopped
    for (int call = 0; call < 150; ++call) ReportFitProgress(c);
    memo.add("result");
    memo.add("next header");
    c.FitProgressLine = memo.lineCount();
    for (int call = 0; call < 49; ++call) ReportFitProgress(c);
    EXPECT_EQ(memo.lineCount(), 4u);
    ReportFitProgress(c);
    EXPECT_EQ(memo.lineCount(), 5u);
    c.Language = kRussian;
    EXPECT_EQ(
        fitProgressLine(c),
        " Число итераций 9;  среднеквадратичная погрешность для системы comp.1-comp.2:  E = 0.05");
}

// The UNIQUAC objective keeps the parameter-free part of gamma1 per point:
// it must follow a newly loaded set and a change of the pair's r and q.
TEST(ParameterFitting, UniquacObjectiveFollowsTheSetAndThePair) {
    const SubstanceData data = SubstanceData::builtIn();
    FitProgress progress;
    FitContext c(progress, {"comp.1", "comp.2", "comp.3", "comp.4"}, kEnglish);
    c.allocate(4);
    c.UniquacR = {2.5755L, 0.92L, 1.4311L, 3.4786L};
    c.UniquacQ = {2.588L, 1.40L, 1.432L, 3.116L};
    FitVector X{};
    X[0] = 0.3L, X[1] = 0.1L;
    auto agrees = [&c, &X] {
        const std::size_t i = static_cast<std::size_t>(c.First),
                          j = static_cast<std::size_t>(c.Second);
        for (std::size_t k = 0; k < c.Points.n; ++k)
            if (c.Points.gamma1[k] != uniquacGamma1(c.Points.x1[k], X[0], X[1], c.Points.theta[k],
                                                    c.UniquacR[i], c.UniquacR[j], c.UniquacQ[i],
                                                    c.UniquacQ[j]))
                return false;
        return true;
    };
    LoadBinaryDataSet(c, data, 0, 1);
    c.First = 0, c.Second = 1;
    UniquacObjective(c, X);
    EXPECT_TRUE(agrees());
    LoadBinaryDataSet(c, data, 2, 1);  // methanol - water: other points, other pair
    c.First = 2, c.Second = 1;
    UniquacObjective(c, X);
    EXPECT_TRUE(agrees());
    c.UniquacQ[2] = 1.5L;
    UniquacObjective(c, X);
    EXPECT_TRUE(agrees());
}

TEST(ParameterFitting, UnifacGroupListsAndParameterCount) {
    const SubstanceData data = SubstanceData::builtIn();
    const GroupBlock& ethanol = data.SubstanceTable[0].Groups;   // 1A, 5A
    const GroupBlock& water = data.SubstanceTable[1].Groups;     // 6
    const GroupBlock& methanol = data.SubstanceTable[2].Groups;  // 5B
    const GroupBlock& acetate = data.SubstanceTable[3].Groups;   // 1A, 1B, 10

    const std::array<GroupBlock, 2> methanolWater{methanol, water};
    GroupList list = MergeGroupLists(methanolWater);
    EXPECT_EQ(groupParameterCount(list, '1'), 2);  // G = 2
    EXPECT_EQ(groupParameterCount(list, '2'), 2);

    // a group shared by two or three components is one entry
    const std::array<GroupBlock, 3> three{ethanol, acetate, ethanol};
    list = MergeGroupLists(three);
    ASSERT_EQ(list.GroupCount, 4);
    EXPECT_EQ(list.MainGroup[0], 1);
    EXPECT_EQ(list.SubgroupLetter[0], 'A');
    EXPECT_EQ(list.MainGroup[2], 1);
    EXPECT_EQ(list.SubgroupLetter[2], 'B');
    EXPECT_EQ(list.DistinctCount, 3);  // 1, 5, 10: the shared main group counts once
    EXPECT_EQ(groupParameterCount(list, '1'), 6);
    EXPECT_EQ(groupParameterCount(list, '2'), 12);

    // variant 1 stores by main groups: groups of one main group do not interact
    UnifacTables tables;
    tables.reset(data.GroupInteractionTable, '1');
    tables.Groups = list;
    StoreGroupParameter(tables, 0, 1, 0.5L);  // distinct mains 1 -> 5
    EXPECT_EQ(tables.mainEntry(1, 5), 0.5L);
    Matrix11 m{};
    BuildGroupInteractionMatrix(tables, list.GroupCount, list.MainGroup, list.SubgroupLetter, m);
    EXPECT_EQ(m[0][1], 0.5L);  // 1A - 5A
    EXPECT_EQ(m[2][1], 0.5L);  // 1B - 5A
    EXPECT_EQ(m[0][2], 0.0L);  // 1A - 1B
    EXPECT_EQ(m[1][3], data.groupInteraction(5, 10));
    // variant 2 by subgroups
    tables.reset(data.GroupInteractionTable, '2');
    tables.Groups = list;
    StoreGroupParameter(tables, 0, 2, 0.25L);  // 1A -> 1B
    BuildGroupInteractionMatrix(tables, list.GroupCount, list.MainGroup, list.SubgroupLetter, m);
    EXPECT_EQ(m[0][2], 0.25L);
    EXPECT_EQ(m[2][0], 0.0L);
    EXPECT_EQ(m[0][1], 0.0L);  // not stored yet
}

// gamma1 of the UNIFAC objective the plain way: both coefficients of the pair
// by UnifacActivity at the tables the objective last stored.
std::array<Real, kMaxEquilPoints> plainUnifacGamma1(FitContext& c) {
    const GroupList& groups = c.Tables.Groups;
    std::array<Real, kMaxEquilPoints> result{};
    for (std::size_t k = 0; k < c.Points.n; ++k) {
        const std::array<Real, 2> gammaC{c.Combinatorial[std::size_t(c.First)][k],
                                         c.Combinatorial[std::size_t(c.Second)][k]};
        std::array<Real, kMaxGroups> fractions{};
        for (int g = 0; g < groups.GroupCount; ++g)
            fractions[std::size_t(g)] = c.GroupFractionTable[std::size_t(g)][k];
        std::array<Real, 2> gamma{};
        UnifacActivity(2, groups, c.PairBlocks, gammaC, c.PairInteraction, fractions,
                       c.Points.theta[k], gamma);
        result[k] = gamma[0];
    }
    return result;
}

// The objective's shortcuts (gamma1 alone, the shared and remembered psi) must
// not move a bit: along whole fits of the measured pairs with groups of one
// main group and several, by main groups and by subgroups, every gamma1 equals
// the plain computation's exactly.
TEST(ParameterFitting, UnifacObjectiveEqualsThePlainActivityToTheLastBit) {
    const SubstanceData data = SubstanceData::builtIn();
    const std::array<std::array<int, 2>, 3> pairs{{{0, 1}, {3, 0}, {2, 1}}};
    for (char variant : {'1', '2'})
        for (const auto& [a, b] : pairs) {
            SCOPED_TRACE(std::string(1, variant) + ": " + std::to_string(a) + "-" +
                         std::to_string(b));
            FitProgress progress;
            FitContext c(progress, {"comp.1", "comp.2"}, kEnglish);
            c.allocate(2);
            const int n = LoadBinaryDataSet(c, data, a, b);
            c.PairBlocks = {data.SubstanceTable[std::size_t(a)].Groups,
                            data.SubstanceTable[std::size_t(b)].Groups};
            for (std::size_t m = 0; m < 2; ++m)
                ComponentGroupSums(c.PairBlocks[m], c.UniquacR[m], c.UniquacQ[m]);
            for (int k = 0; k < n; ++k)
                c.VapourPressure[0][std::size_t(k)] =
                    VapourPressure(data, data.SubstanceTable[std::size_t(a)].EnglishName,
                                   c.Points.theta[std::size_t(k)]);
            c.Tables.reset(data.GroupInteractionTable, variant);
            c.Tables.Groups = MergeGroupLists(c.PairBlocks);
            PrepareUnifacPoints(c, 0, 1);
            const int P = groupParameterCount(c.Tables.Groups, variant);
            ASSERT_GT(P, 0);
            int calls = 0, differing = 0;
            const Objective objective = [&](const FitVector& X) {
                const Real S = UnifacObjective(c, X);
                const std::array<Real, kMaxEquilPoints> plain = plainUnifacGamma1(c);
                for (int k = 0; k < n; ++k)
                    if (plain[std::size_t(k)] != c.Points.gamma1[std::size_t(k)]) ++differing;
                ++calls;
                return S;
            };
            for (int k = 0; k < P; ++k) c.Unifac[std::size_t(k)] = 0.2L;
            GradientMinimize(P - 1, c.Iterations, c.Minimum, 0.00001L, c.Unifac, objective,
                             [] { throw NumericalError("slow"); });
            EXPECT_GT(calls, 100);
            EXPECT_EQ(differing, 0);
            EXPECT_LT(std::sqrt(c.Minimum / n), 0.01L);  // the fit itself still fits
        }
}

}  // namespace
}  // namespace vexamo
