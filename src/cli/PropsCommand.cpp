#include "cli/PropsCommand.h"

#include <cmath>
#include <ostream>

#include "cli/MixtureArgument.h"
#include "cli/ProblemIo.h"
#include "common/Constants.h"
#include "common/NumberFormat.h"
#include "common/Text.h"
#include "problemjson/JsonText.h"
#include "properties/MixtureProperties.h"
#include "properties/PropertyFunctions.h"
#include "properties/SubstanceIdentity.h"

namespace vexamo::cli {

namespace {

struct Line {
    Real PropertySet::*member;
    const char* key;  // JSON
    const char* english;
    const char* russian;
    const char* unitEn;
    const char* unitRu;
};

constexpr Line kLines[] = {
    {&PropertySet::MolarMass, "molar_mass_kg_kmol", "molar mass", "молярная масса", "kg/kmol",
     "кг/кмоль"},
    {&PropertySet::Density, "density_kg_m3", "density", "плотность", "kg/m3", "кг/м3"},
    {&PropertySet::Viscosity, "viscosity_Pa_s", "dynamic viscosity", "динамическая вязкость",
     "Pa*s", "Па*с"},
    {&PropertySet::SurfaceTension, "surface_tension_N_m", "surface tension",
     "поверхностное натяжение", "N/m", "Н/м"},
    {&PropertySet::Expansion, "expansion_1_K", "expansion coefficient",
     "коэффициент объемного расширения", "1/K", "1/К"},
    {&PropertySet::HeatCapacity, "heat_capacity_J_kgK", "heat capacity", "теплоемкость", "J/(kg*K)",
     "Дж/(кг*К)"},
    {&PropertySet::LatentHeat, "latent_heat_kJ_kg", "latent heat", "теплота парообразования",
     "kJ/kg", "кДж/кг"},
    {&PropertySet::VapourEnthalpyValue, "vapour_enthalpy_kJ_kg", "vapour enthalpy",
     "энтальпия пара", "kJ/kg", "кДж/кг"},
    {&PropertySet::Prandtl, "prandtl", "Prandtl number", "число Прандтля", "-", "-"},
    {&PropertySet::Conductivity, "conductivity_W_mK", "thermal conductivity", "теплопроводность",
     "W/(m*K)", "Вт/(м*К)"},
};

}  // namespace

void runProps(const PropsOptions& o, const SubstanceData& data, std::ostream& out,
              std::ostream& err) {
    const LanguageFlagType lang = o.language;
    const std::size_t named = substanceIndex(data, o.substance);
    const auto t = parseReal(o.temperature);
    if (!t || !(*t > -kZeroCelsius_K))
        throw InputError("\"" + o.temperature + "\" is not a temperature in °C");

    RangeLog log;
    PropertySet result;
    std::vector<MixturePart> parts;
    auto nameOf = [&](std::size_t i) {
        const Pro& p = data.SubstanceTable[i];
        return lang == kEnglish ? p.EnglishName : p.RussianName;
    };
    std::string title = nameOf(named);
    if (o.mix.empty()) {
        PureProperties(data.SubstanceTable[named], *t, result, &log);
    } else {
        parts = parseMixtureArgument(data, o.mix);
        bool member = false;
        std::vector<PropertySet> sets;
        std::vector<Real> composition;
        Real sum = 0;
        title = tr(lang, "mixture", "смесь");
        for (const MixturePart& p : parts) {
            member = member || p.index == named;
            sets.push_back(PureProperties(data.SubstanceTable[p.index], *t, &log));
            composition.push_back(p.massPercent);
            sum += p.massPercent;
            title += " " + nameOf(p.index) + " " + formatShortest(p.massPercent) + " %";
        }
        if (!member) throw InputError("--mix: " + o.substance + " is not one of the components");
        if (std::fabs(sum - 100) > 1e-9L)
            err << "vexamo: warning: "
                << tr(lang, "the mass per cents add up to ", "сумма массовых процентов равна ")
                << formatShortest(sum)
                << tr(lang, "; they are used as given, not scaled to 100",
                      "; они взяты как есть, без приведения к 100")
                << '\n';
        MixtureProperties(result, sets, composition, static_cast<int>(parts.size()));
    }
    for (const std::string& line : log.describe(lang)) err << "vexamo: warning: " << line << '\n';

    const bool mixture = !parts.empty();
    if (o.json) {
        pjson::Json j = pjson::Json::object();
        if (mixture) {
            pjson::Json list = pjson::Json::array();
            for (const MixturePart& p : parts)
                list.push_back({{"substance", data.SubstanceTable[p.index].EnglishName},
                                {"mass_pct", pjson::realToJson(p.massPercent)}});
            j["mixture"] = list;
        } else {
            j["substance"] = data.SubstanceTable[named].EnglishName;
        }
        j["temperature_C"] = pjson::realToJson(*t);
        pjson::Json props = pjson::Json::object();
        for (const Line& l : kLines)
            if (!(mixture && l.member == &PropertySet::VapourEnthalpyValue))
                props[l.key] = pjson::realToJson(result.*l.member);
        j["properties"] = props;
        pjson::Json warnings = pjson::Json::array();
        for (const std::string& line : log.describe(kEnglish)) warnings.push_back(line);
        j["warnings"] = warnings;
        out << pjson::dump(j);
        return;
    }
    out << title << tr(lang, " at ", " при ") << formatShortest(*t) << " °C\n";
    for (const Line& l : kLines) {
        if (mixture && l.member == &PropertySet::VapourEnthalpyValue)
            continue;  // not a mixture property
        out << paddedTo(tr(lang, l.english, l.russian), 34) << formatGeneral(result.*l.member, 8, 2)
            << ' ' << tr(lang, l.unitEn, l.unitRu) << '\n';
    }
}

}  // namespace vexamo::cli

