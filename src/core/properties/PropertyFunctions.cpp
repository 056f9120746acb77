#include "properties/PropertyFunctions.h"

#include <cmath>

#include "common/Constants.h"
#include "common/Errors.h"
#include "common/NumberFormat.h"
#include "common/Text.h"

namespace vexamo {

void RangeLog::note(RangeEvent event) {
    ++m_count;
    for (const RangeEvent& e : m_events)
        if (e.table == event.table && e.substance == event.substance) return;
    m_events.push_back(std::move(event));
}

std::vector<std::string> RangeLog::describe(LanguageFlagType lang) const {
    std::vector<std::string> lines;
    for (const RangeEvent& e : m_events) {
        // The steam table runs over pressure, every other table over temperature.
        const char* unit = e.table == "SteamTable" ? tr(lang, "kgf/cm2", "кгс/см2") : "°C";
        const bool below = e.argument < e.low;
        const Real used = below ? e.low : e.high;
        std::string who = e.substance.empty() ? std::string() : e.substance + ": ";
        std::string table = e.table;
        if (lang != kEnglish) {
            if (table == "property tables") table = "таблиц свойств";
            else if (table == "SteamTable") table = "насыщенного водяного пара";
            else if (table == "PressureValues") table = "давления насыщенного пара";
        }
        lines.push_back(who + formatShortest(e.argument) + " " + unit +
                        tr(lang, " is outside the table ", " вне диапазона ") + table + " (" +
                        formatShortest(e.low) + tr(lang, " to ", " … ") + formatShortest(e.high) + " " +
                        unit + tr(lang, "); the value at ", "); взято значение при ") +
                        formatShortest(used) + " " + unit + tr(lang, " is used", ""));
    }
    return lines;
}

TablePosition locateInTable(std::span<const Real> abscissa, Real x, const char* table,
                            const std::string& substance) {
    if (abscissa.empty())
        throw CalculationAborted("the table " + (substance.empty() ? std::string() : substance + " ") +
                                 table + " is empty");
    if (std::isnan(x))
        throw NumericalError(std::string("interpolation in ") + table + " at a value that is not a number");
    const std::size_t n = abscissa.size();
    std::size_t i = 0;
    while (i < n && !(abscissa[i] >= x)) ++i;
    TablePosition pos;
    if (i == n) {
        pos.lo = n - 1;
        pos.outside = true;
    } else if (i == 0) {
        pos.outside = x < abscissa[0];
    } else {
        pos.lo = i;
        pos.single = false;
        pos.w = (x - abscissa[i - 1]) / (abscissa[i] - abscissa[i - 1]);
    }
    return pos;
}

Real InterpolateTable(std::span<const Real> abscissa, std::span<const Real> ordinate, Real x,
                      RangeLog* log, const char* table, const std::string& substance) {
    const TablePosition pos = locateInTable(abscissa, x, table, substance);
    if (ordinate.size() != abscissa.size())
        throw CalculationAborted("the table " + (substance.empty() ? std::string() : substance + " ") +
                                 table + " has columns of unequal length");
    if (pos.outside && log) log->note({table, substance, x, abscissa.front(), abscissa.back()});
    return pos.value(ordinate);
}

namespace {

const Pro& selectRecord(const SubstanceData& data, const std::string& name) {
    if (data.SubstanceTable.empty()) throw CalculationAborted("the substance table is empty");
    return data.SubstanceTable[data.findSubstance(name)];
}

}  // namespace

Real GetSubstanceProperty(const SubstanceData& data, const std::string& substanceName,
                          const std::string& kindName, Real x, SubstanceConstants* all, RangeLog* log) {
    int kind = 0;
    for (std::size_t k = 0; k < PropertyKindName.size(); ++k)
        if (kindName == PropertyKindName[k]) kind = static_cast<int>(k) + 1;
    if (kind == 0) throw CalculationAborted("свойство " + kindName + " отсутствует в базе данных");

    const Pro& p = selectRecord(data, substanceName);
    const std::string& who = p.EnglishName;
    const auto& steam = data.SteamTable;
    switch (kind) {
        case 1:
            if (all) *all = {p.AntoineA, p.AntoineB, p.AntoineC, p.MolarMass, p.Groups};
            return 0;
        case 2:
            return InterpolateTable(p.Temperatures, p.Density, x, log, "Density", who);
        case 3:
            return InterpolateTable(p.PressureTemperatures, p.PressureValues, x, log, "PressureValues", who);
        case 4:
            return InterpolateTable(p.Temperatures, p.LiquidEnthalpy, x, log, "LiquidEnthalpy", who);
        case 5:
            return InterpolateTable(p.Temperatures, p.VapourEnthalpy, x, log, "VapourEnthalpy", who);
        case 6:
            return InterpolateTable(steam.Pressure, steam.CondensateEnthalpy, x, log, "SteamTable");
        default:
            return InterpolateTable(steam.Pressure, steam.SteamEnthalpy, x, log, "SteamTable");
    }
}

Real MolarVolume(const SubstanceData& data, const std::string& substanceName, Real t, RangeLog* log) {
    const auto index = data.tryFindSubstance(substanceName);
    if (!index) throw CalculationAborted("no substance \"" + substanceName + "\" in the table");
    const Pro& p = data.SubstanceTable[*index];
    return p.MolarMass / InterpolateTable(p.Temperatures, p.Density, t, log, "Density", p.EnglishName);
}

Real VapourPressure(const SubstanceData& data, const std::string& substanceName, Real tau, RangeLog* log) {
    const std::size_t index = data.findSubstance(substanceName);
    const Pro& p = selectRecord(data, substanceName);
    if (index <= 1)
        return kPaPerMmHg * InterpolateTable(p.PressureTemperatures, p.PressureValues,
                                             (tau - 1) * 273.15L, log, "PressureValues", p.EnglishName);
    const Real T = 273.15L * tau;
    return kPaPerMmHg * std::exp(p.AntoineA - p.AntoineB / (T + p.AntoineC));
}

void PureProperties(const Pro& p, Real t, PropertySet& r, RangeLog* log) {
    const std::string& who = p.EnglishName;
    const std::size_t n = p.Temperatures.size();
    for (const std::vector<Real>* table :
         {&p.Density, &p.Viscosity, &p.SurfaceTension, &p.Expansion, &p.HeatCapacity, &p.VapourEnthalpy,
          &p.LiquidEnthalpy, &p.Conductivity})
        if (table->size() != n)
            throw CalculationAborted("the property tables of " + who + " have unequal lengths");
    // All tables share one abscissa: locate t once.
    const TablePosition pos = locateInTable(p.Temperatures, t, "property tables", who);
    if (pos.outside && log) log->note({"property tables", who, t, p.Temperatures.front(), p.Temperatures.back()});

    r.MolarMass = p.MolarMass;
    r.Density = pos.value(p.Density);
    r.Viscosity = pos.value(p.Viscosity);
    r.SurfaceTension = pos.value(p.SurfaceTension);
    r.Expansion = pos.value(p.Expansion);
    r.HeatCapacity = pos.value(p.HeatCapacity);
    r.VapourEnthalpyValue = pos.value(p.VapourEnthalpy);
    // The latent heat is interpolated in the difference formed on the table points.
    auto latent = [&](std::size_t k) { return p.VapourEnthalpy[k] - p.LiquidEnthalpy[k]; };
    r.LatentHeat = pos.single ? latent(pos.lo) : (1 - pos.w) * latent(pos.lo - 1) + pos.w * latent(pos.lo);
    r.Conductivity = pos.value(p.Conductivity);
    r.Prandtl = r.HeatCapacity * r.Viscosity / r.Conductivity;
}

PropertySet PureProperties(const Pro& record, Real t, RangeLog* log) {
    PropertySet r;
    PureProperties(record, t, r, log);
    return r;
}

}  // namespace vexamo
