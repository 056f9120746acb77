#include "properties/SubstanceRecords.h"

#include <stdexcept>
#include <string>
#include <utility>

namespace vexamo {

const std::array<const char*, 7> PropertyKindName = {
    "all", "density", "vap_press", "enthalp_l", "enthalp_v", "enthalp_c", "enthalp_s"};

Equil mirroredSet(const Equil& source, Real pressure_Pa) {
    Equil mirror;
    mirror.Count = source.Count;
    mirror.LiquidX.reserve(source.LiquidX.size());
    for (Real x : source.LiquidX) mirror.LiquidX.push_back(1.0L - x);
    mirror.VapourY.reserve(source.VapourY.size());
    for (Real y : source.VapourY) mirror.VapourY.push_back(1.0L - y);
    mirror.Temperature = source.Temperature;
    mirror.Pressure = pressure_Pa;
    mirror.Mirrored = !source.Mirrored;
    // Each model keeps (A12, A21) side by side; NRTL's alpha12 is symmetric.
    mirror.StartValues = source.StartValues;
    std::swap(mirror.StartValues[0], mirror.StartValues[1]);  // Wilson
    std::swap(mirror.StartValues[2], mirror.StartValues[3]);  // UNIQUAC
    std::swap(mirror.StartValues[4], mirror.StartValues[5]);  // NRTL
    return mirror;
}

std::optional<std::size_t> SubstanceData::tryFindSubstance(const std::string& name) const {
    std::optional<std::size_t> found;
    for (std::size_t i = 0; i < SubstanceTable.size(); ++i) {
        const Pro& record = SubstanceTable[i];
        if (record.EnglishName == name || record.RussianName == name) found = i;
    }
    return found;
}

std::size_t SubstanceData::findSubstance(const std::string& name) const {
    return tryFindSubstance(name).value_or(0);
}

const Equil& SubstanceData::binary(int first1, int second1) const {
    const auto size = static_cast<int>(BinaryDataTable.size());
    if (first1 < 1 || first1 > size) {
        throw std::out_of_range("binary data set: substance number " + std::to_string(first1) +
                                " outside 1.." + std::to_string(size));
    }
    const MIX& row = BinaryDataTable[static_cast<std::size_t>(first1 - 1)];
    if (second1 < 1 || second1 > static_cast<int>(row.size())) {
        throw std::out_of_range("binary data set: substance number " + std::to_string(second1) +
                                " outside 1.." + std::to_string(row.size()));
    }
    return row[static_cast<std::size_t>(second1 - 1)];
}

Real SubstanceData::groupInteraction(int m1, int n1) const {
    if (m1 < 1 || m1 > kMainGroupCount || n1 < 1 || n1 > kMainGroupCount) {
        throw std::out_of_range("group interaction: main groups (" + std::to_string(m1) + ", " +
                                std::to_string(n1) + ") outside 1.." +
                                std::to_string(kMainGroupCount));
    }
    return GroupInteractionTable[static_cast<std::size_t>(m1 - 1)]
                                [static_cast<std::size_t>(n1 - 1)];
}

}  // namespace vexamo
