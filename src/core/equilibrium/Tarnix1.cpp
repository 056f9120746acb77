#include "equilibrium/Tarnix1.h"

namespace vexamo {

void Tarnrun(const SubstanceData& data, std::uint16_t first, std::uint16_t second, std::uint8_t& DataAbsentFlag) {
    DataAbsentFlag = 1;
    if (first >= data.BinaryDataTable.size()) return;
    const MIX& row = data.BinaryDataTable[first];
    if (second >= row.size()) return;
    const Equil& set = row[second];
    if (set.Count == 0 || set.Count > kMaxEquilPoints) return;
    if (set.LiquidX.size() < set.Count || set.VapourY.size() < set.Count || set.Temperature.size() < set.Count)
        return;
    DataAbsentFlag = 0;
}

}  // namespace vexamo
