#pragma once
// Fixed constants of the program and small unit converters.
#include "common/Real.h"

namespace vexamo {

inline constexpr Real kPi = 3.141592653589793238462643383279502884L;
inline constexpr Real kMmHgPerKgfCm2 = 760.0L;  // the program's kgf/cm2 -> mm Hg factor
inline constexpr Real kPaPerMmHg = 133.3L;      // the program's mm Hg -> Pa factor
inline constexpr Real kFoulingResistance = 1.0L / 5800.0L;  // m2*K/W, fixed allowance

// Typed kgf/cm2 -> mm Hg, as the technological data dialog enters it.
inline Real kgfcm2ToMmHg(Real pressure_kgfcm2) { return pressure_kgfcm2 * kMmHgPerKgfCm2; }
inline Real mmHgToPa(Real pressure_mmHg) { return pressure_mmHg * kPaPerMmHg; }
// Stored Pa -> kgf/cm2, as the dialog shows it back (divided by 133.3, then by 760).
inline Real paToKgfcm2(Real pressure_Pa) { return pressure_Pa / kPaPerMmHg / kMmHgPerKgfCm2; }

}  // namespace vexamo
