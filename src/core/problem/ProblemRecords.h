#pragma once
// The three records of one problem: the two media and the exchanger design.
#include <array>
#include <cstdint>
#include <optional>
#include <string>

#include "common/Constants.h"
#include "common/Real.h"
#include "common/Text.h"
#include "properties/SubstanceRecords.h"

namespace vexamo {

inline constexpr int kMaxComponents = 6;

enum class ProcessCode : std::uint8_t { Condensation = 0, Boiling = 1, Heating = 2, Cooling = 3 };

// Technological data of one medium.
struct TechnSet {
    std::uint16_t ComponentCount = 0;
    std::uint8_t ProcessCode = 0;  // see enum ProcessCode
    std::uint8_t GivenState = 0;   // 't' temperature given, 'p' pressure given
    std::uint8_t PhaseChange = 0;  // 'x' condensation, 'y' boiling, 0 none
    Real Temperature = 0;          // degC
    Real Pressure = 0;             // Pa ('p' streams), 0 otherwise
    Real FlowRate = 0;             // kg/hour, 0 for the stream whose flow is not given
    Real AirFactor = 0;            // condensate air correction, 1 = none
    std::string ProcessName;       // UTF-8, at most 20 characters
    std::array<std::uint16_t, kMaxComponents> ComponentIndex{};
    std::array<Real, 7> Concentration{};  // mass %
    Substances Components;                // copies of the substance records
    std::uint8_t SinglePhase = 0;
    std::uint8_t SelectionChanged = 0;
};

// Geometry and material of the exchanger.
struct DesignRecord {
    std::uint16_t TubeCount = 0;
    std::uint8_t MaterialIndex = 0;  // 1..5 from the material list, 0 typed by the user
    std::uint8_t TubePasses = 0;
    std::uint8_t ShellPasses = 0;
    std::uint8_t RowsOnVertical = 0;
    std::uint8_t ParallelFlows = 0;
    Real OuterDiameter = 0;   // m
    Real InnerDiameter = 0;   // m
    Real TubeLength = 0;      // m
    Real ShellDiameter = 0;   // m
    Real WallResistance = 0;  // m2*K/W, the tube wall and the fouling of both sides
    Real Surface = 0;         // m2
    std::string MaterialName;
    std::uint8_t FlowSide = 0;
    std::uint8_t HorizontalBundle = 0;
    std::uint8_t StaggeredTubes = 0;
    // Fouling resistance of each side, m2*K/W. Not in the problem file,
    // which keeps their sum inside WallResistance (see foulingFromWallResistance).
    Real TubeFouling = kDefaultSideFouling;
    Real ShellFouling = kDefaultSideFouling;
};

// The stored problem: what the problem file holds.
struct ProblemData {
    TechnSet TubeStream;
    TechnSet ShellStream;
    DesignRecord Design;
};

// Why the values of a problem cannot be used, naming the first unusable field
// in the given language: a real the Run reads that is not an ordinary finite
// number, a count or code outside what the data dialogs accept. Nothing when
// they are sound. Component counts and indices are checked by the caller
// (see problemDamage) before this is called.
std::optional<std::string> problemFieldFault(const ProblemData& problem,
                                             LanguageFlagType languageFlag);

// Process names in the order of the process list (position = ProcessCode).
const char* processName(int processCode, LanguageFlagType languageFlag);
// Position of an English or Russian process name in the list, or -1.
int findProcessName(const std::string& name);

// Pair code 1..8 of a tube-space and a shell-space process, 0 for an invalid pair.
int pairCode(int tubeProcess, int shellProcess);

// What a process implies for the record.
std::uint8_t givenStateFor(int processCode);   // 'p' or 't'
std::uint8_t phaseChangeFor(int processCode);  // 'x', 'y' or 0
std::uint8_t singlePhaseFor(int processCode);  // 1 for heating and cooling

// The tube materials of the design dialog (MaterialIndex 1..5 at 0..4).
struct TubeMaterial {
    const char* english;
    const char* russian;
    Real conductivity;  // W/(m*K)
};
extern const std::array<TubeMaterial, 5> kTubeMaterials;
// MaterialIndex (1..5) of a material text in either language, or 0.
int findMaterial(const std::string& text);

// Derived design values, in the program's operation order: the wall
// (outer - inner) * 0.5 / conductivity, then the fouling of both sides added
// as one term (the default fouling gives the bits of the wall plus
// kFoulingResistance).
Real wallResistance(Real outerDiameter, Real innerDiameter, Real conductivity);
Real wallResistance(Real outerDiameter, Real innerDiameter, Real conductivity, Real tubeFouling,
                    Real shellFouling);
// Whether both sides keep the default fouling, to the bit.
bool hasDefaultFouling(const DesignRecord& design);
// The split of a WallResistance read from a problem file, which keeps only
// the sum: for a listed material, the stored value less the metal wall is
// the fouling of both sides, shared half and half (a value that equals the
// wall plus the default allowance gives the default split, to the bit, and
// any other gives back the stored value when the sum is formed again). A
// typed material's conductivity is not stored, nor is a value below the
// metal wall a fouling: both keep the default split.
void foulingFromWallResistance(DesignRecord& design);
Real heatExchangeSurface(int parallelFlows, int tubeCount, Real outerDiameter, Real innerDiameter,
                         Real tubeLength);
// The tube conductivity implied by a stored wall resistance and the record's fouling.
Real conductivityFromWallResistance(const DesignRecord& design);

// The last concentration of a mixture: 100 minus the sum of the others.
Real lastConcentration(const std::array<Real, 7>& concentration, int componentCount);

}  // namespace vexamo
