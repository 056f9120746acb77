#include "equilibrium/Tarnix1.h"

namespace vexamo {

void Tarnrun(const SubstanceData& data, std::uint16_t first, std::uint16_t second,
             std::uint8_t& DataAbsentFlag) {
    DataAbsentFlag = 1;
    if (first >= data.BinaryDataTable.size()) return;
    const MIX& row = data.BinaryDataTable[first];
    if (second >= row.size()) return;
    const Equil& set = row[second];
    if (set.Count == 0 || set.Count > kMaxEquilPoints) return;
    if (set.LiquidX.size() < set.Count || set.VapourY.size() < set.Count ||
        set.Temperature.size() < set.Count)
        return;
    DataAbsentFlag = 0;
}

bool MeasuredReversed(const SubstanceData& data, std::uint16_t first, std::uint16_t second) {
    std::uint8_t absent = 1, reversedAbsent = 1;
    Tarnrun(data, first, second, absent);
    Tarnrun(data, second, first, reversedAbsent);
    if (reversedAbsent == 1 || data.BinaryDataTable[second][first].Mirrored) return false;
    return absent == 1 || data.BinaryDataTable[first][second].Mirrored;
}

}  // namespace vexamo
