#pragma once
// The messages of the outlet iteration (TOutletIterationObj) in both
// languages: why the data do not suffice, why an approximation left the
// admissible interval, why the duty is impossible, and the errors of its
// numerical steps. The texts of each pair (progress label, driving-force
// warning) come with its Setup.
#include <string>

#include "common/Real.h"
#include "common/Text.h"

namespace vexamo::outletIterationTexts {

// What the explanations say about the pair and its duty.
struct Duty {
    bool heated = true;                // the single-phase medium is heated (against condensation)
    bool phaseChangeFlowGiven = true;  // the flow of the condensing or boiling medium is given
    Real drivingForceLimit = 1;        // K
    Real saturation = 0;               // Ts, degC
    Real inlet = 0;                    // Tin of the single-phase medium, degC
};

std::string designNeeded(LanguageFlagType lang);
std::string latentHeatNotPositive(LanguageFlagType lang, Real saturation);
// The heat balance changed side between two outlets that no longer differ.
std::string balanceJumps(LanguageFlagType lang, Real outlet);
std::string surfaceRatioNotANumber(LanguageFlagType lang);
// The heat-flux balance has no solution at the end `end` (0 inlet, 1 outlet,
// 2 mean state) for the temperature difference.
std::string fluxBalanceUnsolved(int end, Real difference);
// The heading of the driving-force warning.
std::string incorrectMode(LanguageFlagType lang);

// Why the approximation T left the interval: too near saturation, or hardly
// away from the inlet.
std::string outsideInterval(LanguageFlagType lang, const Duty& duty, Real T, bool nearSaturation);
// Why no outlet balances the heat over the installed surface (m2).
std::string impossibleDuty(LanguageFlagType lang, const Duty& duty, bool atSaturation,
                           Real installed);

}  // namespace vexamo::outletIterationTexts
