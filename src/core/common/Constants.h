#pragma once
// Fixed constants of the program and small unit converters.
#include "common/Real.h"

namespace vexamo {

inline constexpr Real kZeroCelsius_K =
    273.15L;  // 0 degC in K; also the reduced temperature's scale
inline constexpr Real kPi = 3.141592653589793238462643383279502884L;
// 1 kgf/cm2 = 98 066.5 Pa = 735.559 mm Hg (the technical atmosphere, not the
// physical one of 760 mm Hg).
inline constexpr Real kMmHgPerKgfCm2 = 735.559L;  // kgf/cm2 -> mm Hg
inline constexpr Real kPaPerMmHg = 133.3L;        // the program's mm Hg -> Pa factor
inline constexpr Real kGasConstant = 8314.46L;    // J/(kmol*K)
// m2*K/W: the fouling of both sides together unless the design gives its own
inline constexpr Real kFoulingResistance = 1.0L / 5800.0L;
// The default fouling of each side: half of the allowance, so that the two
// add up to it exactly (halving is exact in binary).
inline constexpr Real kDefaultSideFouling = kFoulingResistance / 2;
// The largest fouling resistance of one side a design takes, m2*K/W: several
// times the heaviest fouling of the usual tables (about 0.002).
inline constexpr Real kMaxSideFouling = 0.01L;

// Typed kgf/cm2 -> mm Hg, as the technological data dialog enters it.
inline Real kgfcm2ToMmHg(Real pressure_kgfcm2) { return pressure_kgfcm2 * kMmHgPerKgfCm2; }
inline Real mmHgToPa(Real pressure_mmHg) { return pressure_mmHg * kPaPerMmHg; }
// Stored Pa -> kgf/cm2, as the dialog shows it back (divided by 133.3, then by
// the mm Hg of one kgf/cm2).
inline Real paToKgfcm2(Real pressure_Pa) { return pressure_Pa / kPaPerMmHg / kMmHgPerKgfCm2; }

}  // namespace vexamo
