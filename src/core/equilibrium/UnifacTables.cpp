#include "equilibrium/UnifacTables.h"

#include <string>

#include "common/Errors.h"

namespace vexamo {

namespace {

std::size_t at(int i) { return static_cast<std::size_t>(i); }

void checkMainGroup(int number) {
    if (number < 1 || number > kMainGroupCount)
        throw CalculationAborted("UNIFAC main-group number " + std::to_string(number) +
                                 " outside 1.." + std::to_string(kMainGroupCount));
}

std::size_t letterIndex(char letter) {
    switch (letter) {
        case 'A':
            return 0;
        case 'B':
            return 1;
        case 'C':
            return 2;
        default:
            return 3;
    }
}

}  // namespace

void UnifacTables::reset(const GroupInteractionMatrix& reference, char variant) {
    Variant = variant;
    MainTable = reference;
    Groups = GroupList{};
    m_subgroups.assign(static_cast<std::size_t>(kMainGroupCount) * kMainGroupCount * 16, 0.0L);
}

Real& UnifacTables::mainEntry(int m1, int n1) {
    checkMainGroup(m1);
    checkMainGroup(n1);
    return MainTable[at(m1 - 1)][at(n1 - 1)];
}

Real UnifacTables::mainEntry(int m1, int n1) const {
    checkMainGroup(m1);
    checkMainGroup(n1);
    return MainTable[at(m1 - 1)][at(n1 - 1)];
}

std::size_t UnifacTables::subgroupIndex(int m1, int n1, char letterM, char letterN) {
    checkMainGroup(m1);
    checkMainGroup(n1);
    return ((at(m1 - 1) * kMainGroupCount + at(n1 - 1)) * 16) + letterIndex(letterM) * 4 +
           letterIndex(letterN);
}

Real& UnifacTables::subgroupEntry(int m1, int n1, char letterM, char letterN) {
    if (m_subgroups.empty())
        m_subgroups.assign(static_cast<std::size_t>(kMainGroupCount) * kMainGroupCount * 16, 0.0L);
    return m_subgroups[subgroupIndex(m1, n1, letterM, letterN)];
}

Real UnifacTables::subgroupEntry(int m1, int n1, char letterM, char letterN) const {
    if (m_subgroups.empty()) return 0;
    return m_subgroups[subgroupIndex(m1, n1, letterM, letterN)];
}

int groupParameterCount(const GroupList& groups, char variant) {
    const int g = variant == '1' ? groups.DistinctCount : groups.GroupCount;
    return g * (g - 1);
}

void StoreGroupParameter(UnifacTables& tables, int m, int n, Real value) {
    if (m == n) return;
    const GroupList& g = tables.Groups;
    if (tables.Variant == '1')
        tables.mainEntry(g.DistinctMain[at(m)], g.DistinctMain[at(n)]) = value;
    else
        tables.subgroupEntry(g.MainGroup[at(m)], g.MainGroup[at(n)], g.SubgroupLetter[at(m)],
                             g.SubgroupLetter[at(n)]) = value;
}

void BuildGroupInteractionMatrix(const UnifacTables& tables, int count,
                                 std::span<const std::uint8_t> mainGroups,
                                 std::span<const char> letters, Matrix11& matrix) {
    for (int k = 0; k < count; ++k)
        for (int l = 0; l < count; ++l) {
            Real& entry = matrix[at(k)][at(l)];
            if (tables.Variant == '1') {
                entry = mainGroups[at(k)] == mainGroups[at(l)]
                            ? 0.0L
                            : tables.mainEntry(mainGroups[at(k)], mainGroups[at(l)]);
            } else {
                entry = k == l ? 0.0L
                               : tables.subgroupEntry(mainGroups[at(k)], mainGroups[at(l)],
                                                      letters[at(k)], letters[at(l)]);
            }
        }
}

GroupList MergeGroupLists(std::span<const GroupBlock> blocks) {
    GroupList list;
    for (const GroupBlock& block : blocks)
        for (int k = 0; k < block.GroupCount; ++k) {
            bool merged = false;
            for (int m = 0; m < list.GroupCount && !merged; ++m)
                merged = list.MainGroup[at(m)] == block.MainGroup[at(k)] &&
                         list.SubgroupLetter[at(m)] == block.SubgroupLetter[at(k)];
            if (merged) continue;
            if (list.GroupCount == kMaxGroups)
                throw CalculationAborted("the mixture has more than " + std::to_string(kMaxGroups) +
                                         " UNIFAC groups");
            const std::size_t m = at(list.GroupCount++);
            list.MainGroup[m] = block.MainGroup[at(k)];
            list.SubgroupLetter[m] = block.SubgroupLetter[at(k)];
            list.SurfaceQ[m] = block.SurfaceQ[at(k)];
            list.VolumeR[m] = block.VolumeR[at(k)];
        }
    for (int m = 0; m < list.GroupCount; ++m) {
        bool known = false;
        for (int d = 0; d < list.DistinctCount && !known; ++d)
            known = list.DistinctMain[at(d)] == list.MainGroup[at(m)];
        if (!known) list.DistinctMain[at(list.DistinctCount++)] = list.MainGroup[at(m)];
    }
    return list;
}

}  // namespace vexamo
