#pragma once
// The heat-flux balances of the phase-change exchangers, and small geometric
// and thermal means.
#include "common/Real.h"
#include "exchanger/CorrelationContext.h"

namespace vexamo {

// Halvings after which every bisection below stops, whatever its bracket.
inline constexpr int kMaxHalvings = 256;

// The flux q >= 0 (W/m2) with
//   (D/dt) q + (E/dt) q^(1-a) + (F/dt) q^(1-b) = 1,
// i.e. the temperature difference dt split over a wall resistance D and two
// films whose coefficients depend on the flux as q^a and q^b. Bisection on
// [0, q_max], q_max the smallest of (dt/E)^(1/(1-a)), dt/D and
// (dt/F)^(1/(1-b)), until the bracket is narrower than 1e-5; the result is the
// midpoint of the final bracket.
// - A negative dt, D, E or F sends the warning "Thermophysical properties or
//   temperature are incorrectly chosen. " (id correlation.flux_balance_input)
//   and returns -1.
// - A zero D, E or F is a resistance that is not there: its term is left out
//   of the equation and of q_max. With all three zero there is no finite flux:
//   NumericalError.
// - Exponents a, b of 1 or more (the equation would not rise with q) and
//   arguments that are not numbers throw NumericalError.
// - The bisection also stops after kMaxHalvings halvings or when the bracket
//   cannot be narrowed in Real any more; the midpoint is then as close as Real
//   can hold.
Real SolveFluxBalance(Real a, Real b, Real dt, Real D, Real E, Real F,
                      const CorrelationContext& context = {});

// The u >= 0 (u = q^(1/3)) with (B/dt) u + (C/dt) u^3 + (D/dt) u^4 = 1, by
// bisection on [0, min((dt/C)^(1/3), dt/B, (dt/D)^(1/4))] to a bracket below
// 1e-7; the same warning and -1 for a negative argument, the same treatment of
// zero terms, halvings and non-numbers as SolveFluxBalance.
Real SolveFluxBalanceQuartic(Real dt, Real B, Real C, Real D,
                             const CorrelationContext& context = {});

// Central angle theta (rad) of a circular segment from x = 2A/R^2, i.e. the
// root of theta - sin(theta) = x for 0 <= x <= pi. Series below x = 1e-4,
// bisection on [x, pi] to a relative bracket of 1e-4 above. An x outside
// [0, pi] (or not a number) throws CalculationAborted("  Incorrectly set the
// area of a segment and (or) its radius. ", Russian by the language).
Real SegmentAngle(Real x, const CorrelationContext& context = {});

// Logarithmic mean of two temperature differences; a series when they differ
// by less than 1e-4 relative, 0 when both are 0. A mean that is not finite
// (differences of opposite sign and equal size) throws NumericalError.
Real LogMeanDifference(Real dt1, Real dt2);

}  // namespace vexamo
