#pragma once
// The messages of boiling against condensation (TBoilingCondensingObj) in
// both languages. The texts of the boiling pairs with a single-phase medium
// come with their Setup (BoilingExchangers.cpp).
#include <string>

#include "common/Real.h"
#include "common/Text.h"

namespace vexamo::boilingTexts {

// The warning of a driving force Tc - Tb below 1 K: too small, or negative.
std::string drivingForceWarning(LanguageFlagType lang, Real difference, Real Tb, Real Tc);
std::string latentHeatNotPositive(LanguageFlagType lang);
// Why a heat-flux balance of the two films gave no results.
inline constexpr const char* kNegativeBalance =
    "the heat-flux balance got a negative temperature difference or resistance";
inline constexpr const char* kNoDifference = "no heat flows without a temperature difference";

}  // namespace vexamo::boilingTexts
