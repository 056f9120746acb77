#include "problem/ProblemRecords.h"

#include <cmath>
#include <limits>
#include <string_view>

#include "common/Constants.h"
#include "common/Ext80.h"

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
    return wallResistance(outerDiameter, innerDiameter, conductivity, kDefaultSideFouling,
                          kDefaultSideFouling);
}

Real wallResistance(Real outerDiameter, Real innerDiameter, Real conductivity, Real tubeFouling,
                    Real shellFouling) {
    return (outerDiameter - innerDiameter) * 0.5L / conductivity + (tubeFouling + shellFouling);
}

bool hasDefaultFouling(const DesignRecord& design) {
    return encodeExt80(design.TubeFouling) == encodeExt80(kDefaultSideFouling) &&
           encodeExt80(design.ShellFouling) == encodeExt80(kDefaultSideFouling);
}

void foulingFromWallResistance(DesignRecord& d) {
    d.TubeFouling = d.ShellFouling = kDefaultSideFouling;
    if (d.MaterialIndex < 1 || d.MaterialIndex > kTubeMaterials.size()) return;
    const Real conductivity = kTubeMaterials[d.MaterialIndex - 1u].conductivity;
    const Real stored = d.WallResistance;
    if (wallResistance(d.OuterDiameter, d.InnerDiameter, conductivity) == stored) return;
    const Real wall = (d.OuterDiameter - d.InnerDiameter) * 0.5L / conductivity;
    Real total = stored - wall;
    if (!std::isfinite(wall) || !(total >= 0) || !std::isfinite(total)) return;
    // The difference is rounded; a few units in its last place up or down
    // find the sum that gives back the stored bits.
    Real up = total, down = total;
    for (int step = 0; step < 4; ++step) {
        if (wall + up == stored) {
            total = up;
            break;
        }
        if (wall + down == stored) {
            total = down;
            break;
        }
        up = std::nextafter(up, std::numeric_limits<Real>::infinity());
        down = std::nextafter(down, Real{0});
    }
    d.TubeFouling = d.ShellFouling = total / 2;
}

Real heatExchangeSurface(int parallelFlows, int tubeCount, Real outerDiameter, Real innerDiameter,
                         Real tubeLength) {
    return static_cast<Real>(parallelFlows) * static_cast<Real>(tubeCount) * kPi *
           (outerDiameter + innerDiameter) / 2 * tubeLength;
}

Real conductivityFromWallResistance(const DesignRecord& design) {
    const Real wall = design.WallResistance - (design.TubeFouling + design.ShellFouling);
    if (!(wall > 0)) return 0;
    return (design.OuterDiameter - design.InnerDiameter) * 0.5L / wall;
}

Real lastConcentration(const std::array<Real, 7>& concentration, int componentCount) {
    Real sum = 0;
    for (int i = 0; i + 1 < componentCount; ++i) sum += concentration[static_cast<std::size_t>(i)];
    return 100 - sum;
}

namespace {

bool ordinary(Real value) { return isOrdinaryExt80(encodeExt80(value)); }

struct FieldCheck {
    LanguageFlagType lang;
    std::optional<std::string> fault;

    void real(const char* field, Real value) {
        if (!fault && !ordinary(value))
            fault = std::string(field) +
                    tr(lang, " is not a finite number", " не является конечным числом");
    }
    void count(const char* field, unsigned value, unsigned lo, unsigned hi) {
        if (!fault && (value < lo || value > hi))
            fault = std::string(field) + tr(lang, " is ", " равно ") + std::to_string(value) +
                    tr(lang, " (allowed ", " (допустимо от ") + std::to_string(lo) +
                    tr(lang, " to ", " до ") + std::to_string(hi) + ")";
    }
    void letter(const char* field, unsigned value, std::string_view allowed) {
        if (fault || allowed.find(static_cast<char>(value)) != std::string_view::npos) return;
        std::string list;
        for (char c : allowed)
            list += std::string(list.empty() ? "" : ", ") + (c ? std::string(1, c) : "0");
        fault = std::string(field) + tr(lang, " is the code ", " имеет код ") +
                std::to_string(value) + tr(lang, " (allowed ", " (допустимо ") + list + ")";
    }
};

std::optional<std::string> streamFault(const TechnSet& s, LanguageFlagType lang) {
    FieldCheck c{lang, std::nullopt};
    c.real("Temperature", s.Temperature);
    c.real("Pressure", s.Pressure);
    c.real("FlowRate", s.FlowRate);
    c.real("AirFactor", s.AirFactor);
    static const char* names[] = {"Concentration[1]", "Concentration[2]", "Concentration[3]",
                                  "Concentration[4]", "Concentration[5]", "Concentration[6]"};
    for (std::size_t i = 0; i < s.ComponentCount && i < kMaxComponents; ++i)
        c.real(names[i], s.Concentration[i]);
    c.letter("GivenState", s.GivenState, std::string_view("tpTP", 4));
    static constexpr char phaseLetters[] = {'\0', 'x', 'y'};
    c.letter("PhaseChange", s.PhaseChange, std::string_view(phaseLetters, sizeof phaseLetters));
    c.count("SinglePhase", s.SinglePhase, 0, 1);
    c.count("SelectionChanged", s.SelectionChanged, 0, 1);
    return c.fault;
}

}  // namespace

std::optional<std::string> problemFieldFault(const ProblemData& problem, LanguageFlagType lang) {
    if (auto why = streamFault(problem.TubeStream, lang))
        return tr(lang, "tube space: ", "трубное пространство: ") + *why;
    if (auto why = streamFault(problem.ShellStream, lang))
        return tr(lang, "shell space: ", "межтрубное пространство: ") + *why;
    const DesignRecord& d = problem.Design;
    FieldCheck c{lang, std::nullopt};
    c.count("TubeCount", d.TubeCount, 1, 65535);
    c.count("MaterialIndex", d.MaterialIndex, 0, static_cast<unsigned>(kTubeMaterials.size()));
    c.count("TubePasses", d.TubePasses, 1, 4);
    c.count("ShellPasses", d.ShellPasses, 1, 255);
    c.count("RowsOnVertical", d.RowsOnVertical, 1, 255);
    c.count("ParallelFlows", d.ParallelFlows, 1, 4);
    c.real("OuterDiameter", d.OuterDiameter);
    c.real("InnerDiameter", d.InnerDiameter);
    c.real("TubeLength", d.TubeLength);
    c.real("ShellDiameter", d.ShellDiameter);
    c.real("WallResistance", d.WallResistance);
    c.real("Surface", d.Surface);
    c.real("TubeFouling", d.TubeFouling);
    c.real("ShellFouling", d.ShellFouling);
    c.count("FlowSide", d.FlowSide, 0, 1);
    c.count("HorizontalBundle", d.HorizontalBundle, 0, 1);
    c.count("StaggeredTubes", d.StaggeredTubes, 0, 1);
    if (c.fault) return tr(lang, "design: ", "конструкция: ") + *c.fault;
    return std::nullopt;
}

}  // namespace vexamo
