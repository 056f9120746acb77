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

// An argument that lay outside a table's abscissa: the value at the nearer
// end point was used instead.
struct RangeEvent {
    std::string table;      // "Density", "PressureValues", "SteamTable", ...
    std::string substance;  // English name, empty for the steam table
    Real argument = 0;      // the x asked for
    Real low = 0, high = 0;  // the table's range
};

// Collects the range events of a calculation, so that a Run (or the command
// line) can say once which tables were left. Keeps the first event of each
// table and substance and counts all.
class RangeLog {
public:
    void note(RangeEvent event);
    std::size_t count() const { return m_count; }
    const std::vector<RangeEvent>& events() const { return m_events; }
    // One line per distinct event, English or Russian.
    std::vector<std::string> describe(LanguageFlagType languageFlag) const;

private:
    std::vector<RangeEvent> m_events;
    std::size_t m_count = 0;
};

// Linear interpolation: the first abscissa point >= x and the one before it.
// Outside [abscissa.front(), abscissa.back()] the end value is used and the
// event is noted in `log` (when given) under `table`/`substance`. Throws
// CalculationAborted for an empty table, arrays of unequal length or an x that
// is not a number.
Real InterpolateTable(std::span<const Real> abscissa, std::span<const Real> ordinate, Real x,
                      RangeLog* log = nullptr, const char* table = "", const std::string& substance = {});

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
