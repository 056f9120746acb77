#pragma once
// The fixed tables and small correction factors the heat-transfer and
// pressure-loss correlations rest on.
#include "common/Real.h"
#include "exchanger/CorrelationContext.h"

namespace vexamo {

// Entrance-length factor eps_l of turbulent tube flow against Re and L/d.
// Bilinear interpolation in the 5 x 5 table (along L/d within the two rows
// first, then along Re); Re and L/d outside the table are clamped to its
// edges (Re 1e4 ... 1e6, L/d 10 ... 50), so the factor is continuous. A Re or
// L/d that is not a number throws NumericalError.
Real EntranceLengthFactor(Real Re, Real lengthRatio);

// Angle-of-attack factor eps_phi for phi in degrees, 10 <= phi <= 90, linear
// in the 10-degree table. The bundle correlation uses phi = 25.334 only; an
// angle outside the table throws CalculationAborted.
Real AttackAngleFactor(Real phi_deg);

// The constants of the bundle friction factor (shell-side pressure loss).
struct BundleFriction {
    Real b1 = 0, b2 = 0, b3 = 0, b4 = 0;
};

// Chooses b1, b2 by the Reynolds number (first of Re > 10000, > 1000, > 100,
// > 10, > 0) and the arrangement, b3, b4 by the arrangement. For Re <= 0 (or a
// Re that is not a number) sends the error "Wrong parameter Re = <Re>"
// (English in both languages, id correlation.wrong_parameter), leaves
// `constants` as it was and returns false.
[[nodiscard]] bool BundleFrictionConstants(bool staggered, Real Re, BundleFriction& constants,
                                           const CorrelationContext& context = {});

// Diametral clearance between the casing and the outer tube limit, mm, for the
// construction kind v (1..4, in the order of the shell-side loss dialog) and
// the inner shell diameter in mm. Another v sends "Wrong parameter v = <v>"
// (id correlation.wrong_parameter), leaves `clearance_mm` as it was and
// returns false.
[[nodiscard]] bool BundleClearance(int v, Real shellDiameter_mm, Real& clearance_mm,
                                   const CorrelationContext& context = {});

// Correction eps_n of condensation on a bundle for n tube rows on a vertical:
// exponential forms up to 21 rows, the 21-row value beyond; never above 1
// (one row is one tube). Non-increasing in n. n < 1 throws CalculationAborted.
Real RowCorrection(int n, bool staggered);

// Factor of the condensation coefficient for the air content of steam, % by
// mass: 1 for pure steam, at most 1, the 5 % value above 5 %; continuous.
Real CondensateFactor(Real airContent_percent);

}  // namespace vexamo
