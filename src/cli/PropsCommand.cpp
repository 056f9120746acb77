#include "cli/PropsCommand.h"

#include <cmath>
#include <ostream>

#include "cli/MixtureArgument.h"
#include "cli/ProblemIo.h"
#include "common/NumberFormat.h"
#include "properties/MixtureProperties.h"
#include "properties/PropertyFunctions.h"
#include "problemjson/JsonText.h"

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
    {&PropertySet::MolarMass, "molar_mass_kg_kmol", "molar mass", "молярная масса", "kg/kmol", "кг/кмоль"},
    {&PropertySet::Density, "density_kg_m3", "density", "плотность", "kg/m3", "кг/м3"},
    {&PropertySet::Viscosity, "viscosity_Pa_s", "dynamic viscosity", "динамическая вязкость", "Pa*s", "Па*с"},
    {&PropertySet::SurfaceTension, "surface_tension_N_m", "surface tension", "поверхностное натяжение", "N/m",
     "Н/м"},
    {&PropertySet::Expansion, "expansion_1_K", "expansion coefficient", "коэффициент объемного расширения",
     "1/K", "1/К"},
    {&PropertySet::HeatCapacity, "heat_capacity_J_kgK", "heat capacity", "теплоемкость", "J/(kg*K)",
     "Дж/(кг*К)"},
    {&PropertySet::LatentHeat, "latent_heat_kJ_kg", "latent heat", "теплота парообразования", "kJ/kg", "кДж/кг"},
    {&PropertySet::VapourEnthalpyValue, "vapour_enthalpy_kJ_kg", "vapour enthalpy", "энтальпия пара", "kJ/kg",
     "кДж/кг"},
    {&PropertySet::Prandtl, "prandtl", "Prandtl number", "число Прандтля", "-", "-"},
    {&PropertySet::Conductivity, "conductivity_W_mK", "thermal conductivity", "теплопроводность", "W/(m*K)",
     "Вт/(м*К)"},
};

}  // namespace

void runProps(const PropsOptions& o, const SubstanceData& data, std::ostream& out, std::ostream& err) {
    const LanguageFlagType lang = o.language;
    const std::size_t named = substanceIndex(data, o.substance);
    const auto t = parseReal(o.temperature);
    if (!t || !(*t > -273.15L)) throw InputError("\"" + o.temperature + "\" is not a temperature in °C");

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
                << tr(lang, "the mass per cents add up to ", "сумма массовых процентов равна ") << formatShortest(sum)
                << tr(lang, "; they are used as given, not scaled to 100", "; они взяты как есть, без приведения к 100")
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
        if (mixture && l.member == &PropertySet::VapourEnthalpyValue) continue;  // not a mixture property
        std::string label = tr(lang, l.english, l.russian);
        std::size_t width = 0;
        for (unsigned char c : label) width += (c & 0xC0) != 0x80;
        label += std::string(width < 34 ? 34 - width : 1, ' ');
        out << label << formatGeneral(result.*l.member, 8, 2) << ' ' << tr(lang, l.unitEn, l.unitRu) << '\n';
    }
}

}  // namespace vexamo::cli
