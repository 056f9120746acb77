#include "properties/PropertyFunctions.h"

#include <cmath>

#include "common/Constants.h"
#include "common/Errors.h"
#include "common/NumberFormat.h"
#include "common/Text.h"
#include "properties/SubstanceIdentity.h"

namespace vexamo {

Real distanceOutside(const RangeEvent& e) {
    if (e.argument < e.low) return e.low - e.argument;
    if (e.argument > e.high) return e.argument - e.high;
    return 0;
}

void RangeLog::note(RangeEvent event) {
    ++m_count;
    for (RangeEvent& e : m_events)
        if (e.table == event.table && e.substance == event.substance &&
            (e.argument < e.low) == (event.argument < event.low)) {
            if (distanceOutside(event) > distanceOutside(e)) e = std::move(event);
            return;
        }
    m_events.push_back(std::move(event));
}

namespace {

Real roundTo(Real value, int decimals) {
    const Real scale = std::pow(10.0L, decimals);
    return std::round(value * scale) / scale;
}

// The quantity a table gives, in the words of each language.
std::string quantityOf(const std::string& table, LanguageFlagType lang) {
    struct Name {
        const char* table;
        const char* english;
        const char* russian;
    };
    static const Name names[] = {
        {"property tables", "properties", "свойства"},
        {"Density", "density", "плотность"},
        {"PressureValues", "vapour pressure (table)", "давление насыщенного пара (таблица)"},
        {"LiquidEnthalpy", "liquid enthalpy", "энтальпия жидкости"},
        {"VapourEnthalpy", "vapour enthalpy", "энтальпия пара"},
        {"SteamTable", "saturated steam table", "таблица насыщенного водяного пара"},
        {"Antoine", "saturation temperature (Antoine equation)",
         "температура насыщения (уравнение Антуана)"},
    };
    for (const Name& n : names)
        if (table == n.table) return tr(lang, n.english, n.russian);
    return table;
}

}  // namespace

std::vector<std::string> RangeLog::describe(LanguageFlagType lang) const {
    std::vector<std::string> lines;
    for (const RangeEvent& e : m_events) {
        // The steam table runs over pressure, every other table over temperature.
        const bool steam = e.table == "SteamTable";
        const char* unit = steam ? tr(lang, "kgf/cm2", "кгс/см2") : "°C";
        const char* step = steam ? tr(lang, "kgf/cm2", "кгс/см2") : tr(lang, "K", "К");
        const bool below = e.argument < e.low;
        const Real used = below ? e.low : e.high;
        std::string line = e.substance.empty() ? std::string() : e.substance + ": ";
        line += quantityOf(e.table, lang) + tr(lang, " at ", " при ") +
                formatShortest(roundTo(e.argument, 2)) + " " + unit + ", " + tr(lang, "", "на ") +
                formatShortest(roundTo(distanceOutside(e), 2)) + " " + step +
                (below ? tr(lang, " below", " ниже") : tr(lang, " above", " выше")) +
                tr(lang, " the range of its data (", " диапазона данных (") +
                formatShortest(e.low) + tr(lang, " to ", " … ") + formatShortest(e.high) + " " +
                unit + (e.source.empty() ? std::string() : ", " + e.source) + "); ";
        if (e.table == "Antoine")
            line += tr(lang, "the equation is extrapolated", "уравнение экстраполировано");
        else
            line += tr(lang, "the value at ", "взято значение при ") + formatShortest(used) + " " +
                    unit + tr(lang, " is used", "");
        lines.push_back(line);
    }
    return lines;
}

void checkAntoineTemperature(const SubstanceData& data, std::size_t index, Real t,
                             LanguageFlagType lang, RangeLog* log) {
    const std::string name =
        index < data.SubstanceTable.size()
            ? std::string(tr(lang, data.SubstanceTable[index].EnglishName.c_str(),
                             data.SubstanceTable[index].RussianName.c_str()))
            : std::string();
    const auto identity = builtInIdentity(index);
    RangeEvent event{
        "Antoine",
        index < data.SubstanceTable.size() ? data.SubstanceTable[index].EnglishName : "",
        t,
        identity ? identity->antoineMin_C : kLowestSaturation_C,
        identity ? identity->antoineMax_C : t,
        identity ? identity->antoineSource : ""};
    const Real outside = distanceOutside(event);
    if (!(t >= kLowestSaturation_C) || outside > kFarOutsideData_K)
        throw CalculationAborted(
            tr(lang, "The saturation temperature of ", "Температура насыщения ") + name +
            tr(lang, " from its Antoine equation is ", " по уравнению Антуана равна ") +
            formatShortest(roundTo(t, 2)) +
            tr(lang, " degr.C, far outside the range of its data (",
               " град.С, далеко вне диапазона данных (") +
            formatShortest(event.low) + tr(lang, " to ", " … ") + formatShortest(event.high) +
            tr(lang, " degr.C): the pressure or the medium should be checked",
               " град.С): следует проверить давление или теплоноситель"));
    if (outside > 0 && log) log->note(std::move(event));
}

TablePosition locateInTable(std::span<const Real> abscissa, Real x, const char* table,
                            const std::string& substance) {
    if (abscissa.empty())
        throw CalculationAborted("the table " +
                                 (substance.empty() ? std::string() : substance + " ") + table +
                                 " is empty");
    if (std::isnan(x))
        throw NumericalError(std::string("interpolation in ") + table +
                             " at a value that is not a number");
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
        throw CalculationAborted("the table " +
                                 (substance.empty() ? std::string() : substance + " ") + table +
                                 " has columns of unequal length");
    if (pos.outside && log) log->note({table, substance, x, abscissa.front(), abscissa.back(), {}});
    return pos.value(ordinate);
}

namespace {

const Pro& selectRecord(const SubstanceData& data, const std::string& name) {
    if (data.SubstanceTable.empty()) throw CalculationAborted("the substance table is empty");
    return data.SubstanceTable[data.findSubstance(name)];
}

}  // namespace

Real GetSubstanceProperty(const SubstanceData& data, const std::string& substanceName,
                          const std::string& kindName, Real x, SubstanceConstants* all,
                          RangeLog* log) {
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
            return InterpolateTable(p.PressureTemperatures, p.PressureValues, x, log,
                                    "PressureValues", who);
        case 4:
            return InterpolateTable(p.Temperatures, p.LiquidEnthalpy, x, log, "LiquidEnthalpy",
                                    who);
        case 5:
            return InterpolateTable(p.Temperatures, p.VapourEnthalpy, x, log, "VapourEnthalpy",
                                    who);
        case 6:
            return InterpolateTable(steam.Pressure, steam.CondensateEnthalpy, x, log, "SteamTable");
        default:
            return InterpolateTable(steam.Pressure, steam.SteamEnthalpy, x, log, "SteamTable");
    }
}

