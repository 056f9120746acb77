#include "equilibrium/ParameterFitting.h"

#include <cmath>
#include <limits>
#include <span>

#include "common/Constants.h"
#include "common/Errors.h"
#include "common/NumberFormat.h"
#include "equilibrium/ActivityModels.h"

namespace vexamo {

namespace {

constexpr std::uint16_t kProgressInterval = 200;

std::size_t at(int i) { return static_cast<std::size_t>(i); }

}  // namespace

void SetFitReportMemo(FitProgress& progress, ReportMemo& memo) { progress.Memo = &memo; }

void FitContext::allocate(int n) {
    Volume.assign(at(n), PointTable{});
    VapourPressure.assign(at(n), PointTable{});
    Combinatorial.assign(at(n), PointTable{});
}

int LoadBinaryDataSet(FitContext& c, const SubstanceData& data, int s1, int s2) {
    const Equil& set = data.binary(s1 + 1, s2 + 1);
    const std::string pair = std::to_string(s1 + 1) + "-" + std::to_string(s2 + 1);
    if (set.Count == 0)
        throw CalculationAborted("the equilibrium data set " + pair + " holds no points");
    if (set.Count > kMaxEquilPoints)
        throw CalculationAborted("the equilibrium data set " + pair + " holds " +
                                 std::to_string(set.Count) + " points; at most " +
                                 std::to_string(kMaxEquilPoints) + " can be fitted");
    if (set.LiquidX.size() < set.Count || set.VapourY.size() < set.Count ||
        set.Temperature.size() < set.Count)
        throw CalculationAborted("the equilibrium data set " + pair +
                                 " has fewer values than its count");
    FitPoints& p = c.Points;
    p.n = set.Count;
    p.P = set.Pressure;
    p.UniquacReady = false;
    for (std::size_t k = 0; k < set.Count; ++k) {
        p.x1[k] = set.LiquidX[k];
        p.y1[k] = set.VapourY[k];
        p.theta[k] = set.Temperature[k] / kZeroCelsius_K + 1.0L;
    }
    c.Wilson[0] = set.StartValues[0];
    c.Wilson[1] = set.StartValues[1];
    c.Uniquac[0] = set.StartValues[2];
    c.Uniquac[1] = set.StartValues[3];
    c.Nrtl[0] = set.StartValues[4];
    c.Nrtl[1] = set.StartValues[5];
    c.Nrtl[2] = set.StartValues[6];
    return set.Count;
}

std::string fitProgressLine(const FitContext& c) {
    const std::string E = formatGeneral(std::sqrt(c.Minimum / c.Points.n), 10, 8);
    const std::string& first = c.ComponentNames.at(at(c.First));
    const std::string& second = c.ComponentNames.at(at(c.Second));
    if (c.Language == kEnglish)
        return " Number of iterations " + std::to_string(c.Iterations) + "; " +
               " root-mean-square error for system " + first + "-" + second + ":  E = " + E;
    return " Число итераций " + std::to_string(c.Iterations) + "; " +
           " среднеквадратичная погрешность для системы " + first + "-" + second + ":  E = " + E;
}

Real ReportFitProgress(FitContext& c) {
    const FitPoints& p = c.Points;
    const PointTable& saturation = c.VapourPressure.at(at(c.First));
    Real S = 0;
    for (std::size_t k = 0; k < p.n; ++k) {
        const Real d = p.y1[k] - p.x1[k] * p.gamma1[k] * saturation[k] / p.P;
        S += d * d;
    }
    ++c.Evaluations;
    FitProgress& progress = c.Progress;
    ++progress.CallCounter;
    if (progress.CallCounter < kProgressInterval) return S;
    if (progress.Memo) {
        ReportMemo& memo = *progress.Memo;
        const std::size_t line = std::min(c.FitProgressLine, memo.lineCount());
        memo.insert(line, fitProgressLine(c));
        if (line + 1 < memo.lineCount()) memo.remove(line + 1);
    }
    progress.CallCounter = 0;
    return S;
}

Real wilsonGamma1(Real x1, Real A12, Real A21, Real theta, Real V1, Real V2) {
    const Real L12 = (V2 / V1) * std::exp(-A12 / theta);
    const Real L21 = (V1 / V2) * std::exp(-A21 / theta);
    const Real x2 = 1 - x1;
    const Real D1 = x1 + L12 * x2;
    return std::exp(x2 * (L12 / D1 - L21 / (L21 * x1 + x2))) / D1;
}

Real nrtlGamma1(Real x1, Real A12, Real A21, Real alpha, Real theta, Real V1, Real V2) {
    const Real t12 = A12 / theta, t21 = A21 / theta;
    const Real G12 = std::exp(-alpha * t12) * (V2 / V1);
    const Real G21 = std::exp(-alpha * t21) * (V1 / V2);
    const Real x2 = 1 - x1;
    const Real a = G21 / (x1 + x2 * G21);
    const Real b = x2 + x1 * G12;
    return std::exp(x2 * x2 * (t21 * (a * a) + t12 * G12 / (b * b)));
}

UniquacPoint uniquacPoint(Real x1, Real r1, Real r2, Real q1, Real q2) {
    const Real l1 = 5 * (r1 - q1) - r1 + 1, l2 = 5 * (r2 - q2) - r2 + 1;
    const Real x2 = 1 - x1;
    const Real sumR = r1 * x1 + r2 * x2, sumQ = q1 * x1 + q2 * x2;
    const Real phi2 = r2 * x2 / sumR;
    UniquacPoint p;
    p.factor = (r1 / sumR) * std::pow((q1 / r1) * sumR / sumQ, 5 * q1);
    p.exponent = phi2 * (l1 - l2 * r1 / r2);
    p.theta1 = q1 * x1 / sumQ;
    p.theta2 = q2 * x2 / sumQ;
    p.q1 = q1;
    return p;
}

Real uniquacGamma1(const UniquacPoint& p, Real A12, Real A21, Real theta) {
    const Real t12 = std::exp(-A12 / theta), t21 = std::exp(-A21 / theta);
    const Real th1 = p.theta1, th2 = p.theta2;
    return p.factor *
           std::exp(p.exponent + p.q1 * th2 * (t21 / (th1 + th2 * t21) - t12 / (th2 + th1 * t12))) /
           std::pow(th1 + th2 * t21, p.q1);
}

Real uniquacGamma1(Real x1, Real A12, Real A21, Real theta, Real r1, Real r2, Real q1, Real q2) {
    return uniquacGamma1(uniquacPoint(x1, r1, r2, q1, q2), A12, A21, theta);
}

Real WilsonObjective(FitContext& c, const FitVector& X) {
    FitPoints& p = c.Points;
    const PointTable& V1 = c.Volume.at(at(c.First));
    const PointTable& V2 = c.Volume.at(at(c.Second));
    for (std::size_t k = 0; k < p.n; ++k) {
        p.x2[k] = 1 - p.x1[k];
        p.gamma1[k] = wilsonGamma1(p.x1[k], X[0], X[1], p.theta[k], V1[k], V2[k]);
    }
    return ReportFitProgress(c);
}

Real NrtlObjective(FitContext& c, const FitVector& X) {
    FitPoints& p = c.Points;
    const PointTable& V1 = c.Volume.at(at(c.First));
    const PointTable& V2 = c.Volume.at(at(c.Second));
    for (std::size_t k = 0; k < p.n; ++k) {
        p.x2[k] = 1 - p.x1[k];
        p.gamma1[k] = nrtlGamma1(p.x1[k], X[0], X[1], X[2], p.theta[k], V1[k], V2[k]);
    }
    return ReportFitProgress(c);
}

Real UniquacObjective(FitContext& c, const FitVector& X) {
    FitPoints& p = c.Points;
    const std::size_t i = at(c.First), j = at(c.Second);
    const std::array<Real, 4> members{c.UniquacR[i], c.UniquacR[j], c.UniquacQ[i], c.UniquacQ[j]};
    if (!p.UniquacReady || p.UniquacFor != members) {
        for (std::size_t k = 0; k < p.n; ++k)
            p.uniquac[k] = uniquacPoint(p.x1[k], members[0], members[1], members[2], members[3]);
        p.UniquacReady = true;
        p.UniquacFor = members;
    }
    for (std::size_t k = 0; k < p.n; ++k) {
        p.x2[k] = 1 - p.x1[k];
        p.gamma1[k] = uniquacGamma1(p.uniquac[k], X[0], X[1], p.theta[k]);
    }
    return ReportFitProgress(c);
}

void PrepareUnifacPoints(FitContext& c, int i, int j) {
    const std::size_t si = at(i), sj = at(j);
    const GroupList& groups = c.Tables.Groups;
    const std::array<Real, 2> q{c.UniquacQ[si], c.UniquacQ[sj]}, r{c.UniquacR[si], c.UniquacR[sj]};
    const FitPoints& p = c.Points;
    const int G = groups.GroupCount;
    c.UnifacPoints.assign(p.n, FitContext::UnifacPoint{});
    for (std::size_t k = 0; k < p.n; ++k) {
        const std::array<Real, 2> composition{p.x1[k], 1 - p.x1[k]};
        std::array<Real, 2> gammaC{};
        CombinatorialActivity(2, q, r, composition, gammaC);
        c.Combinatorial[si][k] = gammaC[0];
        c.Combinatorial[sj][k] = gammaC[1];
        std::array<Real, kMaxGroups> fractions{};
        GroupFractions(2, groups, c.PairBlocks, composition, fractions);
        for (int g = 0; g < G; ++g) c.GroupFractionTable[at(g)][k] = fractions[at(g)];
        // The surface fractions as the residual factor forms them.
        FitContext::UnifacPoint& point = c.UnifacPoints[k];
        Real sumQX = 0;
        for (int g = 0; g < G; ++g) sumQX += groups.SurfaceQ[at(g)] * fractions[at(g)];
        for (int g = 0; g < G; ++g)
            point.SurfaceFraction[at(g)] = groups.SurfaceQ[at(g)] * fractions[at(g)] / sumQX;
        for (auto& row : point.LastA) row.fill(std::numeric_limits<Real>::quiet_NaN());
    }
    const GroupBlock& first = c.PairBlocks[0];
    Real sumQX = 0;
    for (int g = 0; g < first.GroupCount; ++g)
        sumQX += first.SurfaceQ[at(g)] * first.PureFractions[at(g)];
    for (int g = 0; g < first.GroupCount; ++g) {
        c.PureSurfaceFraction[at(g)] = first.SurfaceQ[at(g)] * first.PureFractions[at(g)] / sumQX;
        c.PureToPair[at(g)] = -1;
        for (int m = 0; m < G && c.PureToPair[at(g)] < 0; ++m)
            if (groups.MainGroup[at(m)] == first.MainGroup[at(g)] &&
                groups.SubgroupLetter[at(m)] == first.SubgroupLetter[at(g)])
                c.PureToPair[at(g)] = m;
    }
    c.First = i;
    c.Second = j;
}

namespace {

// The residual factors Gamma_i = exp(Q_i (1 - ln S_i - sum_j theta_j psi_ij / S_j)),
// S_i = sum_j theta_j psi_ji, of the groups marked `wanted`, in the operation
// order of ResidualActivity.
void residualFactors(int m, std::span<const Real> Q, std::span<const Real> theta,
                     const Matrix11& psi, std::span<const bool> wanted, std::span<Real> Gamma) {
    std::array<Real, kMaxGroups> S{};
    for (int i = 0; i < m; ++i)
        for (int j = 0; j < m; ++j) S[at(i)] += theta[at(j)] * psi[at(j)][at(i)];
    for (int i = 0; i < m; ++i) {
        if (!wanted[at(i)]) continue;
        Real sum = 0;
        for (int j = 0; j < m; ++j) sum += theta[at(j)] * psi[at(i)][at(j)] / S[at(j)];
        Gamma[at(i)] = std::exp(Q[at(i)] * (1 - std::log(S[at(i)]) - sum));
    }
}

}  // namespace

// gamma1 of the pair, equal to UnifacActivity's first coefficient to the last
// bit: the same operations in the same order, without the second member's
// factor (the objective does not use it), the surface fractions formed once,
// the first member's pure-component psi taken from the pair's where its entry
// is the pair's, and each psi computed again only when its parameter moved
// (a gradient step moves one).
Real UnifacObjective(FitContext& c, const FitVector& X) {
    UnifacTables& tables = c.Tables;
    const GroupList& groups = tables.Groups;
    const int G = tables.Variant == '1' ? groups.DistinctCount : groups.GroupCount;
    int p = 0;
    for (int m = 0; m < G; ++m)
        for (int n = 0; n < G; ++n)
            if (m != n) StoreGroupParameter(tables, m, n, X[at(p++)]);
    BuildGroupInteractionMatrix(tables, groups.GroupCount, groups.MainGroup, groups.SubgroupLetter,
                                c.PairInteraction);
    for (GroupBlock& block : c.PairBlocks)
        BuildGroupInteractionMatrix(tables, block.GroupCount, block.MainGroup, block.SubgroupLetter,
                                    block.PureInteraction);
    const GroupBlock& first = c.PairBlocks[0];
    const int M = groups.GroupCount, K = first.GroupCount;
    std::array<bool, kMaxGroups> wantedMixture{}, allPure{};
    for (int k = 0; k < K; ++k) {
        allPure[at(k)] = true;
        for (int m = 0; m < M; ++m)
            if (groups.MainGroup[at(m)] == first.MainGroup[at(k)] &&
                groups.SubgroupLetter[at(m)] == first.SubgroupLetter[at(k)])
                wantedMixture[at(m)] = true;
    }
    FitPoints& points = c.Points;
    const PointTable& gc1 = c.Combinatorial.at(at(c.First));
    for (std::size_t k = 0; k < points.n; ++k) {
        points.x2[k] = 1 - points.x1[k];
        const Real tau = points.theta[k];
        FitContext::UnifacPoint& point = c.UnifacPoints.at(k);
        for (int i = 0; i < M; ++i)
            for (int j = 0; j < M; ++j) {
                if (i == j) {
                    point.Psi[at(i)][at(j)] = 1.0L;
                    continue;
                }
                const Real a = c.PairInteraction[at(i)][at(j)];
                if (a == point.LastA[at(i)][at(j)]) continue;
                point.LastA[at(i)][at(j)] = a;
                point.Psi[at(i)][at(j)] = std::exp(-a / tau);
            }
        std::array<Real, kMaxGroups> mixture{};
        residualFactors(M, groups.SurfaceQ, point.SurfaceFraction, point.Psi, wantedMixture,
                        mixture);
        std::array<Real, kMaxGroups> pure{};
        if (K == 1) {
            pure[0] = 1;
        } else {
            Matrix11 psi{};
            for (int i = 0; i < K; ++i)
                for (int j = 0; j < K; ++j) {
                    const Real a = first.PureInteraction[at(i)][at(j)];
                    const int pi = c.PureToPair[at(i)], pj = c.PureToPair[at(j)];
                    if (i == j)
                        psi[at(i)][at(j)] = 1.0L;
                    else if (pi >= 0 && pj >= 0 && pi != pj &&
                             a == c.PairInteraction[at(pi)][at(pj)])
                        psi[at(i)][at(j)] = point.Psi[at(pi)][at(pj)];
                    else
                        psi[at(i)][at(j)] = std::exp(-a / tau);
                }
            residualFactors(K, first.SurfaceQ, c.PureSurfaceFraction, psi, allPure, pure);
        }
        Real product = 1;
        for (int g = 0; g < K; ++g)
            for (int m = 0; m < M; ++m)
                if (groups.MainGroup[at(m)] == first.MainGroup[at(g)] &&
                    groups.SubgroupLetter[at(m)] == first.SubgroupLetter[at(g)])
                    product *= std::pow(mixture[at(m)] / pure[at(g)],
                                        static_cast<Real>(first.Occurrences[at(g)]));
        points.gamma1[k] = gc1[k] * product;
    }
    return ReportFitProgress(c);
}

}  // namespace vexamo
