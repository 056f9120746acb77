#pragma once
// Properties of one pure substance at one state, from the built-in tables.
// Temperatures in degC unless a name says otherwise; tau = T / 273.15 (T in K).
#include <cstddef>
#include <span>
#include <string>
#include <vector>

#include "common/Real.h"
#include "common/Text.h"
#include "properties/SubstanceRecords.h"

namespace vexamo {

// The properties of one substance or mixture at one temperature.
struct PropertySet {
    Real MolarMass = 0;            // kg/kmol
    Real Density = 0;              // kg/m3
    Real Viscosity = 0;            // Pa*s
    Real SurfaceTension = 0;       // N/m
    Real Expansion = 0;            // 1/K
    Real HeatCapacity = 0;         // J/(kg*K)
    Real LatentHeat = 0;           // kJ/kg
    Real VapourEnthalpyValue = 0;  // kJ/kg
    Real Prandtl = 0;              // -
    Real Conductivity = 0;         // W/(m*K)
};

// An argument that lay outside the range of a substance's data: for a table
// the value at the nearer end point was used instead; for the Antoine
// equation ("Antoine") the equation was extrapolated.
struct RangeEvent {
    std::string
        table;  // "property tables", "Density", "PressureValues", "SteamTable", "Antoine", ...
    std::string substance;   // English name, empty for the steam table
    Real argument = 0;       // the x asked for (the farthest one of its table, substance and side)
    Real low = 0, high = 0;  // the range of the data
    std::string source;      // where the range comes from, when the data set states it
};

// How far outside its range an event lies (K, or kgf/cm2 for the steam table).
Real distanceOutside(const RangeEvent& event);

// Collects the range events of a calculation, so that a Run (or the command
// line) can say once which data were left and how far. Keeps one event per
// table, substance and side (below, above), the farthest from the range, and
// counts all.
class RangeLog {
public:
    void note(RangeEvent event);
    std::size_t count() const { return m_count; }
    const std::vector<RangeEvent>& events() const { return m_events; }
    void clear() {
        m_events.clear();
        m_count = 0;
    }
    // One line per table and substance, English or Russian: which quantity,
    // which substance and data, their range, how far outside, what was used.
    std::vector<std::string> describe(LanguageFlagType languageFlag) const;

private:
    std::vector<RangeEvent> m_events;
    std::size_t m_count = 0;
};

// A saturation temperature further than this beyond the data it comes from,
// or below the lowest one, is not a result but an error.
inline constexpr Real kFarOutsideData_K = 30;
inline constexpr Real kLowestSaturation_C = -50;

// Checks a saturation temperature t (degC) that the Antoine equation of
// record `index` gave: inside the range its constants were fitted over it
// passes; within kFarOutsideData_K of it the event is noted in `log`; further
// out, or below kLowestSaturation_C, CalculationAborted names the substance,
// the temperature and the range. Records without a stated range are checked
// against kLowestSaturation_C only.
void checkAntoineTemperature(const SubstanceData& data, std::size_t index, Real t,
                             LanguageFlagType languageFlag, RangeLog* log);

// Linear interpolation: the first abscissa point >= x and the one before it.
// Outside [abscissa.front(), abscissa.back()] the end value is used and the
// event is noted in `log` (when given) under `table`/`substance`. Throws
// CalculationAborted for an empty table, arrays of unequal length or an x that
// is not a number.
Real InterpolateTable(std::span<const Real> abscissa, std::span<const Real> ordinate, Real x,
                      RangeLog* log = nullptr, const char* table = "",
                      const std::string& substance = {});

// Where x lies in a table: on one point (an end point, or clamped to it), or
// between points lo - 1 and lo with weight w.
struct TablePosition {
    std::size_t lo = 0;
    Real w = 0;
    bool single = true;  // take ordinate[lo] as it is
    bool outside = false;

    Real value(std::span<const Real> ordinate) const {
        return single ? ordinate[lo] : (1 - w) * ordinate[lo - 1] + w * ordinate[lo];
    }
};
// Throws CalculationAborted for an empty abscissa, NumericalError for a NaN x.
TablePosition locateInTable(std::span<const Real> abscissa, Real x, const char* table,
                            const std::string& substance);

// Outputs of the kind "all".
struct SubstanceConstants {
    Real AntoineA = 0, AntoineB = 0, AntoineC = 0, MolarMass = 0;
    GroupBlock Groups;
};

// One property by kind name ("all", "density", "vap_press", "enthalp_l",
// "enthalp_v", "enthalp_c", "enthalp_s"). x: degC, or kgf/cm2 for the steam
// kinds; ignored for "all", whose constants go to `all` (result 0). A name that
// matches no substance selects the first record. An unknown kind throws
// CalculationAborted("свойство <kind> отсутствует в базе данных").
Real GetSubstanceProperty(const SubstanceData& data, const std::string& substanceName,
                          const std::string& kindName, Real x, SubstanceConstants* all = nullptr,
                          RangeLog* log = nullptr);

// m3/kmol at t degC. A name that matches no substance throws CalculationAborted.
Real MolarVolume(const SubstanceData& data, const std::string& substanceName, Real t,
                 RangeLog* log = nullptr);

// Pa at the reduced temperature tau: the vapour-pressure table for the first two
// records of the table, the Antoine equation for the others.
Real VapourPressure(const SubstanceData& data, const std::string& substanceName, Real tau,
                    RangeLog* log = nullptr);

// The whole set of one substance at t degC.
void PureProperties(const Pro& record, Real t, PropertySet& result, RangeLog* log = nullptr);
PropertySet PureProperties(const Pro& record, Real t, RangeLog* log = nullptr);

}  // namespace vexamo
