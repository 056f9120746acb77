#pragma once
// What the Run needs of an exchanger: one object per Run, built from the
// records by the class of the process pair, that runs the whole calculation
// and writes the results block.
#include <array>
#include <functional>
#include <memory>
#include <string>

#include "common/Real.h"
#include "exchanger/ExchangerContext.h"
#include "problem/ProblemRecords.h"

namespace vexamo {

class Dialogs;
struct ExchangerContext;

// The process-pair classes.
enum class ExchangerClass : int {
    None = 0,
    TConBoilObj,
    TConHeatObj,
    TBoilConObj,
    TBoilCoolObj,
    THeatConObj,
    THeatCoolObj,
    TCoolBoilObj,
};

// The dispatch table: pair code 1..8 to its class (8 uses the class of 6),
// anything else to None.
ExchangerClass exchangerClassFor(int pairCode);
const char* exchangerClassName(ExchangerClass cls);

// What one calculation produced, for the report, the results file and tests.
// What one side of the exchanger shows besides its film coefficient.
struct SideFigures {
    Real velocity = 0;  // m/s of its single-phase film at the mean state; 0: no such film
    Real reynolds = 0;
    bool lossComputed = false;  // its pressure loss was computed
    Real loss_kPa = 0;
    std::string lossReason;  // why it could not be computed, when it was tried
};

struct RunResults {
    bool produced = false;  // the calculation supplied results
    bool converged = true;  // false: the iteration was stopped before the heat balance was reached
    std::string reason;     // why there are no results
    Real TubeCoefficient = 0, ShellCoefficient = 0, OverallCoefficient = 0;  // W/(m2*K)
    Real Speed = 0;                                                          // m/s
    Real HeatFlux = 0;                                                       // W/m2
    Real HeatFlow = 0;                                                       // J/hour
    Real Surface = 0;           // m2, the surface the heat flow needs
    Real InstalledSurface = 0;  // m2, the surface of the tubes as built; 0 when not reported
    Real BalanceRatio = 1;
    int Iterations = 0;
    bool hasOutlet = false;  // the iterated outlet temperature
    int outletSide = 1;      // 1 tube space, 2 shell space
    Real OutletTemperature = 0;
    Real OtherOutletTemperature = 0;  // the outlet of the other stream, when it has one
    SideFigures TubeSide, ShellSide;
};

class ExchangerObject {
public:
    virtual ~ExchangerObject() = default;
    // Runs the calculation with its own questions and appends the results to
    // the report; false when it ended without results. The flow that was not
    // given is written back into the session.
    virtual bool ReportResults(Real tubeFlow, Real shellFlow) = 0;
};

// Everything a constructor receives: the records by value, FlowSide,
// KeepSurface, the Run's state it reads and writes, and the port it reports
// through.
struct ExchangerArguments {
    TechnSet tube;
    TechnSet shell;
    std::uint8_t flowSide = 0;
    DesignRecord design;
    bool keepSurface = true;
    ExchangerContext context;
    Dialogs& dialogs;
};

using ExchangerFactory = std::function<std::unique_ptr<ExchangerObject>(const ExchangerArguments&)>;

// The constructors of the classes that are built; a class without one is
// reported as not built yet.
class ExchangerRegistry {
public:
    void add(ExchangerClass cls, ExchangerFactory factory);
    const ExchangerFactory* find(ExchangerClass cls) const;

private:
    std::array<ExchangerFactory, 8> m_factories;
};

// The registry of every class this program has.
const ExchangerRegistry& builtInExchangers();

// The report's line that a Run ended without results, and the reason on a
// line of its own when there is one.
std::string noResultsText(LanguageFlagType lang, const std::string& reason);

}  // namespace vexamo
