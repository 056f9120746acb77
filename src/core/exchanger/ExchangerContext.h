#pragma once
// What an exchanger reads and writes of the Run besides the records it gets
// by value: the language, the substance data, the report and the progress
// line, the flows, the condensation correction, the results, the validity
// log, the technological form's texts, and the way back to the data dialogs.
// It holds references into the Run's state; the Run makes it where it makes
// the exchanger, so that nothing in this folder depends on the Run's own
// types.
#include <functional>
#include <type_traits>

#include "common/Real.h"
#include "common/Text.h"
#include "dialogs/ReportMemo.h"
#include "dialogs/TechnologicalDialog.h"
#include "properties/PropertyFunctions.h"
#include "properties/SubstanceRecords.h"

namespace vexamo {

class Dialogs;
struct RunResults;

struct ExchangerContext {
    LanguageFlagType language;                      // LanguageFlag when the exchanger is made
    const SubstanceData& data;                      // the substance tables
    const TechnologicalDialogModel& technological;  // its process texts head the results
    ReportMemo& report;
    const int& progressLineIndex;  // the report line that the progress line replaces
    Real& tubeFlow;                // kg/hour, the given one and the one found
    Real& shellFlow;
    Real& condensationCorrection;  // the air correction of the condensing medium
    RunResults& results;           // of the last calculation
    RangeLog& validity;            // the data used outside their ranges
    // The technological form again, when the person leaves to check the data.
    std::function<void(Dialogs&)> enterTechnologicalData;

    // From the Run's state (its Session), whose members of the same names
    // it refers to. Implicit, so that the state itself can be handed where an
    // exchanger is made.
    // clang-format off
    template <typename RunState>
        requires(!std::is_same_v<std::remove_cv_t<RunState>, ExchangerContext>)
    ExchangerContext(RunState& s)  // NOLINT(google-explicit-constructor)
        : language(s.LanguageFlag),
          data(s.Data),
          technological(s.TechnoDialog),
          report(s.Report),
          progressLineIndex(s.ProgressLineIndex),
          tubeFlow(s.TubeFlow),
          shellFlow(s.ShellFlow),
          condensationCorrection(s.CondensationCorrection),
          results(s.Results),
          validity(s.Validity),
          enterTechnologicalData([&s](Dialogs& dialogs) { TechnoActionExecute(s, dialogs); }) {}
    // clang-format on
};

}  // namespace vexamo
