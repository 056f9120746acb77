#include "problemjson/ProblemJson.h"

#include <array>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <set>
#include <tuple>

#include "common/Constants.h"
#include "common/Errors.h"
#include "common/Ext80.h"
#include "common/InputBounds.h"
#include "common/NumberFormat.h"
#include "common/Str20.h"
#include "control/ProblemFile.h"
#include "dialogs/FieldRules.h"
#include "problem/RecordCodec.h"
#include "problemjson/JsonText.h"
#include "properties/SubstanceIdentity.h"

namespace vexamo::pjson {

namespace {

constexpr const char* kFormatName = "vexamo-problem";
constexpr int kFormatVersion = 1;

std::string join(const std::string& path, const std::string& key) {
    return path.empty() ? key : path + "." + key;
}
std::string index(const std::string& path, std::size_t i) {
    return path + "[" + std::to_string(i) + "]";
}

// ---------------------------------------------------------------- reading

void checkKeys(const Json& object, const std::set<std::string>& allowed, const std::string& path) {
    if (!object.is_object()) throw ProblemJsonError(path, "an object is expected");
    for (auto it = object.begin(); it != object.end(); ++it)
        if (!allowed.count(it.key())) throw ProblemJsonError(join(path, it.key()), "unknown field");
}

const Json* find(const Json& object, const std::string& key) {
    auto it = object.find(key);
    return it == object.end() ? nullptr : &*it;
}

Real toReal(const Json& value, const std::string& path) {
    try {
        const Real v = realFromJson(value);
        return v;
    } catch (const std::exception&) {
        throw ProblemJsonError(path, "a number is expected");
    }
}

// A number, or the exact "ext80:" form of one (a converted file writes it
// for the few finite values that no decimal reproduces).
Real finiteReal(const Json& value, const std::string& path) {
    if (!value.is_number() && !value.is_string())
        throw ProblemJsonError(path, "a number is expected");
    const Real v = toReal(value, path);
    if (!std::isfinite(v) || !isOrdinaryExt80(encodeExt80(v)))
        throw ProblemJsonError(path, "the number is out of range");
    return v;
}

long long toInteger(const Json& value, const std::string& path, long long lo, long long hi) {
    long long v = 0;
    if (value.is_number_unsigned()) {
        const auto u = value.get<std::uint64_t>();
        if (u > static_cast<std::uint64_t>(hi))
            throw ProblemJsonError(
                path, "must be from " + std::to_string(lo) + " to " + std::to_string(hi));
        v = static_cast<long long>(u);
    } else if (value.is_number_integer()) {
        v = value.get<std::int64_t>();
    } else {
        throw ProblemJsonError(path, "a whole number is expected");
    }
    if (v < lo || v > hi)
        throw ProblemJsonError(path,
                               "must be from " + std::to_string(lo) + " to " + std::to_string(hi));
    return v;
}

std::string toText(const Json& value, const std::string& path) {
    if (!value.is_string()) throw ProblemJsonError(path, "a text is expected");
    return value.get<std::string>();
}

// A text that a record's short string can hold, cut to 20 characters.
std::string shortText(const std::string& text, const std::string& path) {
    try {
        (void)encodeStr20(text);
    } catch (const EncodingError& e) {
        throw ProblemJsonError(path, e.what());
    }
    return cutCharacters(text, 20);
}

// A real field of the readable format under its rule (the same rule the
// form keeps): not above the rule's lower limit, or beyond its bound, is
// refused when the file is read strictly.
Real ruledReal(const Json& value, const std::string& path, const RealFieldRule& rule, bool strict) {
    const std::string fieldPath = join(path, rule.key);
    const Real v = finiteReal(value, fieldPath);
    if (strict && !(v > rule.above)) throw ProblemJsonError(fieldPath, rule.jsonBelow);
    if (rule.beyond)
        if (auto beyond = rule.beyond(v, kEnglish); strict && beyond)
            throw ProblemJsonError(fieldPath, *beyond + formatShortest(v));
    return v;
}

struct StreamInput {
    TechnSet set;
    bool hasFlow = false;
};

// The process and what it decides: given state, phase change, single phase.
void processFromJson(const Json& s, const std::string& path, TechnSet& t) {
    const Json* process = find(s, "process");
    if (!process) throw ProblemJsonError(join(path, "process"), "missing");
    const std::string processText = toText(*process, join(path, "process"));
    const int code = findProcessName(processText);
    if (code < 0)
        throw ProblemJsonError(join(path, "process"),
                               "\"" + processText +
                                   "\" is not one of condensation, boiling, heating, cooling "
                                   "(конденсация, кипение, нагрев, охлаждение)");
    t.ProcessCode = static_cast<std::uint8_t>(code);
    t.ProcessName = shortText(processText, join(path, "process"));
    t.GivenState = givenStateFor(code);
    t.PhaseChange = phaseChangeFor(code);
    t.SinglePhase = singlePhaseFor(code);
}

// Components, in the order of the substance table.
void componentsFromJson(const Json& s, const std::string& path, const SubstanceData& data,
                        bool strict, TechnSet& t) {
    const std::string cpath = join(path, "components");
    const Json* components = find(s, "components");
    if (!components) throw ProblemJsonError(cpath, "missing");
    if (!components->is_array())
        throw ProblemJsonError(cpath, "a list of substance names is expected");
    if (components->empty() || components->size() > kMaxComponents)
        throw ProblemJsonError(cpath, "a medium has 1 to 6 components");
    int previous = -1;
    for (std::size_t i = 0; i < components->size(); ++i) {
        const std::string name = toText((*components)[i], index(cpath, i));
        const auto match = findSubstanceByAnyName(data, name);
        const int found = match ? static_cast<int>(*match) : -1;
        if (!match)
            throw ProblemJsonError(index(cpath, i), "no substance \"" + name + "\" in the table");
        if (strict && found <= previous)
            throw ProblemJsonError(
                index(cpath, i),
                "components are listed once each, in the order of the substance table");
        previous = found;
        t.ComponentIndex[i] = static_cast<std::uint16_t>(found);
        t.Components[i] = fixedPart(data.SubstanceTable[static_cast<std::size_t>(found)]);
    }
    t.ComponentCount = static_cast<std::uint16_t>(components->size());
}

// Concentrations: mass per cent; the last one is 100 minus the others.
void concentrationsFromJson(const Json& s, const std::string& path, bool strict, TechnSet& t) {
    const int n = t.ComponentCount;
    const std::string kpath = join(path, "concentrations_mass_pct");
    const Json* conc = find(s, "concentrations_mass_pct");
    if (conc) {
        if (!conc->is_array()) throw ProblemJsonError(kpath, "a list of mass per cent is expected");
        const auto given = conc->size();
        if (given != static_cast<std::size_t>(n) && given + 1 != static_cast<std::size_t>(n))
            throw ProblemJsonError(kpath, "give one value per component (or all but the last)");
        for (std::size_t i = 0; i < given; ++i) {
            const Real c = finiteReal((*conc)[i], index(kpath, i));
            if (strict && (c < 0 || c > 100))
                throw ProblemJsonError(index(kpath, i), "must be from 0 to 100 %");
            t.Concentration[i] = c;
        }
        const Real last = lastConcentration(t.Concentration, n);
        if (strict && last < 0)
            throw ProblemJsonError(kpath, "the sum of the concentrations is more than 100 %");
        if (strict && given == static_cast<std::size_t>(n) &&
            std::fabs(t.Concentration[static_cast<std::size_t>(n - 1)] - last) > 1e-6L)
            throw ProblemJsonError(kpath, "the concentrations must add up to 100 %");
        t.Concentration[static_cast<std::size_t>(n - 1)] = last;
    } else if (n == 1) {
        t.Concentration[0] = 100;
    } else if (strict) {
        throw ProblemJsonError(kpath, "missing (a mixture needs its concentrations)");
    }
}

// The inlet state: a temperature for heating and cooling, a pressure (and
// perhaps the saturation temperature found for it) for condensation and boiling.
void stateFromJson(const Json& s, const std::string& path, bool strict, TechnSet& t) {
    const Json* temperature = find(s, field::Temperature.key);
    const Json* pressure = find(s, field::Pressure.key);
    const Json* saturation = find(s, "saturation_temperature_C");
    if (t.GivenState == 't') {
        if (strict && (pressure || saturation))
            throw ProblemJsonError(
                join(path, pressure ? "pressure_kgf_cm2" : "saturation_temperature_C"),
                "heating and cooling take the inlet temperature_C, not a pressure");
        if (temperature)
            t.Temperature = ruledReal(*temperature, path, field::Temperature, strict);
        else if (strict)
            throw ProblemJsonError(join(path, field::Temperature.key), "missing");
        t.Pressure = 0;
        return;
    }
    if (strict && temperature)
        throw ProblemJsonError(join(path, field::Temperature.key),
                               "condensation and boiling take pressure_kgf_cm2 (the saturation "
                               "temperature follows from it)");
    if (pressure)
        t.Pressure = mmHgToPa(kgfcm2ToMmHg(ruledReal(*pressure, path, field::Pressure, strict)));
    else if (strict)
        throw ProblemJsonError(join(path, field::Pressure.key), "missing");
    if (saturation) t.Temperature = finiteReal(*saturation, join(path, "saturation_temperature_C"));
}

StreamInput streamFromJson(const Json& s, const std::string& path, const SubstanceData& data,
                           bool strict) {
    checkKeys(s,
              {"process", "components", "concentrations_mass_pct", "flow_rate_kg_h",
               "temperature_C", "pressure_kgf_cm2", "saturation_temperature_C", "air_factor"},
              path);
    StreamInput in;
    TechnSet& t = in.set;
    processFromJson(s, path, t);
    t.AirFactor = 1;
    componentsFromJson(s, path, data, strict, t);
    concentrationsFromJson(s, path, strict, t);
    // Flow rate: given on exactly one side.
    if (const Json* flow = find(s, field::FlowRate.key)) {
        t.FlowRate = ruledReal(*flow, path, field::FlowRate, strict);
        in.hasFlow = true;
    }
    stateFromJson(s, path, strict, t);
    if (const Json* air = find(s, "air_factor")) {
        t.AirFactor = finiteReal(*air, join(path, "air_factor"));
        if (strict && !(t.AirFactor > 0))
            throw ProblemJsonError(join(path, "air_factor"), "must be positive");
    }
    return in;
}

int arrangementValue(const std::string& text, const char* en1, const char* ru1, const char* en0,
                     const char* ru0) {
    if (text == en1 || text == ru1) return 1;
    if (text == en0 || text == ru0) return 0;
    return -1;
}

// The design fields by their rules; a missing field is refused when the file
// is read strictly and left at zero (or its fallback) otherwise.
class DesignReader {
public:
    DesignReader(const Json& d, std::string path, bool strict)
        : m_d(d), m_path(std::move(path)), m_strict(strict) {}

