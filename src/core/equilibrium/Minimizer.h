#pragma once
// The unconstrained minimiser of the parameter fits: Polak-Ribiere conjugate
// gradients with a central-difference gradient, a golden-section line search
// and a restart with steepest descent every N iterations.
#include <array>
#include <cstdint>
#include <functional>

#include "common/Real.h"

namespace vexamo {

inline constexpr int kMaxFitParameters = 66;
using FitVector = std::array<Real, kMaxFitParameters>;
using Objective = std::function<Real(const FitVector&)>;

// Iterations after which the slow-convergence question is asked, and how
// often a person may choose to go on before the fit is given up.
inline constexpr std::uint16_t kSlowConvergenceIterations = 30000;
inline constexpr int kMaxSlowConvergenceRetries = 10;

// Called when the iteration count passes kSlowConvergenceIterations. Returning
// goes on (the count starts again from 0); to stop, the handler throws.
using SlowConvergenceHandler = std::function<void()>;

// G[i] = (F(X + h e_i) - F(X - h e_i)) / (2h), h = lambda / 100, for the
// first n parameters.
void CentralGradient(const FitVector& X, int n, Real lambda, const Objective& F, FitVector& G);

// The step along D from X that the golden section on [0, T] finds: it narrows
// the interval while eps < (b - a) * (sum D^2)^2 and returns its midpoint.
Real GoldenSectionSearch(const FitVector& X, const FitVector& D, int n, Real T, Real eps,
                         const Objective& F);

// Minimises F over X[0..lastIndex]. On return X holds the minimiser, minimum
// the last objective value and iterations the count since the start (or since
// the last time the slow-convergence handler returned). `iterations` and
// `minimum` are updated as the iteration goes, for the progress line.
// An objective value that is not finite, an expansion or line search that
// does not end, or more than kMaxSlowConvergenceRetries continuations throw
// NumericalError.
void GradientMinimize(int lastIndex, std::uint16_t& iterations, Real& minimum, Real eps,
                      FitVector& X, const Objective& F,
                      const SlowConvergenceHandler& onSlowConvergence);

}  // namespace vexamo
