#pragma once
// The UNIFAC working tables of the equilibrium set-up: interaction parameters
// (a / 273.15) between main groups and between subgroups, the group list of
// the pair or mixture at hand, and the routines that fill them.
#include <span>
#include <vector>

#include "common/Real.h"
#include "equilibrium/EquilibriumModel.h"
#include "properties/SubstanceRecords.h"

namespace vexamo {

class UnifacTables {
public:
    // '1': interactions between main groups only; '2': between subgroups.
    char Variant = '1';
    // a_mn / 273.15 for main-group numbers m, n = 1..19 at [m - 1][n - 1].
    GroupInteractionMatrix MainTable{};
    // The group list whose parameters StoreGroupParameter places.
    GroupList Groups;

    // Starts a UNIFAC set-up: the main-group table becomes a copy of the
    // reference table, the subgroup table is (re)allocated with zeros.
    void reset(const GroupInteractionMatrix& reference, char variant);

    // Main-group table entry of two main-group numbers (1..19); a number
    // outside throws CalculationAborted.
    Real& mainEntry(int m1, int n1);
    Real mainEntry(int m1, int n1) const;
    // Subgroup table entry: main-group numbers 1..19 and subgroup letters
    // (A, B, C or any other).
    Real& subgroupEntry(int m1, int n1, char letterM, char letterN);
    Real subgroupEntry(int m1, int n1, char letterM, char letterN) const;

private:
    static std::size_t subgroupIndex(int m1, int n1, char letterM, char letterN);
    std::vector<Real> m_subgroups;  // 19 x 19 x 16, first-letter-major
};

// The number of adjustable parameters of a group list: G (G - 1) with G its
// distinct main groups (variant '1') or its groups (variant '2').
int groupParameterCount(const GroupList& groups, char variant);

// Places one parameter (m != n, 0-based positions in the distinct main-group
// list for variant '1', in the group list for variant '2'); nothing for m = n.
void StoreGroupParameter(UnifacTables& tables, int m, int n, Real value);

// matrix[k][l] for the first `count` groups of a list: 0 for groups of one
// main group (variant '1') or k = l (variant '2'), otherwise the working
// table's entry.
void BuildGroupInteractionMatrix(const UnifacTables& tables, int count,
                                 std::span<const std::uint8_t> mainGroups,
                                 std::span<const char> letters, Matrix11& matrix);

// The group lists of `blocks` concatenated, every later group equal to an
// earlier one (main-group number and subgroup letter) merged into it, order
// of first appearance kept; then the distinct main-group numbers. More than
// 11 groups after merging throws CalculationAborted.
GroupList MergeGroupLists(std::span<const GroupBlock> blocks);

}  // namespace vexamo
