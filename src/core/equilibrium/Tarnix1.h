#pragma once
// Whether the built-in binary data table holds usable measured equilibrium
// data for an ordered pair of substances.
#include <cstdint>

#include "properties/SubstanceRecords.h"

namespace vexamo {

// Sets DataAbsentFlag to 1 exactly when the ordered pair (first, second)
// (0-based substance numbers) has no usable data set: a number outside the
// table, a set with Count 0, more than 60 points or columns shorter than its
// count; otherwise to 0.
void Tarnrun(const SubstanceData& data, std::uint16_t first, std::uint16_t second,
             std::uint8_t& DataAbsentFlag);

// Whether the pair is to be fitted on the set of (second, first): that set is
// usable and was measured so, while the set of (first, second) is absent or
// only its mirror. The fit compares the first substance's vapour fraction
// only, so it is made on the set as measured and the parameters serve the
// other order with their indices exchanged.
bool MeasuredReversed(const SubstanceData& data, std::uint16_t first, std::uint16_t second);

}  // namespace vexamo
