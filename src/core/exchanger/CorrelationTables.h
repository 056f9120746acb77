#pragma once
// The fixed tables and small correction factors the heat-transfer and
// pressure-loss correlations rest on.
#include "common/Real.h"
#include "exchanger/CorrelationContext.h"

namespace vexamo {

// Entrance-length factor eps_l of turbulent tube flow against Re and L/d.
// Re <= 1e4 or L/d < 10 gives 1.23; Re > 1e6 or L/d > 50 gives 1.0; inside
// the 5 x 5 table bilinear interpolation (along L/d within the two rows
// first, then along Re). A Re or L/d that is not a number throws
// NumericalError.
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
// exponential forms up to 21 rows, constants from 22 rows on.
Real RowCorrection(int n, bool staggered);

// Factor of the condensation coefficient for the air content of steam, % by
// mass: 1 below 1e-4 %, 0.18 above 5 %.
Real CondensateFactor(Real airContent_percent);

}  // namespace vexamo
