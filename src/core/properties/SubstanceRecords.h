#pragma once
// The substance records and the built-in data tables: four substances, the
// binary equilibrium data sets, the UNIFAC group interaction table and the
// saturated water/steam table.
#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "common/Real.h"

namespace vexamo {

inline constexpr int kMaxGroups = 11;
inline constexpr int kMainGroupCount = 19;
inline constexpr int kMaxEquilPoints = 60;

// UNIFAC description of one molecule.
struct GroupBlock {
    std::uint8_t GroupCount = 0;
    std::array<std::uint8_t, kMaxGroups> MainGroup{};
    std::array<std::uint8_t, kMaxGroups> Occurrences{};
    std::array<char, kMaxGroups> SubgroupLetter{};  // 'A', 'B', ... or ' '
    std::array<Real, kMaxGroups> SurfaceQ{};
    std::array<Real, kMaxGroups> VolumeR{};
    std::array<Real, kMaxGroups> PureFractions{};                            // derived at run time
    std::array<std::array<Real, kMaxGroups>, kMaxGroups> PureInteraction{};  // run time
};

// One substance record. The tables share the abscissa `Temperatures`
// (PointCount long); the vapour-pressure table has its own abscissa.
struct Pro {
    std::string EnglishName;  // UTF-8, at most 20 characters
    std::string RussianName;
    GroupBlock Groups;
    std::uint16_t PointCount = 0;
    std::uint16_t PressurePointCount = 0;
    std::vector<Real> LiquidEnthalpy;        // kJ/kg
    std::vector<Real> VapourEnthalpy;        // kJ/kg
    std::vector<Real> Density;               // kg/m3
    std::vector<Real> Viscosity;             // Pa*s
    std::vector<Real> SurfaceTension;        // N/m
    std::vector<Real> Expansion;             // 1/K
    std::vector<Real> HeatCapacity;          // J/(kg*K)
    std::vector<Real> PrandtlTable;          // read by nothing; kept for completeness
    std::vector<Real> Conductivity;          // W/(m*K)
    std::vector<Real> Temperatures;          // degC, strictly increasing
    std::vector<Real> PressureValues;        // mm Hg
    std::vector<Real> PressureTemperatures;  // degC, strictly increasing
    Real AntoineA = 0;                       // ln p[mm Hg] = A - B / (T[K] + C)
    Real AntoineB = 0;                       // K
    Real AntoineC = 0;                       // K
    Real MolarMass = 0;                      // kg/kmol
};

using SubArr = std::vector<Pro>;
using Substances = std::array<Pro, 6>;

// Measured vapour-liquid equilibrium of one ordered pair.
struct Equil {
    std::uint16_t Count = 0;
    std::vector<Real> LiquidX;  // mole fraction of the first substance
    std::vector<Real> VapourY;
    std::vector<Real> Temperature;      // degC
    Real Pressure = 0;                  // Pa
    std::array<Real, 7> StartValues{};  // Wilson A12,A21; UNIQUAC A12,A21; NRTL A12,A21,alpha
    // True when the set is the reversed copy of the set measured for
    // (second, first): its y is then the measured vapour fraction of the
    // other substance.
    bool Mirrored = false;
};

// The set of the reversed pair (second, first): x' = 1 - x, y' = 1 - y at the
// same temperatures, in the same order; the start values of every model with
// A12 and A21 exchanged (NRTL alpha kept); the pressure given; marked as
// mirrored unless the source itself was.
Equil mirroredSet(const Equil& source, Real pressure_Pa);

using MIX = std::vector<Equil>;
using BinaryTable = std::vector<MIX>;  // [first][second], 0-based

struct SteamTableData {
    std::array<Real, 14> Pressure{};            // kgf/cm2
    std::array<Real, 14> CondensateEnthalpy{};  // kJ/kg
    std::array<Real, 14> SteamEnthalpy{};       // kJ/kg
};

// a_mn / 273.15 at [m-1][n-1].
using GroupInteractionMatrix = std::array<std::array<Real, kMainGroupCount>, kMainGroupCount>;

// The seven property kinds, kinds 1..7 at positions 0..6.
extern const std::array<const char*, 7> PropertyKindName;

// All built-in data, filled once at start-up in the fixed order: substances,
// steam table, binary data sets (each mirror right after its source), group
// interaction table (then divided by 273.15).
struct SubstanceData {
    SubArr SubstanceTable;
    SteamTableData SteamTable;
    BinaryTable BinaryDataTable;
    GroupInteractionMatrix GroupInteractionTable{};

    static SubstanceData builtIn();

    // Index of the record whose English or Russian name equals `name`
    // exactly; the last match wins; no match gives 0.
    std::size_t findSubstance(const std::string& name) const;
    // The same lookup without the fallback: no value when nothing matches.
    std::optional<std::size_t> tryFindSubstance(const std::string& name) const;

    // Both throw std::out_of_range for a number outside the table.
    const Equil& binary(int first1, int second1) const;  // 1-based numbers
    Real groupInteraction(int m1, int n1) const;         // 1-based main groups
};

}  // namespace vexamo
