#pragma once
// Film coefficients of the heat-exchanger calculation: single-phase flow in
// the tubes and across the bundle, film condensation, nucleate boiling.
// Criterion equations with fixed regime boundaries; between neighbouring
// regimes the two forms are blended linearly over a narrow band of the
// governing number. Temperatures degC, lengths m, mass flows kg/h, film
// coefficients W/(m2*K), g = 9.81 m/s2. The properties are those of the
// mixture (PureProperties of each component, then MixtureProperties) at the
// temperature each form prescribes.
//
// Every film coefficient returned is a positive finite number: a form that
// gives zero, a negative value or not a number (a negative expansion
// coefficient under a root, a zero temperature difference under free
// convection) throws NumericalError naming the correlation, so that no caller
// divides by it.
#include <span>

#include "common/Real.h"
#include "exchanger/CorrelationContext.h"
#include "exchanger/CorrelationSolvers.h"
#include "exchanger/CorrelationTables.h"
#include "properties/PropertyFunctions.h"

namespace vexamo {

// The mixture of `count` components (1..6) at t degC. Throws
// CalculationAborted for a count outside 1..6 or spans shorter than it.
PropertySet MixtureAt(std::span<const Pro> components, std::span<const Real> composition, int count,
                      Real t, RangeLog* rangeLog = nullptr);

struct TubeSideResult {
    Real alpha = 0;     // film coefficient, W/(m2*K)
    Real velocity = 0;  // w, m/s
    Real reynolds = 0;  // bulk Re at t
    // Of the last state formed (the laminar/transitional one at (t + t_w)/2
    // whenever Re < 10050, the turbulent one at t otherwise):
    Real rayleigh = 0;        // Gr*Pr
    Real prandtlRatio = 0;    // Pr / Pr_w
    Real viscosityRatio = 0;  // mu / mu_w
};

// Single-phase flow inside the tubes: flowPerTube_kg_h through one tube of
// inner diameter d and length L; mode flag set (the program always passes 1)
// selects the viscosity-ratio exponents 0.14 and 0.11. Regimes by the bulk
// Re: turbulent from 10050, laminar/transitional below 9950 (by Ra viscous
// below 790000, viscous-gravitational from 810000), linear blends in between;
// the coefficient is continuous in Re, Ra and Pe d/L.
TubeSideResult TubeSideCoefficient(std::span<const Pro> components,
                                   std::span<const Real> composition, int count, int modeFlag,
                                   bool horizontal, Real tw, Real t, Real flowPerTube_kg_h, Real d,
                                   Real L, const CorrelationContext& context = {});

struct ShellSideResult {
    Real alpha = 0;     // W/(m2*K)
    Real velocity = 0;  // m/s
    Real reynolds = 0;
};

// Single-phase flow across the bundle at the mass velocity G/S
// (kg/(h*m2)) past tubes of outer diameter d; forced convection from Re 210,
// free convection below Re 190 (length d for a horizontal, L for a vertical
// bundle), blended in between; Gr takes |t_w - t| (a heated or a cooled
// medium). Free convection with Gr*Pr below 1000 has no data:
// CalculationAborted("Нет данных пpи Gr*Pr < 1E+03").
ShellSideResult ShellSideCoefficient(bool horizontal, std::span<const Real> composition,
                                     std::span<const Pro> components, int count, bool staggered,
                                     Real tw, Real t, Real massVelocity_kg_hm2, Real d, Real L,
                                     const CorrelationContext& context = {});

// Film condensation inside the tubes, the factor alpha' of alpha =
// alpha' * q^m. Horizontal tube space: only the built-in water (one
// component, the second record of the substance table by English or Russian
// name), alpha' = 1.36 (11.833 - t/30) X^-0.25 Y^0.35; anything else throws
// CalculationAborted with the water-only text. Otherwise the film form with
// X unused and Y the tube length.
Real CondensationCoefficient(bool horizontalTubeSpace, int count, std::span<const Pro> components,
                             std::span<const Real> composition, Real tw, Real t, Real X, Real Y,
                             const CorrelationContext& context = {});

// Film condensation on the bundle, the factor alpha' of alpha = alpha' *
// q^(-1/3): horizontal over the height Hh with the row correction of n rows,
// vertical over the height Hv.
Real BundleCondensationCoefficient(int n, bool staggered, bool horizontal,
                                   std::span<const Real> composition,
                                   std::span<const Pro> components, int count, Real tw, Real t,
                                   Real Hh, Real Hv, const CorrelationContext& context = {});

// Density of the saturated vapour over a medium of molar mass M (kg/kmol) at
// t degC and p Pa, as an ideal gas: p M / (R T), kg/m3. Near 1 MPa real steam
// is some 7 % denser (compressibility Z = 0.93).
Real SaturatedVapourDensity(Real pressure_Pa, Real molarMass, Real t);

// Nucleate boiling at t degC under the medium's own pressure (Pa): the factor
// B of alpha = B * q^(2/3). The vapour density of the correlation is that of
// the saturated vapour at this pressure. A pressure that is not above zero
// throws CalculationAborted.
Real BoilingCoefficient(int count, std::span<const Pro> components,
                        std::span<const Real> composition, Real t, Real pressure_Pa,
                        const CorrelationContext& context = {});

}  // namespace vexamo
