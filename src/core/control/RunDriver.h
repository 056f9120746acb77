#pragma once
// One press of Run: load offer, technological data, stream preparation, design
// data, save offer, the initial-data block, then the exchanger of the pair.
#include <functional>
#include <string>

#include "control/Session.h"
#include "dialogs/Dialogs.h"
#include "exchanger/Exchanger.h"

namespace vexamo {

// The initial-data block of the report (one addition; its CR LF make lines).
std::string initialDataBlock(const DesignRecord& design, LanguageFlagType languageFlag);

// PrepareStream (given-state letter, stream digit, phase letter, record,
// correction cell, temperature result, entered value).
using StreamPreparer =
    std::function<void(std::uint8_t givenState, char streamDigit, std::uint8_t phaseLetter,
                       TechnSet& record, Real& correction, Real& temperature, Real enteredValue)>;

enum class RunOutcome {
    Results,        // the exchanger wrote its results
    NoResults,      // the Run ended without results (no pair, not built, the calculation failed)
    Aborted,        // a condition that ends the calculation: its message was shown
    Cancelled,      // the person cancelled: the problem and the report are as before the Run
    ExitRequested,  // the person chose to end the program; Results.reason says where
};

struct RunSettings {
    StreamPreparer prepareStream;                   // empty: PrepareStream
    const ExchangerRegistry* exchangers = nullptr;  // null: builtInExchangers()
};

// "Warning: ..." lines, one for each datum a Run used outside its range.
std::vector<std::string> validityWarnings(const RangeLog& log, LanguageFlagType languageFlag);

// The Run. Questions go through `dialogs`; a CalculationAborted raised
// anywhere ends the Run with its message (error box) and keeps the program,
// the report and the loaded problem; so does a fault of the program, told as
// an internal error. A person's decision to stop is an outcome too: nothing
// escapes but what the dialogs themselves throw for their own front end.
RunOutcome runCalculation(Session& session, Dialogs& dialogs, const RunSettings& settings = {});

}  // namespace vexamo
