#pragma once
// The messages of the heating-cooling pair (THeatCoolObj) in both languages:
// what its model needs of the data, why no outlet balances the heat, the
// errors of its numerical steps, and its progress label.
#include <string>
#include <vector>

#include "common/Real.h"
#include "common/Text.h"

namespace vexamo::heatCoolTexts {

std::string passesNotEven(LanguageFlagType lang, int tubePasses);
std::string designNeeded(LanguageFlagType lang);
// The fixed shell outlet (40 degC) on the wrong side of the shell inlet T2in
// for the shell medium's process, or of the tube inlet T1in.
std::string shellInletBeyondOutlet(LanguageFlagType lang, bool shellCooled, Real T2in);
std::string tubeInletBeyondOutlet(LanguageFlagType lang, bool shellCooled, Real T1in);
// No outlet balances both media over the installed surface (m2): with the
// shell flow given, no tube flow brings the shell medium to 40 degC.
std::string noBalance(LanguageFlagType lang, bool shellFlowGiven, Real installed, Real T1in,
                      Real T2in);
std::string noPositiveFlow(LanguageFlagType lang, Real T1out);
std::string coefficientNotPositive(LanguageFlagType lang);
std::string meanStateUnsettled(LanguageFlagType lang, Real T1out);
std::string balanceNotANumber(LanguageFlagType lang);
std::string progressLabel(LanguageFlagType lang);

// The boxes of the iteration: the mean temperature of each tube pass, and
// the mean state at the end.
std::string passTemperatures(const std::vector<Real>& passes);
std::string meanState(Real shellMean, Real tubeMean, Real T2out, Real T1out, Real heatFlux);

}  // namespace vexamo::heatCoolTexts
