#pragma once
// What an exchanger reads and writes of the Run besides the records it gets
// by value: the language, the substance data, the report and the progress
// line, the flows, the condensation correction, the results, the validity
// log, the technological form's texts, and the way back to the data dialogs.
// It holds references into the Run's state; the Run makes it where it makes
// the exchanger (exchangerContext in control/RunContexts.h), so that nothing
// in this folder depends on the Run's own types.
#include <functional>

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
};

}  // namespace vexamo
