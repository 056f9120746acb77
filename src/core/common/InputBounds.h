#pragma once
// The largest values that can still describe a process stream of a
// shell-and-tube exchanger. A typed value beyond one of them is refused where
// it is entered (the technological form, the JSON problem reader), with the
// field named: the property tables and equilibrium data end far below, and
// such a number is a slip of the keyboard, not a design case.
#include <optional>
#include <string>

#include "common/Real.h"
#include "common/Text.h"

namespace vexamo {

inline constexpr Real kMaxInletTemperature_C = 1000;
inline constexpr Real kMaxPressure_kgfcm2 = 200;
inline constexpr Real kMaxFlowRate_kg_h = 1e8;

// The refusal of a typed inlet temperature, pressure or flow rate beyond its
// bound, in the form's language and ending with the text as typed; nothing
// when the value is within.
std::optional<std::string> temperatureBeyondBound(Real temperature_C,
                                                  LanguageFlagType languageFlag);
std::optional<std::string> pressureBeyondBound(Real pressure_kgfcm2, LanguageFlagType languageFlag);
std::optional<std::string> flowRateBeyondBound(Real flowRate_kg_h, LanguageFlagType languageFlag);

// The refusal of a heating-cooling pair whose heated medium does not enter
// colder than the cooled one: no heat can flow the way the pair says.
std::optional<std::string> inletsWithoutDrivingForce(Real heated_C, Real cooled_C,
                                                     LanguageFlagType languageFlag);

// The most tubes of outer diameter d (m) a casing of inner diameter D (m)
// can hold at the smallest usual pitch, 1.25 d, triangular for a staggered
// bundle and square otherwise: the casing's cross-section over the area each
// tube takes (0.866 t^2 or t^2). An upper bound: a real layout holds fewer.
Real mostTubesInCasing(Real shellDiameter, Real outerDiameter, bool staggered);

// The warning that a bundle cannot fit in its casing, in the language asked
// for; nothing when it may fit or no casing is given.
std::optional<std::string> bundleDoesNotFit(unsigned tubeCount, Real shellDiameter,
                                            Real outerDiameter, bool staggered,
                                            LanguageFlagType languageFlag);

}  // namespace vexamo
