#include "equilibrium/TxyTable.h"

#include <algorithm>
#include <array>
#include <cmath>

#include "common/Constants.h"
#include "common/Errors.h"
#include "equilibrium/EquilibriumCalculations.h"
#include "equilibrium/EquilibriumUnits.h"

namespace vexamo {

namespace {

void addMeasuredPoints(const SubstanceData& data, const EquilibriumModel& model, TxyTable& table) {
    const Equil& set = data.binary(model.Substances[0] + 1, model.Substances[1] + 1);
    const std::size_t count = std::min<std::size_t>(
        {set.Count, set.LiquidX.size(), set.VapourY.size(), set.Temperature.size()});
    for (std::size_t k = 0; k < count; ++k) {
        table.measuredX.push_back(set.LiquidX[k]);
        table.measuredY.push_back(set.VapourY[k]);
        table.measuredT_C.push_back(set.Temperature[k]);
    }
    table.measuredPressure_Pa = set.Pressure;
}

}  // namespace

TxyTable computeTxyTable(const SubstanceData& data, const EquilibriumModel& model, Real pressure_Pa,
                         int points) {
    TxyTable table;
    const Real first = bubbleStartTau(pressure_Pa);
    const int n = std::max(points, 2);
    for (int k = 0; k < n; ++k) {
        const Real x1 = k / static_cast<Real>(n - 1);
        std::array<Real, 7> liquid{x1, 1 - x1}, vapour{}, work{};
        Real tau = 0, pressure = pressure_Pa;
        table.x.push_back(x1);
        try {
            EquilibriumPoint(data, 't', 'y', tau, vapour, work, liquid, model, pressure, first,
                             kBubbleSecondStartTau);
            table.y.push_back(vapour[0]);
            table.t_C.push_back((tau - 1) * kZeroCelsius_K);
        } catch (const CalculationAborted& e) {
            table.failures.push_back({x1, e.what()});
            table.y.push_back(NAN);
            table.t_C.push_back(NAN);
        }
    }
    addMeasuredPoints(data, model, table);
    return table;
}

}  // namespace vexamo
