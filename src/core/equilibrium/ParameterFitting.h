#pragma once
// Fitting the energy parameters of a binary activity model to the measured
// isobaric equilibrium of one ordered pair: the points under fit, the four
// objective functions, the loader of a data set and the progress line that
// the objectives keep up to date in the report.
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "common/Real.h"
#include "common/Text.h"
#include "dialogs/ReportMemo.h"
#include "equilibrium/EquilibriumModel.h"
#include "equilibrium/Minimizer.h"
#include "equilibrium/UnifacTables.h"
#include "properties/SubstanceRecords.h"

namespace vexamo {

inline constexpr int kFitSlots = 61;  // per-point tables of a component

// What outlives one fit: the progress call counter (it carries over from one
// fit to the next for the life of the program) and the report that receives
// the progress line.
struct FitProgress {
    std::uint16_t CallCounter = 0;
    ReportMemo* Memo = nullptr;
};

// Remembers the memo that receives the progress line.
void SetFitReportMemo(FitProgress& progress, ReportMemo& memo);

// The parts of the binary UNIQUAC gamma1 at one composition that do not
// depend on the energy parameters: the combinatorial factor
// (r1 / sum r) ((q1 / r1) sum r / sum q)^(5 q1), the exponent
// phi2 (l1 - l2 r1 / r2) and the surface fractions.
struct UniquacPoint {
    Real factor = 1, exponent = 0, theta1 = 0, theta2 = 0, q1 = 0;
};
UniquacPoint uniquacPoint(Real x1, Real r1, Real r2, Real q1, Real q2);

// The data set under fit (theta = t / 273.15 + 1).
struct FitPoints {
    std::uint16_t n = 0;
    Real P = 0;  // Pa
    std::array<Real, kMaxEquilPoints> x1{}, y1{}, theta{};
    std::array<Real, kMaxEquilPoints> x2{}, gamma1{};  // written by every objective
    // UNIQUAC: the parts of gamma1 that do not depend on the parameters,
    // formed once per loaded set and pair (r1, r2, q1, q2 they were formed for).
    bool UniquacReady = false;
    std::array<Real, 4> UniquacFor{};
    std::array<UniquacPoint, kMaxEquilPoints> uniquac{};
};

using PointTable = std::array<Real, kFitSlots>;

// The working state of the fits of one equilibrium set-up.
struct FitContext {
    FitContext(FitProgress& progress, std::vector<std::string> componentNames,
               LanguageFlagType language)
        : Progress(progress), ComponentNames(std::move(componentNames)), Language(language) {}

    FitProgress& Progress;
    std::vector<std::string> ComponentNames;  // the names the progress line uses
    LanguageFlagType Language;

    FitPoints Points;
    // Per component of the mixture: molar volume and vapour pressure at each
    // point; for UNIFAC the combinatorial factor.
    std::vector<PointTable> Volume, VapourPressure, Combinatorial;
    // UNIFAC: group mole fractions of the pair at each point, [group][point].
    std::array<PointTable, kMaxGroups> GroupFractionTable{};

    // The model vectors at their fixed places.
    FitVector Wilson{}, Nrtl{}, Uniquac{}, Unifac{};
    std::uint16_t Iterations = 0;
    Real Minimum = 0;
    Real Eps = 0;
    int LastIndex = 0;
    int First = 0, Second = 1;  // the pair's members, positions in the component list
    std::size_t FitProgressLine = 0;
    std::uint32_t Evaluations = 0;  // objective calls of the current fit

    // UNIQUAC and UNIFAC: r and q of every component.
    std::array<Real, kMaxMixtureComponents> UniquacQ{}, UniquacR{};
    // UNIFAC: the working tables (their group list is the pair's), the pair's
    // two group blocks and their interaction matrix.
    UnifacTables Tables;
    std::array<GroupBlock, 2> PairBlocks{};
    Matrix11 PairInteraction{};
    // UNIFAC, per point: the pair's group surface fractions and, per ordered
    // group pair, the last a / 273.15 the objective met with its
    // exp(-a / theta), taken again while a stays (filled by PrepareUnifacPoints).
    struct UnifacPoint {
        std::array<Real, kMaxGroups> SurfaceFraction{};
        Matrix11 LastA{}, Psi{};
    };
    std::vector<UnifacPoint> UnifacPoints;
    // The first member's pure-component surface fractions and, per group, the
    // pair's group of the same main group and letter (-1: none).
    std::array<Real, kMaxGroups> PureSurfaceFraction{};
    std::array<int, kMaxGroups> PureToPair{};

    // Allocates the per-point tables of n components (zeros).
    void allocate(int n);
};

// Copies the set of the ordered pair (s1, s2) (0-based substance numbers)
// into the points and its seven start values into the model vectors (Wilson
// <- [0], [1]; UNIQUAC <- [2], [3]; NRTL <- [4], [5], [6]); returns the number
// of points. A set with no points, more than 60 or columns shorter than its
// count is refused with CalculationAborted.
int LoadBinaryDataSet(FitContext& context, const SubstanceData& data, int s1, int s2);

// S = sum (y1 - x1 gamma1 P1 / P)^2 over the points; then the progress line
// (every 200 calls).
Real ReportFitProgress(FitContext& context);

// The line: " Number of iterations 12;  root-mean-square error for system
// comp.1-comp.2:  E = 0.0099", E = sqrt(minimum / n).
std::string fitProgressLine(const FitContext& context);

Real WilsonObjective(FitContext& context, const FitVector& X);   // A12, A21
Real NrtlObjective(FitContext& context, const FitVector& X);     // A12, A21, alpha
Real UniquacObjective(FitContext& context, const FitVector& X);  // A12, A21
Real UnifacObjective(FitContext& context, const FitVector& X);  // a / 273.15 per ordered group pair

// UNIFAC: the parts of the objective that do not depend on the parameters,
// for the pair (First, Second) = (i, j) whose blocks, group list, r and q the
// context holds and whose points are loaded: the combinatorial factors and
// group fractions at each point, the surface fractions.
void PrepareUnifacPoints(FitContext& context, int i, int j);

// gamma1 of the binary forms at one point, for the objectives and their tests.
Real wilsonGamma1(Real x1, Real A12, Real A21, Real theta, Real V1, Real V2);
Real nrtlGamma1(Real x1, Real A12, Real A21, Real alpha, Real theta, Real V1, Real V2);
Real uniquacGamma1(Real x1, Real A12, Real A21, Real theta, Real r1, Real r2, Real q1, Real q2);
Real uniquacGamma1(const UniquacPoint& point, Real A12, Real A21, Real theta);

}  // namespace vexamo
