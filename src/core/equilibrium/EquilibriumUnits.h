#pragma once
// The units the equilibrium parameters are shown in, the start values of a
// bubble-point search, and the mass per cents of an equilibrium phase.
#include <span>
#include <vector>

#include "common/Constants.h"
#include "common/Real.h"

namespace vexamo {

// A Wilson, NRTL or UNIQUAC energy parameter A (stored in units of
// R x 273.15 K) in kJ/mole: the two factors one after the other, as the
// report prints it.
inline Real energyParameterKiloJoules(Real A) { return A * 8.3144L * 0.27315L; }

// A UNIFAC group parameter (stored divided by 273.15) in K.
inline Real groupParameterKelvin(Real a) { return a * kZeroCelsius_K; }

// The two start values of the reduced temperature tau = T / 273.15 K for a
// bubble point at a given pressure: above 1000 mm Hg the search starts
// higher (109 degC rather than 55 degC).
inline Real bubbleStartTau(Real pressure_Pa) { return pressure_Pa > 133300 ? 1.4L : 1.2L; }
inline constexpr Real kBubbleSecondStartTau = 1.01L;

// The mass per cents of a phase from its mole fractions and the components'
// molar masses (kg/kmol), one per mole fraction: x_i M_i 100 / sum x_j M_j.
std::vector<Real> massPercentFromMoleFractions(std::span<const Real> moleFractions,
                                               std::span<const Real> molarMasses);

}  // namespace vexamo
