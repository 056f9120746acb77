#pragma once
// The exchanger object common to every pair of processes: its copies of the
// problem, the iteration frame and its three dialogs, and the results block.
#include <array>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "common/Real.h"
#include "exchanger/CorrelationContext.h"
#include "exchanger/Exchanger.h"
#include "exchanger/PressureLoss.h"
#include "problem/ProblemRecords.h"
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
    void HandleSlowConvergence(Real& convergenceConstant, std::uint16_t& iterationCount,
                               bool& continueIteration);
    // Replaces the progress line after the initial-data block by IterationLog.
    void WriteProgressLine();
    // The progress line of iteration IterationCount at the outlet
    // approximation T (`label` names the outlet) into IterationLog and the report.
    void showIterationProgress(const std::string& label, Real T);
    // Every iteration of one calculation counts, over all its restarts: past
    // `limit` the calculation ends with CalculationAborted.
    void requireIterationWithin(int totalIterations, int limit) const;

    // Segment-notch height of a single-phase shell stream (constructors of the
    // classes with such a stream); appends its report line to ReportText.
    void ComputeSegmentNotch(Real casingDiameter);

    // The surface of the tubes as built: ParallelFlows * TubeCount *
    // pi (OuterDiameter + InnerDiameter)/2 * TubeLength, m2.
    Real InstalledSurface() const;

    // Pressure loss of the heated or cooled medium in the tube space. Asks the
    // tube ends (tube_loss.ends with the check box tube_loss.u_tubes), the bend
    // radius of U-tubes (tube_loss.bend_radius) and, in turbulent flow, the
    // wall roughness (tube_loss.roughness, tube_loss.material); appends its
    // line to ExtraReport and returns the loss, kPa.
    struct TubeLossArguments {
        int passes = 0;                         // z
        Real meanTemperature = 0;               // Ta, degC
        Real inletTemperature = 0;              // Tb, degC
        Real rayleighIn = 0, rayleighMean = 0;  // of the inlet- and mean-state evaluations
        Real prandtlRatioMean = 0;
        Real viscosityRatioIn = 0, viscosityRatioMean = 0;
        Real speed = 0;  // W, m/s
        Real innerDiameter = 0, length = 0;
    };
    Real TubeSidePressureLoss(const TubeLossArguments& arguments);

    // Pressure loss of a single-phase medium across the baffled bundle. Asks
    // the construction data (TfmGapCalc), appends the pitch, the bundle
    // clearance and the casing gap to `report` and the loss line to
    // ExtraReport; returns the loss, kPa. With fewer than two shell passes the
    // line says the loss is not computed and nothing is asked.
    struct ShellLossArguments {
        int shellPasses = 0, tubeCount = 0;
        bool staggered = false;
        Real wallTemperature = 0;    // mean wall temperature on the shell side, degC
        Real mediumTemperature = 0;  // mean temperature of the medium, degC
        Real tubeLength = 0, notchHeight = 0;
        Real flow_kg_h = 0;  // of one parallel stream
        Real tubeDiameter = 0, casingDiameter = 0;
    };
    std::optional<Real> ShellSidePressureLoss(const ShellLossArguments& arguments,
                                              std::string& report);

private:
    // The wall roughness of turbulent tube flow: typed (tube_loss.roughness),
    // or from the tube material (tube_loss.material) when "Default" is kept, mm.
    Real askTubeRoughness_mm();

    // Puts both flows back to the values they had when it was made, unless
    // the results were produced: a calculation that ends without results
    // leaves no intermediate flow behind. ReportResults keeps the flows of
    // every pair with it.
    class FlowKeeper {
    public:
        FlowKeeper(Real& tubeFlow, Real& shellFlow, const RunResults& results)
            : m_tube(tubeFlow),
              m_shell(shellFlow),
              m_tube0(tubeFlow),
              m_shell0(shellFlow),
              m_results(results) {}
        FlowKeeper(const FlowKeeper&) = delete;
        FlowKeeper& operator=(const FlowKeeper&) = delete;
        ~FlowKeeper() {
            if (!m_results.produced) m_tube = m_tube0, m_shell = m_shell0;
        }

    private:
        Real& m_tube;
        Real& m_shell;
        const Real m_tube0, m_shell0;
        const RunResults& m_results;
    };

protected:
    // The calculation of the pair. Fills `results`; the flow that was not given
    // is written back through its reference. Errors are thrown.
    virtual void Calculate(Real& tubeFlow, Real& shellFlow, RunResults& results) = 0;

    // Throws NumericalError naming the first result the report would show
    // that is not finite or lies beyond any exchanger (data far outside any
    // design), so the report never shows INF, NAN or such a number.
    void requireReportable(const RunResults& results) const;
    // The heading of the results block, and the line saying that a Run has
    // no results with its reason (none when the user left for the dialogs).
    void addResultsHeading();
    void addNoResultsLine(const std::string& reason);
    // The surface and losses of produced results, checked for the report.
    void completeResults(RunResults& results) const;
    // The results block's lines after its heading.
    void addResultLines(const RunResults& results);

    // The person chose to check the initial data: no results, and the Run
    // goes back to the data dialogs.
    static void leaveForInitialData(RunResults& results);
    // The temperature profile along the surface at x = 0, 1/12, ..., 1:
    // `temperaturesAt` gives the temperature of each of the `curveCount`
    // curves at x (curve 0 the shell side).
    void showProfile(std::size_t curveCount,
                     const std::function<std::vector<Real>(Real)>& temperaturesAt);

    // The input dialog of the iteration control: caption "Input of the data",
    // preset to `shown`; `value` takes the accepted number.
    void askIterationValue(const char* id, const std::string& prompt, const std::string& unit,
                           const std::string& shown, Real& value);

    // Properties of either medium at a temperature (tables left are logged).
    PropertySet tubeMixture(Real t);
    PropertySet shellMixture(Real t);
    // The correlations' language, port, range log and substance tables.
    CorrelationContext correlationContext();

    ExchangerContext m_context;
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
    Real TubePressure = 0, ShellPressure = 0;  // Pa, of a condensing or boiling medium
    // The component records of both streams (the global records of the Run).
    Substances TubeComponents, ShellComponents;
    // Segment notch.
    Real NotchDiameter = 0, NotchArea = 0, NotchAngle = 0, SegmentNotchHeight = 0;
    // What the pressure-loss operations computed last.
    struct TubeLossResult {
        bool computed = false;
        Real lambda = 0, reynoldsIn = 0, zetaEnds = 0, zetaBend = 0, roughness_mm = 0, loss = 0;
    } TubeLoss;
    ShellLossBreakdown ShellLoss;
};

}  // namespace vexamo
