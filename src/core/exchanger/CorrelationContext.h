#pragma once
// What the heat-transfer correlations need besides their arguments: the
// language of their texts, where a warning goes that is shown and then gone
// on from, and where the property evaluations note the tables they left.
//
// Messages sent to `dialogs` (all with MessageKind as listed):
//   "correlation.flux_balance_input"  Warning  a flux-balance solver got a
//       negative temperature difference or resistance; it returns -1.
//   "correlation.wrong_parameter"     Error    "Wrong parameter v = " + kind
//       (BundleClearance) or "Wrong parameter Re = " + value
//       (BundleFrictionConstants); the outputs keep their values.
// Conditions that end the calculation throw CalculationAborted with the text
// the person sees (no message is sent for them here).
#include <string>

#include "common/Real.h"
#include "common/Text.h"

namespace vexamo {

class Dialogs;
class RangeLog;
struct SubstanceData;

struct CorrelationContext {
    LanguageFlagType languageFlag = kEnglish;
    // Receives the warnings; none are shown when null.
    Dialogs* dialogs = nullptr;
    // Notes the property tables left by an evaluation; none when null.
    RangeLog* rangeLog = nullptr;
    // The substance table whose second record is the water of the built-in
    // data; the built-in table itself when null.
    const SubstanceData* substances = nullptr;
};

inline constexpr const char* kFluxBalanceInputId = "correlation.flux_balance_input";
inline constexpr const char* kWrongParameterId = "correlation.wrong_parameter";

}  // namespace vexamo
