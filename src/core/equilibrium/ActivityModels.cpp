#include "equilibrium/ActivityModels.h"

#include <cmath>

#include "common/Constants.h"
#include "properties/PropertyFunctions.h"

namespace vexamo {

namespace {

constexpr Real kReducedUnit_K = kZeroCelsius_K;

std::size_t at(int i) { return static_cast<std::size_t>(i); }

}  // namespace

const char* methodName(char methodLetter) {
    switch (methodLetter) {
        case 'N':
            return "NRTL";
        case 'Q':
            return "UNIQUAC";
        case 'F':
            return "UNIFAC";
        default:
            return "Wilson";
    }
}

void ComponentGroupSums(GroupBlock& block, Real& r, Real& q) {
    r = 0;
    q = 0;
    Real count = 0;
    for (int k = 0; k < block.GroupCount; ++k) {
        const Real nu = block.Occurrences[at(k)];
        r += nu * block.VolumeR[at(k)];
        q += nu * block.SurfaceQ[at(k)];
        count += nu;
    }
    for (int k = 0; k < block.GroupCount; ++k)
        block.PureFractions[at(k)] = block.Occurrences[at(k)] / count;
}

std::array<Real, kMaxMixtureComponents> MolarVolumes(const SubstanceData& data,
                                                     std::span<const std::string> names, int n,
                                                     Real tau) {
    std::array<Real, kMaxMixtureComponents> v{};
    const Real t = (tau - 1) * kReducedUnit_K;
    for (int i = 0; i < n; ++i) v[at(i)] = MolarVolume(data, names[at(i)], t);
    return v;
}

void WilsonActivity(int n, std::span<const Real> x, const Matrix6& a, Real tau,
                    std::span<const Real> V, std::span<Real> gamma) {
    Matrix6 lambda{};
    for (int i = 0; i < n; ++i)
        for (int j = 0; j < n; ++j)
            lambda[at(i)][at(j)] =
                i == j ? 1.0L : (V[at(j)] / V[at(i)]) * std::exp(-a[at(i)][at(j)] / tau);
    std::array<Real, kMaxMixtureComponents> S{};
    for (int i = 0; i < n; ++i)
        for (int j = 0; j < n; ++j) S[at(i)] += x[at(j)] * lambda[at(i)][at(j)];
    for (int i = 0; i < n; ++i) {
        Real sum = 0;
        for (int k = 0; k < n; ++k) sum += x[at(k)] * lambda[at(k)][at(i)] / S[at(k)];
        gamma[at(i)] = std::exp(1 - sum) / S[at(i)];
    }
}

void NrtlActivity(int n, std::span<const Real> x, const Matrix6& alpha, const Matrix6& g, Real tau,
                  std::span<const Real> V, std::span<Real> gamma) {
    // t[j][i] = tau_ji, G[j][i] = G_ji
    Matrix6 t{}, G{};
    for (int j = 0; j < n; ++j)
        for (int i = 0; i < n; ++i) {
            if (i == j) {
                t[at(j)][at(i)] = 0;
                G[at(j)][at(i)] = 1;
            } else {
                t[at(j)][at(i)] = g[at(j)][at(i)] / tau;
                G[at(j)][at(i)] =
                    (V[at(i)] / V[at(j)]) * std::exp(-alpha[at(j)][at(i)] * t[at(j)][at(i)]);
            }
        }
    std::array<Real, kMaxMixtureComponents> S{}, C{};
    for (int i = 0; i < n; ++i)
        for (int j = 0; j < n; ++j) {
            S[at(i)] += x[at(j)] * G[at(j)][at(i)];
            C[at(i)] += x[at(j)] * t[at(j)][at(i)] * G[at(j)][at(i)];
        }
    for (int i = 0; i < n; ++i) {
        Real lnGamma = C[at(i)] / S[at(i)];
        for (int j = 0; j < n; ++j)
            lnGamma +=
                (x[at(j)] * G[at(i)][at(j)] / S[at(j)]) * (t[at(i)][at(j)] - C[at(j)] / S[at(j)]);
        gamma[at(i)] = std::exp(lnGamma);
    }
}

void CombinatorialActivity(int n, std::span<const Real> q, std::span<const Real> r,
                           std::span<const Real> x, std::span<Real> gammaC) {
    Real sumR = 0, sumQ = 0, sumL = 0;
    std::array<Real, kMaxGroups> l{};
    for (int i = 0; i < n; ++i) {
        sumR += x[at(i)] * r[at(i)];
        sumQ += x[at(i)] * q[at(i)];
        l[at(i)] = 5 * (r[at(i)] - q[at(i)]) - (r[at(i)] - 1);
        sumL += x[at(i)] * l[at(i)];
    }
    for (int i = 0; i < n; ++i) {
        const Real phiOverX = r[at(i)] / sumR;
        const Real thetaOverPhi = (q[at(i)] / r[at(i)]) * (sumR / sumQ);
        gammaC[at(i)] =
            phiOverX * std::pow(thetaOverPhi, 5 * q[at(i)]) * std::exp(l[at(i)] - phiOverX * sumL);
    }
}

void ResidualActivity(int m, std::span<const Real> Q, std::span<const Real> X, const Matrix11& a,
                      Real tau, std::span<Real> Gamma) {
    std::array<Real, kMaxGroups> theta{}, S{};
    Real sumQX = 0;
    for (int k = 0; k < m; ++k) sumQX += Q[at(k)] * X[at(k)];
    for (int j = 0; j < m; ++j) theta[at(j)] = Q[at(j)] * X[at(j)] / sumQX;
    Matrix11 t{};
    for (int i = 0; i < m; ++i)
        for (int j = 0; j < m; ++j)
            t[at(i)][at(j)] = i == j ? 1.0L : std::exp(-a[at(i)][at(j)] / tau);
    for (int i = 0; i < m; ++i)
        for (int j = 0; j < m; ++j) S[at(i)] += theta[at(j)] * t[at(j)][at(i)];
    for (int i = 0; i < m; ++i) {
        Real sum = 0;
        for (int j = 0; j < m; ++j) sum += theta[at(j)] * t[at(i)][at(j)] / S[at(j)];
        Gamma[at(i)] = std::exp(Q[at(i)] * (1 - std::log(S[at(i)]) - sum));
    }
}

void UniquacActivity(int n, std::span<const Real> x, const Matrix11& u, Real tau,
                     std::span<const Real> q, std::span<const Real> r,
                     std::span<Real> combinatorialGamma, std::span<Real> gamma) {
    CombinatorialActivity(n, q, r, x, combinatorialGamma);
    std::array<Real, kMaxGroups> residual{};
    ResidualActivity(n, q, x, u, tau, residual);
    for (int i = 0; i < n; ++i) gamma[at(i)] = combinatorialGamma[at(i)] * residual[at(i)];
}

namespace {

// The count of component `block`'s group equal to mixture group m (main-group
// number and subgroup letter), 0 when the component has no such group.
Real occurrencesOf(const GroupBlock& block, std::uint8_t mainGroup, char letter) {
    for (int k = 0; k < block.GroupCount; ++k)
        if (block.MainGroup[at(k)] == mainGroup && block.SubgroupLetter[at(k)] == letter)
            return block.Occurrences[at(k)];
    return 0;
}

}  // namespace

void GroupFractions(int n, const GroupList& groups, std::span<const GroupBlock> blocks,
                    std::span<const Real> x, std::span<Real> X) {
    Real total = 0;
    for (int i = 0; i < n; ++i) {
        Real count = 0;
        for (int k = 0; k < blocks[at(i)].GroupCount; ++k)
            count += blocks[at(i)].Occurrences[at(k)];
        total += x[at(i)] * count;
    }
    for (int m = 0; m < groups.GroupCount; ++m) {
        Real sum = 0;
        for (int i = 0; i < n; ++i)
            sum += x[at(i)] * occurrencesOf(blocks[at(i)], groups.MainGroup[at(m)],
                                            groups.SubgroupLetter[at(m)]);
        X[at(m)] = sum / total;
    }
}

void UnifacActivity(int n, const GroupList& groups, std::span<const GroupBlock> blocks,
                    std::span<const Real> gammaC, const Matrix11& interaction,
                    std::span<const Real> X, Real tau, std::span<Real> gamma) {
    std::array<Real, kMaxGroups> mixture{};
    ResidualActivity(groups.GroupCount, groups.SurfaceQ, X, interaction, tau, mixture);
    for (int i = 0; i < n; ++i) {
        const GroupBlock& block = blocks[at(i)];
        std::array<Real, kMaxGroups> pure{};
        if (block.GroupCount == 1)
            pure[0] = 1;
        else
            ResidualActivity(block.GroupCount, block.SurfaceQ, block.PureFractions,
                             block.PureInteraction, tau, pure);
        Real product = 1;
        for (int k = 0; k < block.GroupCount; ++k)
            // A group is paired with the mixture group of the same main-group
            // number and subgroup letter, as in the group fractions: pairing by
            // the main group alone would count a group twice when two subgroups
            // of its main group are in the mixture.
            for (int m = 0; m < groups.GroupCount; ++m)
                if (groups.MainGroup[at(m)] == block.MainGroup[at(k)] &&
                    groups.SubgroupLetter[at(m)] == block.SubgroupLetter[at(k)])
                    product *= std::pow(mixture[at(m)] / pure[at(k)],
                                        static_cast<Real>(block.Occurrences[at(k)]));
        gamma[at(i)] = gammaC[at(i)] * product;
    }
}

}  // namespace vexamo
