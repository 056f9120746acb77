#include "equilibrium/ParameterFitting.h"

#include <cmath>

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
    FitPoints& points = c.Points;
    const PointTable& gc1 = c.Combinatorial.at(at(c.First));
    const PointTable& gc2 = c.Combinatorial.at(at(c.Second));
    for (std::size_t k = 0; k < points.n; ++k) {
        points.x2[k] = 1 - points.x1[k];
        const std::array<Real, 2> gammaC{gc1[k], gc2[k]};
        std::array<Real, kMaxGroups> fractions{};
        for (int g = 0; g < groups.GroupCount; ++g)
            fractions[at(g)] = c.GroupFractionTable[at(g)][k];
        std::array<Real, 2> gamma{};
        UnifacActivity(2, groups, c.PairBlocks, gammaC, c.PairInteraction, fractions,
                       points.theta[k], gamma);
        points.gamma1[k] = gamma[0];
    }
    return ReportFitProgress(c);
}

}  // namespace vexamo
