#pragma once
// The T-x-y table of a two-component mixture at one pressure: the bubble
// point at evenly spaced liquid compositions, computed by the mixture's
// equilibrium model, and the measured points of the pair beside it.
#include <string>
#include <vector>

#include "common/Real.h"
#include "equilibrium/EquilibriumModel.h"
#include "properties/SubstanceRecords.h"

namespace vexamo {

inline constexpr int kTxyPoints = 51;  // x = 0, 0.02, ..., 1

// A composition whose bubble point was not found, and why.
struct TxyFailure {
    Real x = 0;  // liquid mole fraction of the first component
    std::string reason;
};

struct TxyTable {
    // Liquid and vapour mole fractions of the first component and the
    // boiling temperature in degC; y and t_C are NaN where the point failed.
    std::vector<Real> x, y, t_C;
    std::vector<TxyFailure> failures;  // in the order of x
    // The built-in measured data of the pair (first component's fractions,
    // degC) and the pressure they were measured at, Pa.
    std::vector<Real> measuredX, measuredY, measuredT_C;
    Real measuredPressure_Pa = 0;
};

// The table of the first two components of `model` (set up for a mixture of
// two) at pressure_Pa, with `points` compositions from x = 0 to 1 (at least
// 2). A point whose bubble point cannot be found (CalculationAborted) is kept
// as a failure; the others go on.
TxyTable computeTxyTable(const SubstanceData& data, const EquilibriumModel& model, Real pressure_Pa,
                         int points = kTxyPoints);

}  // namespace vexamo
