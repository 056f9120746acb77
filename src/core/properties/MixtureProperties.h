#pragma once
// Properties of a mixture from those of its components, and the in-place
// matrix inversion of the equilibrium solver.
#include <cstdint>
#include <span>
#include <vector>

#include "common/Real.h"
#include "properties/PropertyFunctions.h"

namespace vexamo {

// The three small sums over the first n elements.
Real sumProducts(std::span<const Real> a, std::span<const Real> b, int n);   // sum a*b
Real sumQuotients(std::span<const Real> a, std::span<const Real> b, int n);  // sum a/b
Real sumProductQuotients(std::span<const Real> a, std::span<const Real> b, std::span<const Real> c,
                         int n);  // sum a*b/c

// Combines the n component sets (each at the same temperature) with the
// composition c (mass per cent, not normalised) by the fixed mixing rules,
// with the weight fractions w_i = c_i / 100:
//   M = 1 / sum(w_i / M_i), rho = sum w_i rho_i, volume fractions
//   phi_i = (w_i / rho_i) / sum(w_j / rho_j), mu = rho / sum(phi_i rho_i / mu_i),
//   sigma = (rho sum w_i sigma_i^(1/4) / rho_i)^4, cp, beta and r weighted by
//   w_i, lambda = sum_i sum_j phi_i phi_j 2 / (1/lambda_i + 1/lambda_j) and
//   Pr = cp mu / lambda.
// The result's VapourEnthalpyValue is left as it was. A component with a
// density, viscosity or conductivity that is not positive throws
// CalculationAborted.
void MixtureProperties(PropertySet& result, std::span<const PropertySet> components,
                       std::span<const Real> composition, int n);

using Matrix_ = std::vector<std::vector<Real>>;
using Ivec_ = std::vector<std::uint16_t>;

// Gauss-Jordan elimination with full pivoting, in place, for the matrix of
// highest index n ((n + 1) x (n + 1)). A pivot below the tolerance throws
// CalculationAborted("matrix is singular"); an overflow throws NumericalError.
void InvertMatrix(int n, Matrix_& a, Real tolerance);

}  // namespace vexamo