namespace vexamo::cli {

namespace {

std::string range(const std::vector<Real>& values) {
    if (values.empty()) return "-";
    return formatShortest(values.front()) + " .. " + formatShortest(values.back());
}

}  // namespace

void runSubstances(const SubstancesOptions& o, const SubstanceData& data, std::ostream& out) {
    const LanguageFlagType lang = o.language;
    if (o.json) {
        pjson::Json list = pjson::Json::array();
        for (std::size_t i = 0; i < data.SubstanceTable.size(); ++i) {
            const Pro& p = data.SubstanceTable[i];
            pjson::Json j = {{"number", i + 1},
                             {"name", p.EnglishName},
                             {"russian_name", p.RussianName},
                             {"molar_mass_kg_kmol", pjson::realToJson(p.MolarMass)}};
            if (const auto id = builtInIdentity(i)) {
                j["substance"] = id->englishName;
                j["formula"] = id->formula;
                j["cas"] = id->cas;
                j["antoine_range_C"] = {pjson::realToJson(id->antoineMin_C),
                                        pjson::realToJson(id->antoineMax_C)};
                j["antoine_source"] = id->antoineSource;
            }
            if (!p.Temperatures.empty())
                j["property_table_C"] = {pjson::realToJson(p.Temperatures.front()),
                                         pjson::realToJson(p.Temperatures.back())};
            if (!p.PressureTemperatures.empty())
                j["vapour_pressure_table_C"] = {pjson::realToJson(p.PressureTemperatures.front()),
                                                pjson::realToJson(p.PressureTemperatures.back())};
            list.push_back(j);
        }
        out << pjson::dump(pjson::Json{{"substances", list}});
        return;
    }
    out << paddedTo(tr(lang, "No", "№"), 4) << paddedTo(tr(lang, "name", "имя"), 9)
        << paddedTo(tr(lang, "substance", "вещество"), 15)
        << paddedTo(tr(lang, "formula", "формула"), 9) << paddedTo("CAS", 11)
        << paddedTo(tr(lang, "M, kg/kmol", "M, кг/кмоль"), 13)
        << paddedTo(tr(lang, "properties, °C", "свойства, °C"), 16)
        << paddedTo(tr(lang, "vapour pressure, °C", "давление пара, °C"), 21)
        << tr(lang, "Antoine, °C", "Антуан, °C") << '\n';
    for (std::size_t i = 0; i < data.SubstanceTable.size(); ++i) {
        const Pro& p = data.SubstanceTable[i];
        const auto id = builtInIdentity(i);
        out << paddedTo(std::to_string(i + 1), 4)
            << paddedTo(lang == kEnglish ? p.EnglishName : p.RussianName, 9)
            << paddedTo(id ? tr(lang, id->englishName, id->russianName) : "-", 15)
            << paddedTo(id ? id->formula : "-", 9) << paddedTo(id ? id->cas : "-", 11)
            << paddedTo(formatShortest(p.MolarMass), 13) << paddedTo(range(p.Temperatures), 16)
            << paddedTo(range(p.PressureTemperatures), 21)
            << (id ? formatShortest(id->antoineMin_C) + " .. " + formatShortest(id->antoineMax_C)
                   : "-")
            << '\n';
    }
    out << tr(
        lang,
        "A value outside these ranges does not rest on the data: a property table gives the value "
        "at its "
        "nearer end, the Antoine equation is extrapolated. A Run lists each such value after its "
        "results, and ends without results when a stream or a saturation temperature lies more "
        "than "
        "30 K outside.\n",
        "Значение вне этих диапазонов не опирается на данные: таблица свойств дает значение на "
        "ближнем "
        "конце, уравнение Антуана экстраполируется. Расчет перечисляет каждое такое значение после "
        "результатов и заканчивается без результатов, если поток или температура насыщения лежит "
        "вне "
        "диапазона более чем на 30 К.\n");
}

}  // namespace vexamo::cli
