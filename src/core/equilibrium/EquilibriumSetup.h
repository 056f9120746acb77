#pragma once
// The interactive set-up of a mixture's equilibrium model: the method, then
// for every pair of components the binary parameters fitted to the built-in
// measured data, entered by the person, or taken from the reference table,
// every step logged in the report.
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "common/Text.h"
#include "dialogs/Dialogs.h"
#include "dialogs/ReportMemo.h"
#include "equilibrium/EquilibriumModel.h"
#include "equilibrium/ParameterFitting.h"
#include "properties/SubstanceRecords.h"

namespace vexamo {

inline constexpr Real kParameterScale = 2.27107836L;  // kJ/mole per unit of A

// What the set-up reads and leaves of the program's state; the caller builds
// it from its own (the Run: equilibriumContext in control/RunContexts.h).
struct EquilibriumContext {
    LanguageFlagType language;      // of the questions and the memo lines
    const SubstanceData& data;      // substance table, binary data sets, group interactions
    ReportMemo& report;             // the memo when fitProgress has none yet
    FitProgress& fitProgress;       // the fits' counter and memo; carries over between set-ups
    std::vector<PairSetup>& pairs;  // receives what the set-up did for each pair
    std::vector<std::string>& componentNames;  // receives the components' names, current language
    Dialogs& dialogs;
};

// RunEquilibriumSetup(context, n, substance numbers, model, method) for n =
// 2..6 components (0-based substance numbers). Questions go through
// context.dialogs (equilibrium.method, equilibrium.unifac_variant,
// equilibrium.unifac_source, equilibrium.data_absent, equilibrium.parameters,
// fit.slow_convergence), the memo lines to the memo given by SetFitReportMemo
// (context.fitProgress, else context.report), the wait label through
// dialogs.setWaitLabel. Fills `model` and `method`, context.componentNames and
// context.pairs. The person's choice to end the program throws
// ProgramExitRequested; a mixture beyond the tables' limits throws
// CalculationAborted.
void RunEquilibriumSetup(const EquilibriumContext& context, int n,
                         std::span<const std::uint16_t> substances, EquilibriumModel& model,
                         char& method);

// The result text of a two-parameter or NRTL pair: "  l12-l11 = 1.2538 kJ/mole;  l21-l22 = ...".
std::string pairResultText(char methodLetter, const EquilibriumModel& model, int i, int j,
                           LanguageFlagType languageFlag);

}  // namespace vexamo