Real MolarVolume(const SubstanceData& data, const std::string& substanceName, Real t,
                 RangeLog* log) {
    const auto index = data.tryFindSubstance(substanceName);
    if (!index) throw CalculationAborted("no substance \"" + substanceName + "\" in the table");
    const Pro& p = data.SubstanceTable[*index];
    return p.MolarMass /
           InterpolateTable(p.Temperatures, p.Density, t, log, "Density", p.EnglishName);
}

Real VapourPressure(const SubstanceData& data, const std::string& substanceName, Real tau,
                    RangeLog* log) {
    const std::size_t index = data.findSubstance(substanceName);
    const Pro& p = selectRecord(data, substanceName);
    if (index <= 1)
        return kPaPerMmHg * InterpolateTable(p.PressureTemperatures, p.PressureValues,
                                             (tau - 1) * kZeroCelsius_K, log, "PressureValues",
                                             p.EnglishName);
    const Real T = kZeroCelsius_K * tau;
    return kPaPerMmHg * std::exp(p.AntoineA - p.AntoineB / (T + p.AntoineC));
}

void PureProperties(const Pro& p, Real t, PropertySet& r, RangeLog* log) {
    const std::string& who = p.EnglishName;
    const std::size_t n = p.Temperatures.size();
    for (const std::vector<Real>* table :
         {&p.Density, &p.Viscosity, &p.SurfaceTension, &p.Expansion, &p.HeatCapacity,
          &p.VapourEnthalpy, &p.LiquidEnthalpy, &p.Conductivity})
        if (table->size() != n)
            throw CalculationAborted("the property tables of " + who + " have unequal lengths");
    // All tables share one abscissa: locate t once.
    const TablePosition pos = locateInTable(p.Temperatures, t, "property tables", who);
    if (pos.outside && log)
        log->note({"property tables", who, t, p.Temperatures.front(), p.Temperatures.back(), {}});

    r.MolarMass = p.MolarMass;
    r.Density = pos.value(p.Density);
    r.Viscosity = pos.value(p.Viscosity);
    r.SurfaceTension = pos.value(p.SurfaceTension);
    r.Expansion = pos.value(p.Expansion);
    r.HeatCapacity = pos.value(p.HeatCapacity);
    r.VapourEnthalpyValue = pos.value(p.VapourEnthalpy);
    // The latent heat is interpolated in the difference formed on the table points.
    auto latent = [&](std::size_t k) { return p.VapourEnthalpy[k] - p.LiquidEnthalpy[k]; };
    r.LatentHeat =
        pos.single ? latent(pos.lo) : (1 - pos.w) * latent(pos.lo - 1) + pos.w * latent(pos.lo);
    r.Conductivity = pos.value(p.Conductivity);
    r.Prandtl = r.HeatCapacity * r.Viscosity / r.Conductivity;
}

PropertySet PureProperties(const Pro& record, Real t, RangeLog* log) {
    PropertySet r;
    PureProperties(record, t, r, log);
    return r;
}

}  // namespace vexamo
