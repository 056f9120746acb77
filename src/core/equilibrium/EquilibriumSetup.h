#pragma once
// The interactive set-up of a mixture's equilibrium model: the method, then
// for every pair of components the binary parameters fitted to the built-in
// measured data, entered by the person, or taken from the reference table,
// every step logged in the report.
#include <cstdint>
#include <span>
#include <string>

#include "common/Text.h"
#include "control/Session.h"
#include "dialogs/Dialogs.h"
#include "equilibrium/EquilibriumModel.h"

namespace vexamo {

inline constexpr Real kParameterScale = 2.27107836L;  // kJ/mole per unit of A

// RunEquilibriumSetup(n, substance numbers, model, method) for n = 2..6
// components (0-based substance numbers). Questions go through `dialogs`
// (equilibrium.method, equilibrium.unifac_variant, equilibrium.unifac_source,
// equilibrium.data_absent, equilibrium.parameters, fit.slow_convergence), the
// memo lines to the memo given by SetFitReportMemo (session.FitState), the
// wait label through dialogs.setWaitLabel. Fills `model` and `method`,
// session.ComponentNames and session.EquilibriumPairs. The person's choice to
// end the program throws ProgramExitRequested; a mixture beyond the tables'
// limits throws CalculationAborted.
void RunEquilibriumSetup(Session& session, Dialogs& dialogs, int n, std::span<const std::uint16_t> substances,
                         EquilibriumModel& model, char& method);

// The result text of a two-parameter or NRTL pair: "  l12-l11 = 1.2538 kJ/mole;  l21-l22 = ...".
std::string pairResultText(char methodLetter, const EquilibriumModel& model, int i, int j,
                           LanguageFlagType languageFlag);

}  // namespace vexamo
