#pragma once
// The exchanger object common to every pair of processes: its copies of the
// problem, the iteration frame and its three dialogs, and the results block.
#include <array>
#include <optional>
#include <string>

#include "common/Real.h"
#include "control/ProblemRecords.h"
#include "exchanger/Exchanger.h"
#include "properties/PropertyFunctions.h"

namespace vexamo {

class THexObj : public ExchangerObject {
public:
    explicit THexObj(const ExchangerArguments& args);

    bool ReportResults(Real tubeFlow, Real shellFlow) override;

    // Iteration control, called from inside Calculate.
    void AskInitialApproximation(Real& temperature);
    // True: the person chose to check the initial data (leave without results).
    bool HandleOutOfInterval(Real& convergenceConstant);
    void HandleSlowConvergence(Real& convergenceConstant, std::uint16_t& iterationCount, bool& continueIteration);
    // Replaces the progress line after the initial-data block by IterationLog.
    void WriteProgressLine();

    // Segment-notch height of a single-phase shell stream (constructors of the
    // classes with such a stream); appends its report line to ReportText.
    void ComputeSegmentNotch(Real casingDiameter);

protected:
    // The calculation of the pair. Fills `results`; the flow that was not given
    // is written back through its reference. Errors are thrown.
    virtual void Calculate(Real& tubeFlow, Real& shellFlow, RunResults& results) = 0;

    Session& m_session;
    Dialogs& m_dialogs;
    LanguageFlagType m_lang;
    int m_tubeProcess = 0, m_shellProcess = 0;  // process codes of the two streams

public:
    // Fields of the pair's calculation (names as the calculation uses them).
    std::string IterationLog;
    std::string ReportText;
    std::string ExtraReport;
    Real ConvergenceConstant = 0;
    Real OutletApproximation = 0;
    Real BalanceRatio = 0;
    Real BalanceTolerance = 0;
    std::uint16_t IterationCount = 0;
    PropertySet TubeProps, ShellProps;
    std::array<PropertySet, 12> ComponentProps;
    bool ContinueIteration = true;
    bool HorizontalBundle = false;
    bool StaggeredTubes = false;
    std::uint8_t TubePasses = 0, ShellPasses = 0, RowsOnVertical = 0;
    std::uint16_t TubeCount = 0, ParallelFlows = 0;
    Real OuterDiameter = 0, InnerDiameter = 0, TubeLength = 0, WallResistance = 0;
    std::uint8_t TubeComponentCount = 0, ShellComponentCount = 0;
    std::array<Real, 7> TubeComposition{}, ShellComposition{};
    // The component records of both streams (the global records of the Run).
    Substances TubeComponents, ShellComponents;
    // Segment notch.
    Real NotchDiameter = 0, NotchArea = 0, NotchAngle = 0, SegmentNotchHeight = 0;
    RangeLog Ranges;  // property tables left during the calculation
};

}  // namespace vexamo