    const Json* need(const char* key) const {
        const Json* v = find(m_d, key);
        if (!v && m_strict) throw ProblemJsonError(join(m_path, key), "missing");
        return v;
    }
    long long integer(const IntegerFieldRule& rule, long long fallback) const {
        const Json* v = need(rule.key);
        return v ? toInteger(*v, join(m_path, rule.key), m_strict ? rule.low : 0, rule.high)
                 : fallback;
    }
    Real positive(const RealFieldRule& rule) const {
        const Json* v = need(rule.key);
        return v ? ruledReal(*v, m_path, rule, m_strict) : 0;
    }
    // An arrangement word of either language: 1 for the first pair, 0 for the second.
    void arrangement(const char* key, const char* en1, const char* ru1, const char* en0,
                     const char* ru0, std::uint8_t& value) const {
        const Json* a = need(key);
        if (!a) return;
        const int v = arrangementValue(toText(*a, join(m_path, key)), en1, ru1, en0, ru0);
        if (v < 0)
            throw ProblemJsonError(join(m_path, key),
                                   std::string(en1) + " or " + en0 + " (" + ru1 + ", " + ru0 + ")");
        value = static_cast<std::uint8_t>(v);
    }

private:
    const Json& m_d;
    std::string m_path;
    bool m_strict;
};

// The tube material and the conductivity of its wall (0 when none is known).
Real materialFromJson(const Json& d, const std::string& path, const DesignReader& read, bool strict,
                      DesignRecord& r) {
    const Json* m = read.need("material");
    if (!m) return 0;
    const std::string text = toText(*m, join(path, "material"));
    if (strict && text.empty()) throw ProblemJsonError(join(path, "material"), "missing");
    r.MaterialIndex = static_cast<std::uint8_t>(findMaterial(text));
    r.MaterialName = shortText(text, join(path, "material"));
    const std::string kpath = join(path, field::Conductivity.key);
    const Json* k = find(d, field::Conductivity.key);
    if (r.MaterialIndex > 0) {
        if (k && strict)
            throw ProblemJsonError(kpath, "the material \"" + text + "\" has its own conductivity");
        return kTubeMaterials[r.MaterialIndex - 1u].conductivity;
    }
    if (k) return ruledReal(*k, path, field::Conductivity, strict);
    if (strict)
        throw ProblemJsonError(kpath, "missing (\"" + text + "\" is not in the material list)");
    return 0;
}

// The fouling of each side, from 0 to kMaxSideFouling; a side not given
// keeps the default, half of the allowance of both.
void foulingFromJson(const Json& d, const std::string& path, bool strict, DesignRecord& r) {
    const Json* fouling = find(d, "fouling_m2K_W");
    if (!fouling) return;
    const std::string fpath = join(path, "fouling_m2K_W");
    if (!fouling->is_object())
        throw ProblemJsonError(fpath, "an object with \"tube\" and \"shell\" is expected");
    checkKeys(*fouling, {field::TubeFouling.key, field::ShellFouling.key}, fpath);
    if (const Json* v = find(*fouling, field::TubeFouling.key))
        r.TubeFouling = ruledReal(*v, fpath, field::TubeFouling, strict);
    if (const Json* v = find(*fouling, field::ShellFouling.key))
        r.ShellFouling = ruledReal(*v, fpath, field::ShellFouling, strict);
}

DesignRecord designFromJson(const Json& d, const std::string& path, const TechnSet& tube,
                            const TechnSet& shell, bool strict) {
    checkKeys(d,
              {"tube_count", "tube_length_m", "outer_diameter_m", "inner_diameter_m", "tube_passes",
               "shell_passes", "rows_on_vertical", "parallel_flows", "shell_diameter_m", "material",
               "conductivity_W_mK", "tube_arrangement", "bundle", "fouling_m2K_W"},
              path);
    const DesignReader read(d, path, strict);
    DesignRecord r;
    r.TubeCount = static_cast<std::uint16_t>(read.integer(field::TubeCount, 0));
    r.TubeLength = read.positive(field::TubeLength);
    r.OuterDiameter = read.positive(field::OuterDiameter);
    r.InnerDiameter = read.positive(field::InnerDiameter);
    if (strict && !(r.InnerDiameter < r.OuterDiameter))
        throw ProblemJsonError(join(path, "inner_diameter_m"),
                               "must be smaller than outer_diameter_m");
    r.ShellPasses = static_cast<std::uint8_t>(read.integer(field::ShellPasses, 0));
    if (tube.SinglePhase == 1) {
        r.TubePasses = static_cast<std::uint8_t>(read.integer(field::TubePasses, 1));
    } else {
        const Json* v = find(d, "tube_passes");
        r.TubePasses = 1;
        if (v && strict && toInteger(*v, join(path, "tube_passes"), 1, 4) != 1)
            throw ProblemJsonError(join(path, "tube_passes"),
                                   "is 1 when the tube-space medium changes phase");
        if (v && !strict)
            r.TubePasses =
                static_cast<std::uint8_t>(toInteger(*v, join(path, "tube_passes"), 0, 255));
    }
    if (shell.SinglePhase == 1) {
        r.ShellDiameter = read.positive(field::ShellDiameter);
    } else if (const Json* v = find(d, "shell_diameter_m")) {
        r.ShellDiameter = finiteReal(*v, join(path, "shell_diameter_m"));
        if (strict && r.ShellDiameter < 0)
            throw ProblemJsonError(join(path, "shell_diameter_m"), "must not be negative");
    }
    r.RowsOnVertical = static_cast<std::uint8_t>(read.integer(field::RowsOnVertical, 0));
    r.ParallelFlows = static_cast<std::uint8_t>(read.integer(field::ParallelFlows, 0));

    foulingFromJson(d, path, strict, r);
    const Real conductivity = materialFromJson(d, path, read, strict, r);
    if (conductivity > 0)
        r.WallResistance = wallResistance(r.OuterDiameter, r.InnerDiameter, conductivity,
                                          r.TubeFouling, r.ShellFouling);
    read.arrangement("tube_arrangement", "chess", "шахматное", "corridor", "коридорное",
                     r.StaggeredTubes);
    read.arrangement("bundle", "horizontal", "горизонтальное", "vertical", "вертикальное",
                     r.HorizontalBundle);
    r.Surface = heatExchangeSurface(r.ParallelFlows, r.TubeCount, r.OuterDiameter, r.InnerDiameter,
                                    r.TubeLength);
    return r;
}

// ---------------------------------------------------------------- stored fields

// Every record field by name, as exact JSON, for the "stored" section.
template <typename Record>
struct Field {
    const char* name;
    std::function<Json(const Record&)> get;
    std::function<void(Record&, const Json&, const std::string&)> set;
};

template <typename Record, typename T>
Field<Record> integerField(const char* name, T Record::*member) {
    return {name, [member](const Record& r) { return Json(static_cast<std::uint64_t>(r.*member)); },
            [member](Record& r, const Json& v, const std::string& path) {
                r.*member = static_cast<T>(toInteger(v, path, 0, std::numeric_limits<T>::max()));
            }};
}

template <typename Record>
Field<Record> realField(const char* name, Real Record::*member) {
    return {name, [member](const Record& r) { return realToJson(r.*member); },
            [member](Record& r, const Json& v, const std::string& path) {
                r.*member = toReal(v, path);
            }};
}

template <typename Record>
Field<Record> textField(const char* name, std::string Record::*member) {
    return {name, [member](const Record& r) { return Json(r.*member); },
            [member](Record& r, const Json& v, const std::string& path) {
                r.*member = shortText(toText(v, path), path);
                if (r.*member != toText(v, path))
                    throw ProblemJsonError(path, "longer than 20 characters");
            }};
}

template <typename Record, typename T, std::size_t N>
Field<Record> arrayField(const char* name, std::array<T, N> Record::*member) {
    return {name,
            [member](const Record& r) {
                Json a = Json::array();
                for (const T& x : r.*member) {
                    if constexpr (std::is_same_v<T, Real>)
                        a.push_back(realToJson(x));
                    else
                        a.push_back(static_cast<std::uint64_t>(x));
                }
                return a;
            },
            [member](Record& r, const Json& v, const std::string& path) {
                if (!v.is_array() || v.size() != N)
                    throw ProblemJsonError(
                        path, "a list of " + std::to_string(N) + " values is expected");
                for (std::size_t i = 0; i < N; ++i) {
                    if constexpr (std::is_same_v<T, Real>)
                        (r.*member)[i] = toReal(v[i], index(path, i));
                    else
                        (r.*member)[i] = static_cast<T>(
                            toInteger(v[i], index(path, i), 0, std::numeric_limits<T>::max()));
                }
            }};
}

const std::vector<Field<Pro>>& proFields() {
    static const std::vector<Field<Pro>> fields = [] {
        std::vector<Field<Pro>> f;
        f.push_back(textField("EnglishName", &Pro::EnglishName));
        f.push_back(textField("RussianName", &Pro::RussianName));
        f.push_back(
            {"Groups",
             [](const Pro& p) {
                 const GroupBlock& g = p.Groups;
                 Json j;
                 j["GroupCount"] = static_cast<std::uint64_t>(g.GroupCount);
                 Json main = Json::array(), occ = Json::array(), letters = Json::array(),
                      q = Json::array(), r = Json::array(), x = Json::array(),
                      inter = Json::array();
                 for (std::size_t k = 0; k < kMaxGroups; ++k) {
                     main.push_back(static_cast<std::uint64_t>(g.MainGroup[k]));
                     occ.push_back(static_cast<std::uint64_t>(g.Occurrences[k]));
                     letters.push_back(static_cast<std::uint64_t>(
                         static_cast<unsigned char>(g.SubgroupLetter[k])));
                     q.push_back(realToJson(g.SurfaceQ[k]));
                     r.push_back(realToJson(g.VolumeR[k]));
                     x.push_back(realToJson(g.PureFractions[k]));
                     Json row = Json::array();
                     for (std::size_t m = 0; m < kMaxGroups; ++m)
                         row.push_back(realToJson(g.PureInteraction[k][m]));
                     inter.push_back(row);
                 }
                 j["MainGroup"] = main;
                 j["Occurrences"] = occ;
                 j["SubgroupLetter"] = letters;
                 j["SurfaceQ"] = q;
                 j["VolumeR"] = r;
                 j["PureFractions"] = x;
                 j["PureInteraction"] = inter;
                 return j;
             },
             [](Pro& p, const Json& j, const std::string& path) {
                 checkKeys(j,
                           {"GroupCount", "MainGroup", "Occurrences", "SubgroupLetter", "SurfaceQ",
                            "VolumeR", "PureFractions", "PureInteraction"},
                           path);
                 GroupBlock& g = p.Groups;
                 auto list = [&](const char* key) -> const Json& {
                     const Json* v = find(j, key);
                     if (!v || !v->is_array() || v->size() != kMaxGroups)
                         throw ProblemJsonError(join(path, key), "a list of 11 values is expected");
                     return *v;
                 };
                 if (const Json* c = find(j, "GroupCount"))
                     g.GroupCount =
                         static_cast<std::uint8_t>(toInteger(*c, join(path, "GroupCount"), 0, 255));
                 const Json& main = list("MainGroup");
                 const Json& occ = list("Occurrences");
                 const Json& letters = list("SubgroupLetter");
                 const Json& q = list("SurfaceQ");
                 const Json& r = list("VolumeR");
                 const Json& x = list("PureFractions");
                 const Json& inter = list("PureInteraction");
                 for (std::size_t k = 0; k < kMaxGroups; ++k) {
                     g.MainGroup[k] = static_cast<std::uint8_t>(
                         toInteger(main[k], join(path, "MainGroup"), 0, 255));
                     g.Occurrences[k] = static_cast<std::uint8_t>(
                         toInteger(occ[k], join(path, "Occurrences"), 0, 255));
                     g.SubgroupLetter[k] = static_cast<char>(
                         toInteger(letters[k], join(path, "SubgroupLetter"), 0, 255));
                     g.SurfaceQ[k] = toReal(q[k], join(path, "SurfaceQ"));
                     g.VolumeR[k] = toReal(r[k], join(path, "VolumeR"));
                     g.PureFractions[k] = toReal(x[k], join(path, "PureFractions"));
                     if (!inter[k].is_array() || inter[k].size() != kMaxGroups)
                         throw ProblemJsonError(join(path, "PureInteraction"),
                                                "11 rows of 11 values are expected");
                     for (std::size_t m = 0; m < kMaxGroups; ++m)
                         g.PureInteraction[k][m] =
                             toReal(inter[k][m], join(path, "PureInteraction"));
                 }
             }});
        f.push_back(integerField("PointCount", &Pro::PointCount));
        f.push_back(integerField("PressurePointCount", &Pro::PressurePointCount));
        f.push_back(realField("AntoineA", &Pro::AntoineA));
        f.push_back(realField("AntoineB", &Pro::AntoineB));
        f.push_back(realField("AntoineC", &Pro::AntoineC));
        f.push_back(realField("MolarMass", &Pro::MolarMass));
        return f;
    }();
    return fields;
}

Json proToJson(const Pro& pro) {
    Json j = Json::object();
    for (const auto& f : proFields()) j[f.name] = f.get(pro);
    return j;
}

Pro proFromJson(const Json& j, const std::string& path) {
    std::set<std::string> allowed;
    for (const auto& f : proFields()) allowed.insert(f.name);
    checkKeys(j, allowed, path);
    Pro pro;
    for (const auto& f : proFields())
        if (const Json* v = find(j, f.name)) f.set(pro, *v, join(path, f.name));
    return pro;
}

const std::vector<Field<TechnSet>>& technSetFields() {
    static const std::vector<Field<TechnSet>> fields = [] {
        std::vector<Field<TechnSet>> f;
        f.push_back(integerField("ComponentCount", &TechnSet::ComponentCount));
        f.push_back(integerField("ProcessCode", &TechnSet::ProcessCode));
        f.push_back(integerField("GivenState", &TechnSet::GivenState));
        f.push_back(integerField("PhaseChange", &TechnSet::PhaseChange));
        f.push_back(realField("Temperature", &TechnSet::Temperature));
        f.push_back(realField("Pressure", &TechnSet::Pressure));
        f.push_back(realField("FlowRate", &TechnSet::FlowRate));
        f.push_back(realField("AirFactor", &TechnSet::AirFactor));
        f.push_back(textField("ProcessName", &TechnSet::ProcessName));
        f.push_back(arrayField("ComponentIndex", &TechnSet::ComponentIndex));
        f.push_back(arrayField("Concentration", &TechnSet::Concentration));
        f.push_back(integerField("SinglePhase", &TechnSet::SinglePhase));
        f.push_back(integerField("SelectionChanged", &TechnSet::SelectionChanged));
        return f;
    }();
    return fields;
}

const std::vector<Field<DesignRecord>>& designFields() {
    static const std::vector<Field<DesignRecord>> fields = [] {
        std::vector<Field<DesignRecord>> f;
        f.push_back(integerField("TubeCount", &DesignRecord::TubeCount));
        f.push_back(integerField("MaterialIndex", &DesignRecord::MaterialIndex));
        f.push_back(integerField("TubePasses", &DesignRecord::TubePasses));
        f.push_back(integerField("ShellPasses", &DesignRecord::ShellPasses));
        f.push_back(integerField("RowsOnVertical", &DesignRecord::RowsOnVertical));
        f.push_back(integerField("ParallelFlows", &DesignRecord::ParallelFlows));
        f.push_back(realField("OuterDiameter", &DesignRecord::OuterDiameter));
        f.push_back(realField("InnerDiameter", &DesignRecord::InnerDiameter));
        f.push_back(realField("TubeLength", &DesignRecord::TubeLength));
        f.push_back(realField("ShellDiameter", &DesignRecord::ShellDiameter));
        f.push_back(realField("WallResistance", &DesignRecord::WallResistance));
        f.push_back(realField("Surface", &DesignRecord::Surface));
        f.push_back(textField("MaterialName", &DesignRecord::MaterialName));
        f.push_back(integerField("FlowSide", &DesignRecord::FlowSide));
        f.push_back(integerField("HorizontalBundle", &DesignRecord::HorizontalBundle));
        f.push_back(integerField("StaggeredTubes", &DesignRecord::StaggeredTubes));
        return f;
    }();
    return fields;
}

void applyStoredStream(TechnSet& t, const Json& stored, const std::string& path) {
    std::set<std::string> allowed{"Components"};
    for (const auto& f : technSetFields()) allowed.insert(f.name);
    checkKeys(stored, allowed, path);
    for (const auto& f : technSetFields())
        if (const Json* v = find(stored, f.name)) f.set(t, *v, join(path, f.name));
    if (const Json* slots = find(stored, "Components")) {
        const std::string spath = join(path, "Components");
        if (!slots->is_object()) throw ProblemJsonError(spath, "an object of slots is expected");
        for (auto it = slots->begin(); it != slots->end(); ++it) {
            const std::string& key = it.key();
            if (key.size() != 1 || key[0] < '0' || key[0] > '5')
                throw ProblemJsonError(join(spath, key), "slots are numbered 0 to 5");
            t.Components[static_cast<std::size_t>(key[0] - '0')] =
                proFromJson(it.value(), join(spath, key));
        }
    }
}

void applyStoredDesign(DesignRecord& d, const Json& stored, const std::string& path) {
    std::set<std::string> allowed;
    for (const auto& f : designFields()) allowed.insert(f.name);
    checkKeys(stored, allowed, path);
    for (const auto& f : designFields())
        if (const Json* v = find(stored, f.name)) f.set(d, *v, join(path, f.name));
}

// `check` false builds the records of the readable fields only, to compare
// them with a problem being written (a value derived from extreme entries may
// not be sound before "stored" replaces it).
ProblemData problemFromTree(const Json& root, const SubstanceData& data, bool check = true) {
    checkKeys(root, {"format", "version", "tube_space", "shell_space", "design", "stored"}, "");
    if (const Json* f = find(root, "format"))
        if (!f->is_string() || f->get<std::string>() != kFormatName)
            throw ProblemJsonError("format", std::string("must be \"") + kFormatName + "\"");
    if (const Json* v = find(root, "version"))
        if (toInteger(*v, "version", 1, 1000) != kFormatVersion)
            throw ProblemJsonError("version",
                                   "this program reads version " + std::to_string(kFormatVersion));
    const Json* stored = find(root, "stored");
    const bool strict = stored == nullptr;  // a converted file keeps its exact bytes in "stored"

    for (const char* key : {"tube_space", "shell_space", "design"})
        if (!find(root, key)) throw ProblemJsonError(key, "missing");
    StreamInput tube = streamFromJson(root["tube_space"], "tube_space", data, strict);
    StreamInput shell = streamFromJson(root["shell_space"], "shell_space", data, strict);
    if (strict) {
        if (tube.hasFlow == shell.hasFlow)
            throw ProblemJsonError("shell_space.flow_rate_kg_h",
                                   "give flow_rate_kg_h for exactly one of the two media");
        if (pairCode(tube.set.ProcessCode, shell.set.ProcessCode) == 0)
            throw ProblemJsonError(
                "shell_space.process",
                std::string("no exchanger for ") + processName(tube.set.ProcessCode, kEnglish) +
                    " in the tubes and " + processName(shell.set.ProcessCode, kEnglish) +
                    " in the shell");
        for (const auto& [heated, cooled, path] :
             {std::tuple{&tube.set, &shell.set, "tube_space.temperature_C"},
              std::tuple{&shell.set, &tube.set, "shell_space.temperature_C"}})
            if (heated->ProcessCode == 2 && cooled->ProcessCode == 3)
                if (auto crossed = inletsWithoutDrivingForce(heated->Temperature,
                                                             cooled->Temperature, kEnglish))
                    throw ProblemJsonError(path, *crossed);
    }
    ProblemData problem;
    problem.TubeStream = tube.set;
    problem.ShellStream = shell.set;
    problem.Design = designFromJson(root["design"], "design", tube.set, shell.set, strict);
    problem.Design.FlowSide = shell.hasFlow && !tube.hasFlow ? 1 : 0;

    if (stored) {
        checkKeys(*stored, {"tube_space", "shell_space", "design"}, "stored");
        if (const Json* s = find(*stored, "tube_space"))
            applyStoredStream(problem.TubeStream, *s, "stored.tube_space");
        if (const Json* s = find(*stored, "shell_space"))
            applyStoredStream(problem.ShellStream, *s, "stored.shell_space");
        if (const Json* s = find(*stored, "design"))
            applyStoredDesign(problem.Design, *s, "stored.design");
    }
    if (!check) return problem;
    if (auto why = problemDamage(problem, data.SubstanceTable.size(), kEnglish))
        throw ProblemJsonError("", *why);
    return problem;
}

// ---------------------------------------------------------------- writing

// The shortest decimal kgf/cm2 that the dialog's conversion turns back into
// exactly this pressure in Pa; the plain quotient when there is none.
Json pressureToKgfcm2(Real pressure_Pa) {
    const Real typed = paToKgfcm2(pressure_Pa);
    if (!std::isfinite(typed)) return realToJson(typed);
    char buffer[64];
    for (int precision = 1; precision <= 21; ++precision) {
        std::snprintf(buffer, sizeof buffer, "%.*Lg", precision, typed);
        const Real candidate = std::strtold(buffer, nullptr);
        if (mmHgToPa(kgfcm2ToMmHg(candidate)) == pressure_Pa &&
            std::signbit(candidate) == std::signbit(pressure_Pa))
            return realToJson(candidate);
    }
    return realToJson(typed);
}

Json streamToJson(const TechnSet& t, bool flowGiven, const SubstanceData& data) {
    Json s = Json::object();
    const int code = t.ProcessCode;
    s["process"] = findProcessName(t.ProcessName) == code
                       ? t.ProcessName
                       : std::string(processName(code, kEnglish));
    Json names = Json::array();
    for (std::size_t i = 0; i < t.ComponentCount; ++i)
        names.push_back(data.SubstanceTable.at(t.ComponentIndex[i]).EnglishName);
    s["components"] = names;
    Json conc = Json::array();
    for (std::size_t i = 0; i < t.ComponentCount; ++i)
        conc.push_back(realToJson(t.Concentration[i]));
    s["concentrations_mass_pct"] = conc;
    if (flowGiven) s["flow_rate_kg_h"] = realToJson(t.FlowRate);
    if (givenStateFor(code) == 't') {
        s["temperature_C"] = realToJson(t.Temperature);
    } else {
        s["pressure_kgf_cm2"] = pressureToKgfcm2(t.Pressure);
        if (t.Temperature != 0) s["saturation_temperature_C"] = realToJson(t.Temperature);
    }
    if (t.AirFactor != 1) s["air_factor"] = realToJson(t.AirFactor);
    return s;
}

Json designToJson(const DesignRecord& d, const TechnSet& tube, const TechnSet& shell) {
    Json j = Json::object();
    j["tube_count"] = static_cast<std::uint64_t>(d.TubeCount);
    j["tube_length_m"] = realToJson(d.TubeLength);
    j["outer_diameter_m"] = realToJson(d.OuterDiameter);
    j["inner_diameter_m"] = realToJson(d.InnerDiameter);
    if (tube.SinglePhase == 1 || d.TubePasses != 1)
        j["tube_passes"] = static_cast<std::uint64_t>(d.TubePasses);
    j["shell_passes"] = static_cast<std::uint64_t>(d.ShellPasses);
    j["rows_on_vertical"] = static_cast<std::uint64_t>(d.RowsOnVertical);
    j["parallel_flows"] = static_cast<std::uint64_t>(d.ParallelFlows);
    if (shell.SinglePhase == 1 || d.ShellDiameter != 0)
        j["shell_diameter_m"] = realToJson(d.ShellDiameter);
    if (d.MaterialIndex >= 1 && d.MaterialIndex <= kTubeMaterials.size()) {
        j["material"] = findMaterial(d.MaterialName) == d.MaterialIndex
                            ? d.MaterialName
                            : std::string(kTubeMaterials[d.MaterialIndex - 1u].english);
    } else {
        j["material"] = d.MaterialName;
        j["conductivity_W_mK"] = realToJson(conductivityFromWallResistance(d));
    }
    j["tube_arrangement"] = d.StaggeredTubes ? "chess" : "corridor";
    j["bundle"] = d.HorizontalBundle ? "horizontal" : "vertical";
    if (!hasDefaultFouling(d))
        j["fouling_m2K_W"] = {{"tube", realToJson(d.TubeFouling)},
                              {"shell", realToJson(d.ShellFouling)}};
    return j;
}

// Whether two values are written as the same text: reals by their 80 bits
// (so 0 and -0 differ, as their texts do), without printing every number.
bool sameText(const Json& a, const Json& b) {
    if (a.is_number_float() && b.is_number_float())
        return encodeExt80(a.get<long double>()) == encodeExt80(b.get<long double>());
    if (a.is_number() || b.is_number()) return dump(a) == dump(b);
    if (a.type() != b.type()) return false;
    if (a.is_array() || a.is_object()) {
        if (a.size() != b.size()) return false;
        for (auto i = a.begin(), j = b.begin(); i != a.end(); ++i, ++j)
            if ((a.is_object() && i.key() != j.key()) || !sameText(*i, *j)) return false;
        return true;
    }
    return a == b;
}

Json storedStream(const TechnSet& original, const TechnSet& derived) {
    Json out = Json::object();
    for (const auto& f : technSetFields())
        if (!sameText(f.get(original), f.get(derived))) out[f.name] = f.get(original);
    Json slots = Json::object();
    for (std::size_t i = 0; i < kMaxComponents; ++i) {
        // equal bytes are equal texts; printing every real of a slot is slow
        std::array<std::uint8_t, kProSize> a{}, b{};
        encodePro(original.Components[i], a);
        encodePro(derived.Components[i], b);
        if (a == b) continue;
        const Json j = proToJson(original.Components[i]);
        if (!sameText(j, proToJson(derived.Components[i]))) slots[std::to_string(i)] = j;
    }
    if (!slots.empty()) out["Components"] = slots;
    return out;
}

Json storedDesign(const DesignRecord& original, const DesignRecord& derived) {
    Json out = Json::object();
    for (const auto& f : designFields())
        if (!sameText(f.get(original), f.get(derived))) out[f.name] = f.get(original);
    return out;
}

// The records the readable fields alone give, unchecked.
ProblemData readableRecords(const Json& root, const SubstanceData& data) {
    Json readable = root;
    readable["stored"] = Json::object();
    try {
        return problemFromTree(readable, data, false);
    } catch (const Json::exception& e) {
        throw ProblemJsonError("", std::string("not usable JSON: ") + e.what());
    }
}

// Takes out of `stored` the fields of a stream record the change derives otherwise.
void releaseStream(const TechnSet& before, const TechnSet& after, Json& stored) {
    for (const auto& f : technSetFields())
        if (!sameText(f.get(before), f.get(after))) stored.erase(f.name);
    auto slots = stored.find("Components");
    if (slots == stored.end() || !slots->is_object()) return;
    for (std::size_t i = 0; i < kMaxComponents; ++i)
        if (!sameText(proToJson(before.Components[i]), proToJson(after.Components[i])))
            slots->erase(std::to_string(i));
    if (slots->empty()) stored.erase("Components");
}

}  // namespace

void releaseStored(const Json& original, Json& edited, const SubstanceData& data) {
    auto stored = edited.find("stored");
    if (stored == edited.end() || !stored->is_object()) return;
    const ProblemData before = readableRecords(original, data);
    const ProblemData after = readableRecords(edited, data);
    if (auto s = stored->find("tube_space"); s != stored->end() && s->is_object())
        releaseStream(before.TubeStream, after.TubeStream, *s);
    if (auto s = stored->find("shell_space"); s != stored->end() && s->is_object())
        releaseStream(before.ShellStream, after.ShellStream, *s);
    if (auto s = stored->find("design"); s != stored->end() && s->is_object())
        for (const auto& f : designFields())
            if (!sameText(f.get(before.Design), f.get(after.Design))) s->erase(f.name);
}

void checkReadable(const Json& root, const SubstanceData& data) {
    Json readable = root;
    if (readable.is_object()) readable.erase("stored");
    try {
        problemFromTree(readable, data);
    } catch (const Json::exception& e) {
        throw ProblemJsonError("", std::string("not usable JSON: ") + e.what());
    }
}

ProblemData problemFromJson(std::string_view text, const SubstanceData& data) {
    Json root;
    try {
        root = parseJson(text);
    } catch (const JsonTextError& e) {
        throw ProblemJsonError("", std::string("not valid JSON: ") + e.what());
    }
    try {
        return problemFromTree(root, data);
    } catch (const Json::exception& e) {
        throw ProblemJsonError("", std::string("not usable JSON: ") + e.what());
    }
}

std::string problemToJson(const ProblemData& problem, const SubstanceData& data) {
    if (auto why = problemDamage(problem, data.SubstanceTable.size(), kEnglish))
        throw ProblemJsonError("", *why);
    const bool shellFlow = problem.Design.FlowSide == 1;
    Json root = Json::object();
    root["format"] = kFormatName;
    root["version"] = kFormatVersion;
    root["tube_space"] = streamToJson(problem.TubeStream, !shellFlow, data);
    root["shell_space"] = streamToJson(problem.ShellStream, shellFlow, data);
    root["design"] = designToJson(problem.Design, problem.TubeStream, problem.ShellStream);

    const std::vector<std::uint8_t> want = encodeProblem(problem);
    // A problem the readable fields describe completely needs nothing more.
    try {
        if (encodeProblem(problemFromTree(root, data)) == want) return dump(root);
    } catch (const ProblemJsonError&) {
        // not readable strictly: keep the exact values below
    }
    root["stored"] = Json::object();
    const ProblemData derived = problemFromTree(root, data, false);
    Json stored = Json::object();
    if (Json s = storedStream(problem.TubeStream, derived.TubeStream); !s.empty())
        stored["tube_space"] = s;
    if (Json s = storedStream(problem.ShellStream, derived.ShellStream); !s.empty())
        stored["shell_space"] = s;
    if (Json s = storedDesign(problem.Design, derived.Design); !s.empty()) stored["design"] = s;
    root["stored"] = stored;
    if (encodeProblem(problemFromTree(root, data)) != want)
        throw std::logic_error("the problem does not survive its own JSON form");
    return dump(root);
}

}  // namespace vexamo::pjson
