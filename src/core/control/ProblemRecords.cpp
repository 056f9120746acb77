#include "control/ProblemRecords.h"

#include "common/Constants.h"

namespace vexamo {

namespace {
struct ProcessNames {
    const char* english;
    const char* russian;
};
constexpr std::array<ProcessNames, 4> kProcessNames{{
    {"condensation", "конденсация"},
    {"boiling", "кипение"},
    {"heating", "нагрев"},
    {"cooling", "охлаждение"},
}};
}  // namespace

const char* processName(int processCode, LanguageFlagType languageFlag) {
    if (processCode < 0 || processCode > 3) return "";
    const auto& n = kProcessNames[static_cast<std::size_t>(processCode)];
    return tr(languageFlag, n.english, n.russian);
}

int findProcessName(const std::string& name) {
    for (std::size_t i = 0; i < kProcessNames.size(); ++i)
        if (name == kProcessNames[i].english || name == kProcessNames[i].russian)
            return static_cast<int>(i);
    return -1;
}

int pairCode(int tubeProcess, int shellProcess) {
    // rows: tube process, columns: shell process
    static constexpr int table[4][4] = {
        {0, 1, 2, 0},  // condensation: boiling 1, heating 2
        {3, 0, 0, 4},  // boiling: condensation 3, cooling 4
        {5, 0, 0, 6},  // heating: condensation 5, cooling 6
        {0, 7, 8, 0},  // cooling: boiling 7, heating 8
    };
    if (tubeProcess < 0 || tubeProcess > 3 || shellProcess < 0 || shellProcess > 3) return 0;
    return table[tubeProcess][shellProcess];
}

std::uint8_t givenStateFor(int processCode) { return processCode <= 1 ? 'p' : 't'; }

std::uint8_t phaseChangeFor(int processCode) {
    if (processCode == 0) return 'x';
    if (processCode == 1) return 'y';
    return 0;
}

std::uint8_t singlePhaseFor(int processCode) { return processCode >= 2 ? 1 : 0; }

const std::array<TubeMaterial, 5> kTubeMaterials{{
    {"Aluminium", "Алюминий", 203.5L},
    {"Brass", "Латунь", 93.0L},
    {"Copper", "Медь", 384.0L},
    {"Gen.-purp. steel", "Сталь-3", 46.5L},
    {"Stainless steel", "Сталь неpж.", 17.5L},
}};

int findMaterial(const std::string& text) {
    for (std::size_t i = 0; i < kTubeMaterials.size(); ++i)
        if (text == kTubeMaterials[i].english || text == kTubeMaterials[i].russian)
            return static_cast<int>(i) + 1;
    return 0;
}

Real wallResistance(Real outerDiameter, Real innerDiameter, Real conductivity) {
    return (outerDiameter - innerDiameter) * 0.5L / conductivity + 1.0L / 5800.0L;
}

Real heatExchangeSurface(int parallelFlows, int tubeCount, Real outerDiameter, Real innerDiameter,
                         Real tubeLength) {
    return static_cast<Real>(parallelFlows) * static_cast<Real>(tubeCount) * kPi *
           (outerDiameter + innerDiameter) / 2 * tubeLength;
}

Real conductivityFromWallResistance(const DesignRecord& design) {
    const Real wall = design.WallResistance - 1.0L / 5800.0L;
    if (!(wall > 0)) return 0;
    return (design.OuterDiameter - design.InnerDiameter) * 0.5L / wall;
}

Real lastConcentration(const std::array<Real, 7>& concentration, int componentCount) {
    Real sum = 0;
    for (int i = 0; i + 1 < componentCount; ++i) sum += concentration[static_cast<std::size_t>(i)];
    return 100 - sum;
}

}  // namespace vexamo
