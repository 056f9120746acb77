#pragma once
// The equilibrium model of one mixture: what the set-up decides (method,
// parameter matrices, UNIFAC group list) and what the equilibrium
// calculations read for the rest of the Run.
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "common/Real.h"
#include "common/Text.h"
#include "properties/SubstanceRecords.h"

namespace vexamo {

class RangeLog;

inline constexpr int kMaxMixtureComponents = 6;

// Wilson and NRTL matrices: [i][j] belongs to the ordered pair (i, j).
using Matrix6 = std::array<std::array<Real, kMaxMixtureComponents>, kMaxMixtureComponents>;
// UNIQUAC (rows 0..5 used) and UNIFAC group matrices.
using Matrix11 = std::array<std::array<Real, kMaxGroups>, kMaxGroups>;

// A list of UNIFAC groups: a group is a main-group number with a subgroup
// letter. Also the distinct main-group numbers of the list, in the order of
// first appearance.
struct GroupList {
    int GroupCount = 0;
    std::array<std::uint8_t, kMaxGroups> MainGroup{};
    std::array<char, kMaxGroups> SubgroupLetter{};
    std::array<Real, kMaxGroups> SurfaceQ{};
    std::array<Real, kMaxGroups> VolumeR{};
    int DistinctCount = 0;
    std::array<std::uint8_t, kMaxGroups> DistinctMain{};
};

struct EquilibriumModel {
    char MethodLetter = 'W';  // 'W' Wilson, 'N' NRTL, 'Q' UNIQUAC, 'F' UNIFAC
    std::array<std::uint16_t, kMaxMixtureComponents> Substances{};  // 0-based substance numbers
    std::uint8_t ComponentCount = 0;
    GroupList Groups;  // UNIFAC: the mixture's merged group list
    Matrix6 NrtlAlpha{};
    Matrix6 NrtlA{};
    Matrix6 WilsonA{};
    Matrix11 UniquacA{};
    Matrix11 GroupInteraction{};  // UNIFAC: the mixture's group-interaction matrix
    std::array<GroupBlock, kMaxMixtureComponents>
        ComponentGroups{};  // with PureFractions, PureInteraction

    // Left by the set-up for the equilibrium calculations.
    std::vector<std::string> ComponentNames;  // current language, at most 20 characters
    std::array<Real, kMaxMixtureComponents> UniquacQ{};
    std::array<Real, kMaxMixtureComponents> UniquacR{};
    char UnifacVariant = '1';
    LanguageFlagType Language = kEnglish;
    // Where a state found outside the range of a substance's Antoine
    // constants is noted (the Run's log); none: not noted.
    RangeLog* Validity = nullptr;
};

// What the set-up did for one pair of components, for the results of a
// front end. Values are as the model stores them: A (dimensionless, x 2.27108
// gives kJ/mole), alpha, or a / 273.15 for UNIFAC groups.
struct PairSetup {
    enum class Origin { Fitted, Entered, Reference };
    int First = 0, Second = 0;  // positions in the component list
    char MethodLetter = 'W';
    Origin Source = Origin::Fitted;
    std::vector<std::string> Labels;  // "l12-l11", "alp12", "a[1,5]", "a[1A,5A]", ...
    std::vector<char> Kinds;          // 'E' energy A, 'a' alpha, 'G' group a / 273.15
    std::vector<Real> Values;
    int Points = 0;  // fitted: measured points
    Real RmsY = 0;   // fitted: sqrt(S / n) at the result
    std::uint32_t Iterations = 0;
    std::uint32_t Evaluations = 0;
};

// The method's name as the texts use it: "Wilson", "NRTL", "UNIQUAC", "UNIFAC".
const char* methodName(char methodLetter);

}  // namespace vexamo
