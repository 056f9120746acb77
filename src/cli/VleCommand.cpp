#include "cli/VleCommand.h"

#include <algorithm>
#include <cmath>
#include <optional>
#include <ostream>

#include "cli/Answers.h"
#include "cli/CliDialogs.h"
#include "cli/ErrorReport.h"
#include "cli/MixtureArgument.h"
#include "cli/PlotFiles.h"
#include "cli/ProblemIo.h"
#include "common/AtomicFile.h"
#include "common/Constants.h"
#include "common/Errors.h"
#include "common/NumberFormat.h"
#include "control/StreamPreparation.h"
#include "equilibrium/EquilibriumUnits.h"
#include "equilibrium/TxyTable.h"
#include "plot/TxyPainter.h"
#include "problemjson/JsonText.h"

namespace vexamo::cli {

using pjson::Json;

namespace {

// The options, checked: nothing has been calculated yet.
struct VleInput {
    std::vector<MixturePart> components;  // in the order of the substance table
    Real pressure_kgfcm2 = 0;
    std::uint8_t phase = 'y';  // 'y' boiling, 'x' condensation
    AnswerBook answers;
};

// The stream as PrepareStream left it.
struct PreparedMixture {
    TechnSet record;
    Real entered_mmHg = 0;
    int status = 0;       // 1 when the calculation ended without a result
    std::string failure;  // why it ended so
};

// A mixture of the command line whose mass per cents add up to 100, in the
// order of the substance table.
std::vector<MixturePart> parseMixture(const SubstanceData& data, const std::string& text) {
    std::vector<MixturePart> parts = parseMixtureArgument(data, text);
    Real sum = 0;
    for (const MixturePart& c : parts) sum += c.massPercent;
    if (std::fabs(sum - 100) > 1e-6L)
        throw InputError("--mix: the mass per cents add up to " + formatShortest(sum) +
                         ", not 100");
    // The technological data dialog lists the components in the order of the
    // substance table.
    std::sort(parts.begin(), parts.end(),
              [](const MixturePart& a, const MixturePart& b) { return a.index < b.index; });
    return parts;
}

// Throws InputError or OutputRefused before anything is calculated or moved.
VleInput parseOptions(const VleOptions& o, const SubstanceData& data) {
    VleInput input;
    input.components = parseMixture(data, o.mix);
    const auto p = parseReal(o.pressure);
    if (!p || !std::isfinite(*p) || !(*p > 0))
        throw InputError("--pressure: \"" + o.pressure +
                         "\" is not a pressure above zero (kgf/cm2)");
    input.pressure_kgfcm2 = *p;
    if (o.process == "condensation")
        input.phase = 'x';
    else if (o.process != "boiling")
        throw InputError("--process: \"" + o.process + "\" is neither boiling nor condensation");
    if ((o.txy || !o.plot.empty()) && input.components.size() != 2)
        throw InputError("--txy and --plot need a mixture of two components");
    // The picture is checked before anything is calculated or moved.
    checkOutputs({{"--plot", o.plot, BackupRule::AppendBak, {".png", ".svg"}}},
                 {{"--answers", o.answers}});
    if (!o.answers.empty()) input.answers = AnswerBook::fromFile(o.answers);
    return input;
}

// The technological record of the mixture; the concentration table (all but
// the last component) is answered from the command line.
TechnSet streamRecord(VleInput& input) {
    const std::vector<MixturePart>& components = input.components;
    const std::size_t n = components.size();
    TechnSet record;
    record.ComponentCount = static_cast<std::uint16_t>(n);
    for (std::size_t i = 0; i < n; ++i)
        record.ComponentIndex[i] = static_cast<std::uint16_t>(components[i].index);
    record.ProcessCode = input.phase == 'y' ? 1 : 0;
    record.SelectionChanged = 1;
    if (n > 1) {
        Json given = Json::array();
        for (std::size_t i = 0; i + 1 < n; ++i)
            given.push_back(formatShortest(components[i].massPercent));
        input.answers.setPending("stream.concentrations", given);
    }
    return record;
}

// The stream preparation of the condensing or boiling mixture at the entered
// pressure. A calculation that ends without a result, or the person's choice
// to end the program, is reported and kept as the failure; a refused answer
// (AnswerError) passes through.
void prepareMixture(Session& session, CliDialogs& dialogs, const VleInput& input,
                    PreparedMixture& mixture, std::ostream& err) {
    mixture.entered_mmHg = kgfcm2ToMmHg(input.pressure_kgfcm2);
    Real correction = 1, temperature = 0;
    try {
        PrepareStream(session, dialogs, 'p', '1', input.phase, mixture.record, correction,
                      temperature, mixture.entered_mmHg);
    } catch (const ProgramExitRequested& e) {
        mixture.failure = e.what();
        mixture.status = reportStop(err, e);
    } catch (const CalculationAborted& e) {
        mixture.failure = e.what();
        mixture.status = reportError(err, e);
    }
}

Json realArray(std::span<const Real> values) {
    Json a = Json::array();
    for (Real v : values) a.push_back(pjson::realToJson(v));
    return a;
}

// The same with null for a point that was not found.
Json realOrNullArray(std::span<const Real> values) {
    Json a = Json::array();
    for (Real v : values) a.push_back(std::isfinite(v) ? pjson::realToJson(v) : Json(nullptr));
    return a;
}

const char* sourceName(PairSetup::Origin origin) {
    switch (origin) {
        case PairSetup::Origin::Entered:
            return "entered";
        case PairSetup::Origin::Reference:
            return "reference";
        default:
            return "fitted";
    }
}

Json parameterJson(const std::string& name, char kind, Real value) {
    Json p = Json::object();
    p["name"] = name;
    switch (kind) {
        case 'E':
            p["A"] = pjson::realToJson(value);
            p["kJ_mol"] = pjson::realToJson(energyParameterKiloJoules(value));
            break;
        case 'G':
            p["K"] = pjson::realToJson(groupParameterKelvin(value));
            break;
        default:
            p["value"] = pjson::realToJson(value);
            break;
    }
    return p;
}

Json pairJson(const PairSetup& pair, const std::vector<std::string>& names) {
    Json j = Json::object();
    j["first"] = names.at(static_cast<std::size_t>(pair.First));
    j["second"] = names.at(static_cast<std::size_t>(pair.Second));
    j["method"] = methodName(pair.MethodLetter);
    j["source"] = sourceName(pair.Source);
    Json parameters = Json::array();
    for (std::size_t k = 0; k < pair.Values.size(); ++k)
        parameters.push_back(parameterJson(pair.Labels[k], pair.Kinds[k], pair.Values[k]));
    j["parameters"] = parameters;
    if (pair.Source == PairSetup::Origin::Fitted) {
        j["points"] = pair.Points;
        j["rms_y"] = pjson::realToJson(pair.RmsY);
        j["iterations"] = pair.Iterations;
        j["evaluations"] = pair.Evaluations;
    }
    return j;
}

// The saturation state of a prepared stream: the phases of a mixture (mole
// fractions, activity coefficients, mass per cents) or a pure substance's air
// factor.
void saturationJson(const Session& session, const TechnSet& record, std::size_t count, Json& j) {
    j["saturation_temperature_C"] = pjson::realToJson(record.Temperature);
    if (count < 2) {
        j["air_factor"] = pjson::realToJson(record.AirFactor);
        return;
    }
    const std::span<const Real> x(session.EquilibriumLiquid.data(), count),
        y(session.EquilibriumVapour.data(), count);
    std::vector<Real> molarMasses;
    for (std::size_t i = 0; i < count; ++i) molarMasses.push_back(record.Components[i].MolarMass);
    j["liquid_mole_fraction"] = realArray(x);
    j["vapour_mole_fraction"] = realArray(y);
    j["activity_coefficients"] = realArray(std::span(session.EquilibriumWork.data(), count));
    j["liquid_mass_percent"] = realArray(massPercentFromMoleFractions(x, molarMasses));
    j["vapour_mass_percent"] = realArray(massPercentFromMoleFractions(y, molarMasses));
}

Json txyJson(const TxyTable& txy) {
    Json t = Json::object();
    t["x"] = realArray(txy.x);
    t["y"] = realOrNullArray(txy.y);
    t["T_C"] = realOrNullArray(txy.t_C);
    Json measured = Json::object();
    measured["pressure_Pa"] = pjson::realToJson(txy.measuredPressure_Pa);
    measured["x"] = realArray(txy.measuredX);
    measured["y"] = realArray(txy.measuredY);
    measured["T_C"] = realArray(txy.measuredT_C);
    t["measured"] = measured;
    return t;
}

Json resultsJson(const Session& session, const CliDialogs& dialogs, const VleInput& input,
                 const PreparedMixture& mixture, const std::optional<TxyTable>& txy) {
    const std::size_t count = input.components.size();
    Json j = Json::object();
    j["outcome"] = mixture.status == 0 ? "results" : "aborted";
    if (!mixture.failure.empty()) j["reason"] = mixture.failure;
    j["process"] = input.phase == 'y' ? "boiling" : "condensation";
    j["pressure_kgf_cm2"] = pjson::realToJson(input.pressure_kgfcm2);
    j["pressure_mmHg"] = pjson::realToJson(mixture.entered_mmHg);
    j["pressure_Pa"] = pjson::realToJson(mmHgToPa(mixture.entered_mmHg));
    Json list = Json::array();
    for (const std::string& name : session.ComponentNames) list.push_back(name);
    j["components"] = list;
    std::vector<Real> mass;
    for (const MixturePart& c : input.components) mass.push_back(c.massPercent);
    j["mass_percent"] = realArray(mass);
    if (count > 1) {
        j["method"] = methodName(session.Equilibrium.MethodLetter);
        if (session.Equilibrium.MethodLetter == 'F')
            j["unifac_variant"] = std::string(1, session.Equilibrium.UnifacVariant);
        Json pairs = Json::array();
        for (const PairSetup& pair : session.EquilibriumPairs)
            pairs.push_back(pairJson(pair, session.ComponentNames));
        j["pairs"] = pairs;
    }
    if (mixture.status == 0) saturationJson(session, mixture.record, count, j);
    if (txy) j["txy"] = txyJson(*txy);
    Json report = Json::array();
    for (const std::string& line : session.Report.lines()) report.push_back(line);
    j["report"] = report;
    Json messages = Json::array();
    for (const MessageRequest& m : dialogs.messages())
        messages.push_back({{"id", m.id}, {"text", m.text}});
    j["messages"] = messages;
    return j;
}

std::string csvField(Real value, int decimals) {
    return std::isfinite(value) ? formatFixed(value, 0, decimals) : "";
}

// The computed points beside the measured ones, row by row.
void writeTxyCsv(const TxyTable& txy, std::ostream& out) {
    out << "x,y,T,x_measured,y_measured,T_measured\n";
    const std::size_t rows = std::max(txy.x.size(), txy.measuredT_C.size());
    for (std::size_t k = 0; k < rows; ++k) {
        if (k < txy.x.size())
            out << csvField(txy.x[k], 6) << ',' << csvField(txy.y[k], 6) << ','
                << csvField(txy.t_C[k], 4);
        else
            out << ",,";
        if (k < txy.measuredT_C.size())
            out << ',' << formatShortest(txy.measuredX[k]) << ','
                << formatShortest(txy.measuredY[k]) << ',' << formatShortest(txy.measuredT_C[k]);
        else
            out << ",,,";
        out << '\n';
    }
}

// The texts of the T-x-y picture, English and Russian side by side.
struct PictureText {
    const char* english;
    const char* russian;
};
constexpr PictureText kTitlePressureUnit{" mm Hg, ", " мм рт.ст., "};
constexpr PictureText kCompositionAxisBefore{"x, y of ", "x, y ("};
constexpr PictureText kCompositionAxisAfter{", mole fraction", "), мольные доли"};
constexpr PictureText kTemperatureAxis{"t, degC", "t, град.С"};
constexpr PictureText kMeasured{"measured, ", "опыт, "};
constexpr PictureText kMeasuredPressureUnit{" mm Hg,", " мм рт.ст.,"};

std::string text(LanguageFlagType lang, const PictureText& t) {
    return tr(lang, t.english, t.russian);
}

plot::TxyDiagram txyPicture(const Session& session, const TxyTable& txy, Real entered_mmHg,
                            LanguageFlagType lang) {
    const std::vector<std::string>& names = session.ComponentNames;
    plot::TxyDiagram picture;
    picture.title = names.at(0) + " - " + names.at(1) + ", " + formatShortest(entered_mmHg) +
                    text(lang, kTitlePressureUnit) + methodName(session.Equilibrium.MethodLetter);
    picture.compositionAxis =
        text(lang, kCompositionAxisBefore) + names.at(0) + text(lang, kCompositionAxisAfter);
    picture.temperatureAxis = text(lang, kTemperatureAxis);
    picture.x = txy.x;
    picture.y = txy.y;
    picture.t = txy.t_C;
    picture.measuredX = txy.measuredX;
    picture.measuredY = txy.measuredY;
    picture.measuredT = txy.measuredT_C;
    picture.measuredLabel = text(lang, kMeasured) +
                            formatShortest(txy.measuredPressure_Pa / kPaPerMmHg) +
                            text(lang, kMeasuredPressureUnit);
    return picture;
}

// The T-x-y table at the stream's pressure; each point that was not found is
// a warning unless --quiet.
TxyTable txyTable(const Session& session, Real pressure_Pa, std::ostream& err, bool quiet) {
    TxyTable table = computeTxyTable(session.Data, session.Equilibrium, pressure_Pa);
    if (!quiet)
        for (const TxyFailure& f : table.failures)
            err << "vexamo: warning: x = " << formatShortest(f.x) << ": " << f.reason << '\n';
    return table;
}

int runChecked(const VleOptions& o, std::ostream& out, std::ostream& err) {
    Session session;
    session.LanguageFlag = o.language;
    VleInput input = parseOptions(o, session.Data);
    PreparedMixture mixture;
    mixture.record = streamRecord(input);
    CliDialogs dialogs(session, input.answers, err, o.quiet);
    prepareMixture(session, dialogs, input, mixture, err);
    for (const std::string& id : input.answers.unused())
        if (!o.quiet) err << "vexamo: warning: the answer \"" << id << "\" was never asked for\n";

    std::optional<TxyTable> txy;
    if (mixture.status == 0 && (o.txy || !o.plot.empty()))
        txy = txyTable(session, mixture.record.Pressure, err, o.quiet);

    // The report: on stdout unless stdout carries the JSON or the diagram.
    std::ostream& reportStream = (o.json || o.txy) ? err : out;
    if (!(o.quiet && &reportStream == &err))
        for (const std::string& line : session.Report.lines()) reportStream << line << '\n';

    if (o.json)
        out << pjson::dump(resultsJson(session, dialogs, input, mixture, txy)) << '\n';
    else if (o.txy && txy)
        writeTxyCsv(*txy, out);

    if (txy && !o.plot.empty()) {
        try {
            writeTxyPicture(txyPicture(session, *txy, mixture.entered_mmHg, o.language), o.plot);
        } catch (const std::exception& e) {
            reportError(err, e);
            return 1;  // the results are out; the picture alone failed
        }
    }
    return mixture.status;
}

}  // namespace

int runVle(const VleOptions& o, std::ostream& out, std::ostream& err) {
    return reportingErrors(err, [&] { return runChecked(o, out, err); });
}

}  // namespace vexamo::cli
