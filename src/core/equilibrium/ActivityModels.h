#pragma once
// Liquid-phase activity coefficients by Wilson, NRTL, UNIQUAC and UNIFAC.
// Temperatures are reduced, tau = T / 273.15 (T in K); every interaction
// parameter enters divided by tau. Results are the coefficients themselves,
// not their logarithms. No checks: a zero divisor or an overflow gives
// non-finite values that the callers test for.
#include <span>
#include <string>
#include <vector>

#include "common/Real.h"
#include "equilibrium/EquilibriumModel.h"
#include "properties/SubstanceRecords.h"

namespace vexamo {

// r = sum nu_k R_k, q = sum nu_k Q_k over the block's groups in their stored
// order; writes the block's PureFractions nu_k / sum nu.
void ComponentGroupSums(GroupBlock& block, Real& r, Real& q);

// The liquid molar volumes (m3/kmol) of the named components at the reduced
// temperature tau, i.e. at (tau - 1) * 273.15 degC, for Wilson and NRTL.
std::array<Real, kMaxMixtureComponents> MolarVolumes(const SubstanceData& data,
                                                     std::span<const std::string> names, int n,
                                                     Real tau);

// Lambda_ij = (V_j / V_i) exp(-a_ij / tau).
void WilsonActivity(int n, std::span<const Real> x, const Matrix6& a, Real tau,
                    std::span<const Real> volumes, std::span<Real> gamma);

// G_ji = (V_i / V_j) exp(-alpha_ji g_ji / tau).
void NrtlActivity(int n, std::span<const Real> x, const Matrix6& alpha, const Matrix6& g, Real tau,
                  std::span<const Real> volumes, std::span<Real> gamma);

// The combinatorial part, coordination number 10.
void CombinatorialActivity(int n, std::span<const Real> q, std::span<const Real> r,
                           std::span<const Real> x, std::span<Real> gammaC);

// The residual factor of UNIQUAC form for m species with surface parameters
// Q, fractions X and interaction matrix a.
void ResidualActivity(int m, std::span<const Real> Q, std::span<const Real> X, const Matrix11& a,
                      Real tau, std::span<Real> Gamma);

// gamma = gamma_C * gamma_R with q, r of the components; writes the
// combinatorial factors into `combinatorialGamma`.
void UniquacActivity(int n, std::span<const Real> x, const Matrix11& u, Real tau,
                     std::span<const Real> q, std::span<const Real> r,
                     std::span<Real> combinatorialGamma, std::span<Real> gamma);

// The group mole fractions of the mixture: X_m = sum_i x_i nu_mi / sum_i x_i sum_k nu_ki,
// nu_mi the count of component i's group with the main-group number and
// subgroup letter of group m.
void GroupFractions(int n, const GroupList& groups, std::span<const GroupBlock> blocks,
                    std::span<const Real> x, std::span<Real> X);

// gamma_i = gamma_C_i * prod over the component's groups k of
// (Gamma_m / Gamma_k^(i))^nu_k, m the mixture group of the same main-group
// number and subgroup letter. Each block needs its PureFractions and
// PureInteraction.
void UnifacActivity(int n, const GroupList& groups, std::span<const GroupBlock> blocks,
                    std::span<const Real> gammaC, const Matrix11& interaction,
                    std::span<const Real> X, Real tau, std::span<Real> gamma);

}  // namespace vexamo
