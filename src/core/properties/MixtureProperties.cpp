#include "properties/MixtureProperties.h"

#include <cmath>
#include <string>
#include <utility>

#include "common/Errors.h"

namespace vexamo {

Real sumProducts(std::span<const Real> a, std::span<const Real> b, int n) {
    Real s = 0;
    for (std::size_t i = 0; i < static_cast<std::size_t>(n); ++i) s += a[i] * b[i];
    return s;
}

Real sumQuotients(std::span<const Real> a, std::span<const Real> b, int n) {
    Real s = 0;
    for (std::size_t i = 0; i < static_cast<std::size_t>(n); ++i) s += a[i] / b[i];
    return s;
}

Real sumProductQuotients(std::span<const Real> a, std::span<const Real> b, std::span<const Real> c,
                         int n) {
    Real s = 0;
    for (std::size_t i = 0; i < static_cast<std::size_t>(n); ++i) s += a[i] * b[i] / c[i];
    return s;
}

namespace {
constexpr int kMaxMixture = 6;
}

void MixtureProperties(PropertySet& result, std::span<const PropertySet> components,
                       std::span<const Real> composition, int n) {
    if (n < 1 || n > kMaxMixture || components.size() < static_cast<std::size_t>(n) ||
        composition.size() < static_cast<std::size_t>(n))
        throw CalculationAborted("a mixture has 1 to 6 components, " + std::to_string(n) +
                                 " were given");
    Real M[kMaxMixture], rho[kMaxMixture], mu[kMaxMixture], sigma4[kMaxMixture], cp[kMaxMixture],
        beta[kMaxMixture], r[kMaxMixture], w[kMaxMixture], phi[kMaxMixture];
    for (std::size_t i = 0; i < static_cast<std::size_t>(n); ++i) {
        const PropertySet& c = components[i];
        if (!(c.Density > 0) || !(c.Viscosity > 0) || !(c.Conductivity > 0))
            throw CalculationAborted(
                "component " + std::to_string(i + 1) +
                " of the mixture has no positive density, viscosity or conductivity");
        w[i] = composition[i] * 0.01L;  // the per cents are mass per cents
        M[i] = c.MolarMass;
        rho[i] = c.Density;
        mu[i] = c.Viscosity;
        sigma4[i] = std::sqrt(std::sqrt(c.SurfaceTension));  // sigma^(1/4)
        cp[i] = c.HeatCapacity;
        beta[i] = c.Expansion;
        r[i] = c.LatentHeat;
    }
    const Real molarMass = 1 / sumQuotients(w, M, n);
    const Real density = sumProducts(w, rho, n);
    const Real S = sumQuotients(w, rho, n);
    for (std::size_t i = 0; i < static_cast<std::size_t>(n); ++i) phi[i] = w[i] / rho[i] / S;
    const Real viscosity = density / sumProductQuotients(phi, rho, mu, n);
    const Real root = density * sumProductQuotients(w, sigma4, rho, n);
    const Real surfaceTension = (root * root) * (root * root);
    const Real heatCapacity = sumProducts(w, cp, n);
    const Real expansion = sumProducts(w, beta, n);
    const Real latentHeat = sumProducts(w, r, n);
    Real conductivity = 0;
    for (std::size_t i = 0; i < static_cast<std::size_t>(n); ++i)
        for (std::size_t j = 0; j < static_cast<std::size_t>(n); ++j)
            conductivity += phi[i] * phi[j] * 2 /
                            (1 / components[i].Conductivity + 1 / components[j].Conductivity);

    result.MolarMass = molarMass;
    result.Density = density;
    result.Viscosity = viscosity;
    result.SurfaceTension = surfaceTension;
    result.HeatCapacity = heatCapacity;
    result.Expansion = expansion;
    result.LatentHeat = latentHeat;
    result.Conductivity = conductivity;
    result.Prandtl = heatCapacity * viscosity / conductivity;
}

void InvertMatrix(int n, Matrix_& a, Real tolerance) {
    if (n < 0) throw CalculationAborted("matrix of negative size");
    const auto size = static_cast<std::size_t>(n) + 1;
    if (a.size() < size) throw CalculationAborted("matrix has too few rows");
    for (std::size_t row = 0; row < size; ++row)
        if (a[row].size() < size) throw CalculationAborted("matrix has too few columns");
    Ivec_ pivotColumn(size), pivotRow(size);

    for (std::size_t i = 0; i < size; ++i) {
        std::size_t pr = i, pc = i;
        Real pivot = a[i][i];
        for (std::size_t r = i; r < size; ++r)
            for (std::size_t c = i; c < size; ++c)
                if (std::fabs(a[r][c]) > std::fabs(pivot)) {
                    pivot = a[r][c];
                    pr = r;
                    pc = c;
                }
        pivotRow[i] = static_cast<std::uint16_t>(pr);
        pivotColumn[i] = static_cast<std::uint16_t>(pc);
        if (pc != i)
            for (std::size_t r = 0; r < size; ++r) std::swap(a[r][i], a[r][pc]);
        if (pr != i) std::swap(a[i], a[pr]);
        if (!(std::fabs(pivot) >= tolerance)) throw CalculationAborted("matrix is singular");

        for (std::size_t j = 0; j < size; ++j)
            if (j != i) a[j][i] = a[j][i] / -pivot;
        for (std::size_t k = 0; k < size; ++k)
            if (k != i)
                for (std::size_t l = 0; l < size; ++l)
                    if (l != i) a[k][l] = a[k][l] + a[k][i] * a[i][l];
        for (std::size_t l = 0; l < size; ++l)
            if (l != i) a[i][l] = a[i][l] / pivot;
        a[i][i] = 1 / pivot;
    }
    for (std::size_t j = size; j-- > 0;) {
        if (pivotColumn[j] > j) std::swap(a[j], a[pivotColumn[j]]);
        if (pivotRow[j] > j)
            for (std::size_t r = 0; r < size; ++r) std::swap(a[r][j], a[r][pivotRow[j]]);
    }
    for (std::size_t r = 0; r < size; ++r)
        for (std::size_t c = 0; c < size; ++c)
            if (!std::isfinite(a[r][c])) throw NumericalError("overflow in the matrix inversion");
}

}  // namespace vexamo
