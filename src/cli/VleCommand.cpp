#include "cli/VleCommand.h"

#include <algorithm>
#include <cmath>
#include <ostream>

#include "cli/Answers.h"
#include "cli/CliDialogs.h"
#include "cli/MixtureArgument.h"
#include "cli/PlotFiles.h"
#include "cli/ProblemIo.h"
#include "common/Constants.h"
#include "common/Errors.h"
#include "common/NumberFormat.h"
#include "common/AtomicFile.h"
#include "control/StreamPreparation.h"
#include "equilibrium/EquilibriumCalculations.h"
#include "plot/TxyPainter.h"
#include "problemjson/JsonText.h"

namespace vexamo::cli {

using pjson::Json;

namespace {

constexpr int kTxyPoints = 51;

// A mixture of the command line whose mass per cents add up to 100, in the
// order of the substance table.
std::vector<MixturePart> parseMixture(const SubstanceData& data, const std::string& text) {
    std::vector<MixturePart> parts = parseMixtureArgument(data, text);
    Real sum = 0;
    for (const MixturePart& c : parts) sum += c.massPercent;
    if (std::fabs(sum - 100) > 1e-6L)
        throw InputError("--mix: the mass per cents add up to " + formatShortest(sum) + ", not 100");
    // The technological data dialog lists the components in the order of the
    // substance table.
    std::sort(parts.begin(), parts.end(), [](const MixturePart& a, const MixturePart& b) { return a.index < b.index; });
    return parts;
}

const char* sourceName(PairSetup::Origin origin) {
    switch (origin) {
        case PairSetup::Origin::Entered: return "entered";
        case PairSetup::Origin::Reference: return "reference";
        default: return "fitted";
    }
}

Json pairJson(const PairSetup& pair, const std::vector<std::string>& names) {
    Json j = Json::object();
    j["first"] = names.at(static_cast<std::size_t>(pair.First));
    j["second"] = names.at(static_cast<std::size_t>(pair.Second));
    j["method"] = methodName(pair.MethodLetter);
    j["source"] = sourceName(pair.Source);
    Json parameters = Json::array();
    for (std::size_t k = 0; k < pair.Values.size(); ++k) {
        Json p = Json::object();
        p["name"] = pair.Labels[k];
        const Real v = pair.Values[k];
        switch (pair.Kinds[k]) {
            case 'E':
                p["A"] = pjson::realToJson(v);
                p["kJ_mol"] = pjson::realToJson(v * 8.3144L * 0.27315L);
                break;
            case 'G': p["K"] = pjson::realToJson(v * kZeroCelsius_K); break;
            default: p["value"] = pjson::realToJson(v); break;
        }
        parameters.push_back(p);
    }
    j["parameters"] = parameters;
    if (pair.Source == PairSetup::Origin::Fitted) {
        j["points"] = pair.Points;
        j["rms_y"] = pjson::realToJson(pair.RmsY);
        j["iterations"] = pair.Iterations;
        j["evaluations"] = pair.Evaluations;
    }
    return j;
}

Json realArray(const Real* values, std::size_t n) {
    Json a = Json::array();
    for (std::size_t i = 0; i < n; ++i) a.push_back(pjson::realToJson(values[i]));
    return a;
}

struct TxyTable {
    std::vector<Real> x, y, t;
    std::vector<Real> measuredX, measuredY, measuredT;
    Real measuredPressure = 0;
};

// The boiling state at 51 liquid compositions of the first component, and the
// measured points of the pair.
TxyTable txyTable(Session& session, Real pressure_Pa, std::ostream& err, bool quiet) {
    TxyTable table;
    const Real first = pressure_Pa > 133300 ? 1.4L : 1.2L;
    for (int k = 0; k < kTxyPoints; ++k) {
        const Real x1 = k / static_cast<Real>(kTxyPoints - 1);
        std::array<Real, 7> liquid{x1, 1 - x1}, vapour{}, work{};
        Real tau = 0, pressure = pressure_Pa;
        table.x.push_back(x1);
        try {
            EquilibriumPoint(session.Data, 't', 'y', tau, vapour, work, liquid, session.Equilibrium, pressure, first,
                             1.01L);
            table.y.push_back(vapour[0]);
            table.t.push_back((tau - 1) * kZeroCelsius_K);
        } catch (const CalculationAborted& e) {
            if (!quiet) err << "vexamo: warning: x = " << formatShortest(x1) << ": " << e.what() << '\n';
            table.y.push_back(NAN);
            table.t.push_back(NAN);
        }
    }
    const EquilibriumModel& model = session.Equilibrium;
    const Equil& set = session.Data.binary(model.Substances[0] + 1, model.Substances[1] + 1);
    const std::size_t count = std::min<std::size_t>(
        {set.Count, set.LiquidX.size(), set.VapourY.size(), set.Temperature.size()});
    for (std::size_t k = 0; k < count; ++k) {
        table.measuredX.push_back(set.LiquidX[k]);
        table.measuredY.push_back(set.VapourY[k]);
        table.measuredT.push_back(set.Temperature[k]);
    }
    table.measuredPressure = set.Pressure;
    return table;
}

std::string csvField(Real value, int decimals) { return std::isfinite(value) ? formatFixed(value, 0, decimals) : ""; }

}  // namespace

int runVle(const VleOptions& o, std::ostream& out, std::ostream& err) {
    Session session;
    session.LanguageFlag = o.language;
    const LanguageFlagType lang = o.language;
    AnswerBook answers;
    std::vector<MixturePart> components;
    Real pressure_kgfcm2 = 0;
    std::uint8_t phase = 'y';
    try {
        components = parseMixture(session.Data, o.mix);
        const auto p = parseReal(o.pressure);
        if (!p || !std::isfinite(*p) || !(*p > 0))
            throw InputError("--pressure: \"" + o.pressure + "\" is not a pressure above zero (kgf/cm2)");
        pressure_kgfcm2 = *p;
        if (o.process == "condensation")
            phase = 'x';
        else if (o.process != "boiling")
            throw InputError("--process: \"" + o.process + "\" is neither boiling nor condensation");
        if ((o.txy || !o.plot.empty()) && components.size() != 2)
            throw InputError("--txy and --plot need a mixture of two components");
        // The picture is checked before anything is calculated or moved.
        checkOutputs({{"--plot", o.plot, BackupRule::AppendBak, {".png", ".svg"}}},
                     {{"--answers", o.answers}});
        if (!o.answers.empty()) answers = AnswerBook::fromFile(o.answers);
    } catch (const OutputRefused& e) {
        err << "vexamo: " << e.what() << '\n';
        return 2;
    } catch (const InputError& e) {
        err << "vexamo: " << e.what() << '\n';
        return 2;
    }

    const int n = static_cast<int>(components.size());
    TechnSet record;
    record.ComponentCount = static_cast<std::uint16_t>(n);
    for (int i = 0; i < n; ++i) record.ComponentIndex[static_cast<std::size_t>(i)] =
        static_cast<std::uint16_t>(components[static_cast<std::size_t>(i)].index);
    record.ProcessCode = phase == 'y' ? 1 : 0;
    record.SelectionChanged = 1;
    if (n > 1) {  // the concentration table takes all but the last component
        Json given = Json::array();
        for (int i = 0; i + 1 < n; ++i) given.push_back(formatShortest(components[static_cast<std::size_t>(i)].massPercent));
        answers.setPending("stream.concentrations", given);
    }

    CliDialogs dialogs(session, answers, err, o.quiet);
    const Real entered_mmHg = kgfcm2ToMmHg(pressure_kgfcm2);
    Real correction = 1, temperature = 0;
    int status = 0;
    std::string failure;
    try {
        PrepareStream(session, dialogs, 'p', '1', phase, record, correction, temperature, entered_mmHg);
    } catch (const AnswerError& e) {
        err << "vexamo: " << e.what() << '\n';
        return 2;
    } catch (const ProgramExitRequested& e) {
        failure = e.what();
        status = 1;
    } catch (const CalculationAborted& e) {
        failure = e.what();
        status = 1;
    }
    if (!failure.empty()) err << "vexamo: " << failure << '\n';
    for (const std::string& id : answers.unused())
        if (!o.quiet) err << "vexamo: warning: the answer \"" << id << "\" was never asked for\n";

    TxyTable txy;
    const bool diagram = status == 0 && (o.txy || !o.plot.empty());
    if (diagram) txy = txyTable(session, record.Pressure, err, o.quiet);

    // The report: on stdout unless stdout carries the JSON or the diagram.
    std::ostream& reportStream = (o.json || o.txy) ? err : out;
    if (!(o.quiet && &reportStream == &err))
        for (const std::string& line : session.Report.lines()) reportStream << line << '\n';

    const std::vector<std::string>& names = session.ComponentNames;
    const std::size_t count = static_cast<std::size_t>(n);
    if (o.json) {
        Json j = Json::object();
        j["outcome"] = status == 0 ? "results" : "aborted";
        if (!failure.empty()) j["reason"] = failure;
        j["process"] = phase == 'y' ? "boiling" : "condensation";
        j["pressure_kgf_cm2"] = pjson::realToJson(pressure_kgfcm2);
        j["pressure_mmHg"] = pjson::realToJson(entered_mmHg);
        j["pressure_Pa"] = pjson::realToJson(mmHgToPa(entered_mmHg));
        Json list = Json::array();
        for (const std::string& name : names) list.push_back(name);
        j["components"] = list;
        std::vector<Real> mass;
        for (const MixturePart& c : components) mass.push_back(c.massPercent);
        j["mass_percent"] = realArray(mass.data(), count);
        if (n > 1) {
            j["method"] = methodName(session.Equilibrium.MethodLetter);
            if (session.Equilibrium.MethodLetter == 'F')
                j["unifac_variant"] = std::string(1, session.Equilibrium.UnifacVariant);
            Json pairs = Json::array();
            for (const PairSetup& pair : session.EquilibriumPairs) pairs.push_back(pairJson(pair, names));
            j["pairs"] = pairs;
        }
        if (status == 0) {
            j["saturation_temperature_C"] = pjson::realToJson(record.Temperature);
            if (n > 1) {
                const auto& x = session.EquilibriumLiquid;
                const auto& y = session.EquilibriumVapour;
                j["liquid_mole_fraction"] = realArray(x.data(), count);
                j["vapour_mole_fraction"] = realArray(y.data(), count);
                j["activity_coefficients"] = realArray(session.EquilibriumWork.data(), count);
                Real sx = 0, sy = 0;
                for (std::size_t i = 0; i < count; ++i) {
                    sx += x[i] * record.Components[i].MolarMass;
                    sy += y[i] * record.Components[i].MolarMass;
                }
                std::vector<Real> mx, my;
                for (std::size_t i = 0; i < count; ++i) {
                    mx.push_back(x[i] * record.Components[i].MolarMass * 100 / sx);
                    my.push_back(y[i] * record.Components[i].MolarMass * 100 / sy);
                }
                j["liquid_mass_percent"] = realArray(mx.data(), count);
                j["vapour_mass_percent"] = realArray(my.data(), count);
            } else {
                j["air_factor"] = pjson::realToJson(record.AirFactor);
            }
        }
        if (diagram) {
            Json t = Json::object();
            t["x"] = realArray(txy.x.data(), txy.x.size());
            Json y = Json::array(), temperatures = Json::array();
            for (std::size_t k = 0; k < txy.x.size(); ++k) {
                y.push_back(std::isfinite(txy.y[k]) ? pjson::realToJson(txy.y[k]) : Json(nullptr));
                temperatures.push_back(std::isfinite(txy.t[k]) ? pjson::realToJson(txy.t[k]) : Json(nullptr));
            }
            t["y"] = y;
            t["T_C"] = temperatures;
            Json measured = Json::object();
            measured["pressure_Pa"] = pjson::realToJson(txy.measuredPressure);
            measured["x"] = realArray(txy.measuredX.data(), txy.measuredX.size());
            measured["y"] = realArray(txy.measuredY.data(), txy.measuredY.size());
            measured["T_C"] = realArray(txy.measuredT.data(), txy.measuredT.size());
            t["measured"] = measured;
            j["txy"] = t;
        }
        Json report = Json::array();
        for (const std::string& line : session.Report.lines()) report.push_back(line);
        j["report"] = report;
        Json messages = Json::array();
        for (const MessageRequest& m : dialogs.messages()) messages.push_back({{"id", m.id}, {"text", m.text}});
        j["messages"] = messages;
        out << pjson::dump(j) << '\n';
    } else if (o.txy && diagram) {
        out << "x,y,T,x_measured,y_measured,T_measured\n";
        const std::size_t rows = std::max(txy.x.size(), txy.measuredT.size());
        for (std::size_t k = 0; k < rows; ++k) {
            if (k < txy.x.size())
                out << csvField(txy.x[k], 6) << ',' << csvField(txy.y[k], 6) << ',' << csvField(txy.t[k], 4);
            else
                out << ",,";
            if (k < txy.measuredT.size())
                out << ',' << formatShortest(txy.measuredX[k]) << ',' << formatShortest(txy.measuredY[k]) << ','
                    << formatShortest(txy.measuredT[k]);
            else
                out << ",,,";
            out << '\n';
        }
    }

    if (diagram && !o.plot.empty()) {
        plot::TxyDiagram picture;
        const std::string mmHg = formatShortest(entered_mmHg);
        picture.title = names.at(0) + " - " + names.at(1) + ", " + mmHg + tr(lang, " mm Hg, ", " мм рт.ст., ") +
                        methodName(session.Equilibrium.MethodLetter);
        picture.compositionAxis =
            tr(lang, "x, y of ", "x, y (") + names.at(0) + tr(lang, ", mole fraction", "), мольные доли");
        picture.temperatureAxis = tr(lang, "t, degC", "t, град.С");
        picture.x = txy.x;
        picture.y = txy.y;
        picture.t = txy.t;
        picture.measuredX = txy.measuredX;
        picture.measuredY = txy.measuredY;
        picture.measuredT = txy.measuredT;
        picture.measuredLabel = tr(lang, "measured, ", "опыт, ") + formatShortest(txy.measuredPressure / kPaPerMmHg) +
                                tr(lang, " mm Hg,", " мм рт.ст.,");
        try {
            writeTxyPicture(picture, o.plot);
        } catch (const std::exception& e) {
            err << "vexamo: " << e.what() << '\n';
            return 1;
        }
    }
    return status;
}

}  // namespace vexamo::cli
