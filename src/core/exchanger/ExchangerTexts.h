#pragma once
// The texts that several process pairs show alike, in both languages: the
// checks of the given data, the bound of the iteration, the progress line and
// the driving-force warning.
#include <string>

#include "common/Real.h"
#include "common/Text.h"

namespace vexamo::exchangerTexts {

std::string givenFlowNotPositive(LanguageFlagType lang);
std::string casingDiameterNeeded(LanguageFlagType lang);
// The calculation ended because its iterations over all restarts passed `limit`.
std::string iterationLimitReached(LanguageFlagType lang, int limit);
// The progress line of one iteration: `label` names the outlet (it starts
// with "; " and ends with " = "), T is its approximation, degC.
std::string progressLine(LanguageFlagType lang, int iteration, const std::string& label, Real T);
// A driving force of the heat transfer below its limit but not negative.
std::string drivingForceTooSmall(LanguageFlagType lang, Real difference);
// The warning of a heat-transfer medium faster than 2.5 m/s, with the ways
// to slow it down.
std::string speedWarning(LanguageFlagType lang, Real speed);

}  // namespace vexamo::exchangerTexts
