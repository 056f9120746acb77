#include "equilibrium/EquilibriumUnits.h"

#include <algorithm>

namespace vexamo {

std::vector<Real> massPercentFromMoleFractions(std::span<const Real> moleFractions,
                                               std::span<const Real> molarMasses) {
    const std::size_t n = std::min(moleFractions.size(), molarMasses.size());
    Real sum = 0;
    for (std::size_t i = 0; i < n; ++i) sum += moleFractions[i] * molarMasses[i];
    std::vector<Real> percent;
    for (std::size_t i = 0; i < n; ++i)
        percent.push_back(moleFractions[i] * molarMasses[i] * 100 / sum);
    return percent;
}

}  // namespace vexamo
