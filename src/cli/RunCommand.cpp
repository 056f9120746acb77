#include "cli/RunCommand.h"

#include <filesystem>
#include <ostream>

#include "cli/Answers.h"
#include "cli/CliDialogs.h"
#include "cli/ErrorReport.h"
#include "cli/PlotFiles.h"
#include "cli/ProblemIo.h"
#include "cli/ProblemOverrides.h"
#include "common/AtomicFile.h"
#include "common/Errors.h"
#include "control/EngineeringSummary.h"
#include "control/RunDriver.h"
#include "dialogs/ReportMemo.h"
#include "problemjson/JsonText.h"
#include "problemjson/ProblemJson.h"

namespace vexamo::cli {

namespace {

// Every output of a Run, checked before anything is calculated or moved. The
// report is the system's own file and keeps its "out.bak"; the others back
// up to "out.json.bak" and the like, so outputs of one stem never share one.
void checkRunOutputs(const RunOptions& o) {
    const auto file = [](const std::string& name) {
        return name == kStandardStream ? std::string() : name;
    };
    std::vector<PlannedInput> inputs;
    if (o.problem != kStandardStream) inputs.push_back({"PROBLEM", o.problem});
    if (o.answers != kStandardStream) inputs.push_back({"--answers", o.answers});
    checkOutputs({{"--report", o.report, BackupRule::ReplaceExtension, {}},
                  {"--json", file(o.json), BackupRule::AppendBak, {}},
                  {"--record", o.record, BackupRule::AppendBak, {}},
                  {"--plot", o.plot, BackupRule::AppendBak, {".png", ".svg"}},
                  {"--pdf", o.pdf, BackupRule::AppendBak, {".pdf"}}},
                 inputs);
}

// The text "-" names: standard input, within the limit of a file.
std::string standardInput(const RunOptions& o) {
    if (o.input == nullptr) throw InputError("standard input: not available");
    return readInputText(*o.input, "standard input", pjson::kMaxJsonFileBytes);
}

// The problem of the Run, each --set applied.
ProblemData runProblem(const RunOptions& o, const SubstanceData& data) {
    const ProblemData problem = o.problem == kStandardStream
                                    ? problemFromText(standardInput(o), "standard input", data)
                                    : loadProblem(o.problem, data, o.language);
    return applyOverrides(problem, o.sets, data);
}

const char* outcomeName(RunOutcome outcome) {
    switch (outcome) {
        case RunOutcome::Results:
            return "results";
        case RunOutcome::NoResults:
            return "no_results";
        case RunOutcome::Cancelled:
            return "cancelled";
        // The JSON of a Run the person ended says no more than before the
        // outcome had a name of its own.
        case RunOutcome::ExitRequested:
            return "no_results";
        default:
            return "aborted";
    }
}

pjson::Json streamJson(const StreamSummary& s) {
    pjson::Json j = {{"process", s.process},
                     {"medium", s.medium},
                     {"phase_change", s.phaseChange},
                     {"flow_rate_kg_h", pjson::realToJson(s.flow_kg_h)},
                     {"inlet_C", pjson::realToJson(s.inlet_C)},
                     {"outlet_C", pjson::realToJson(s.outlet_C)},
                     {"outlet_fixed", s.outletFixed},
                     {"duty_kW", pjson::realToJson(s.duty_kW)}};
    if (s.velocity > 0) {
        j["velocity_m_s"] = pjson::realToJson(s.velocity);
        j["reynolds"] = pjson::realToJson(s.reynolds);
    }
    if (s.lossComputed) j["pressure_loss_kPa"] = pjson::realToJson(s.loss_kPa);
    return j;
}

pjson::Json summaryJson(const EngineeringSummary& e) {
    pjson::Json j = {{"tube_space", streamJson(e.tube)},
                     {"shell_space", streamJson(e.shell)},
                     {"duty_kW", pjson::realToJson(e.duty_kW)},
                     {"mean_temperature_difference_K", pjson::realToJson(e.meanDifference)},
                     {"required_surface_m2", pjson::realToJson(e.requiredSurface)},
                     {"wall_resistance_m2K_W", pjson::realToJson(e.wallResistance)},
                     {"fouling_m2K_W",
                      {{"tube", pjson::realToJson(e.tubeFouling)},
                       {"shell", pjson::realToJson(e.shellFouling)}}}};
    if (e.logMean) j["lmtd_counter_current_K"] = pjson::realToJson(*e.logMean);
    if (e.correction) j["lmtd_correction_F"] = pjson::realToJson(*e.correction);
    if (e.installedSurface > 0) {
        j["installed_surface_m2"] = pjson::realToJson(e.installedSurface);
        j["over_surface_pct"] =
            pjson::realToJson((e.installedSurface - e.requiredSurface) / e.requiredSurface * 100);
    }
    return j;
}

// The thermal results of a Run that produced them.
void addResults(pjson::Json& j, const RunResults& r) {
    j["tube_coefficient_W_m2K"] = pjson::realToJson(r.TubeCoefficient);
    j["shell_coefficient_W_m2K"] = pjson::realToJson(r.ShellCoefficient);
    j["overall_coefficient_W_m2K"] = pjson::realToJson(r.OverallCoefficient);
    j["heat_flux_W_m2"] = pjson::realToJson(r.HeatFlux);
    j["heat_flow_W"] = pjson::realToJson(r.HeatFlow / 3600);
    j["surface_m2"] = pjson::realToJson(r.Surface);
    if (r.InstalledSurface > 0) j["installed_surface_m2"] = pjson::realToJson(r.InstalledSurface);
    j["speed_m_s"] = pjson::realToJson(r.Speed);
    j["balance_ratio"] = pjson::realToJson(r.BalanceRatio);
    j["iterations"] = r.Iterations;
    if (r.hasOutlet) {
        const char* iterated = r.outletSide == 1 ? "tube_outlet_C" : "shell_outlet_C";
        const char* other = r.outletSide == 1 ? "shell_outlet_C" : "tube_outlet_C";
        j[iterated] = pjson::realToJson(r.OutletTemperature);
        j[other] = pjson::realToJson(r.OtherOutletTemperature);
    }
}

// The temperature profile the Run showed last.
pjson::Json profileJson(const ProfileGraphRequest& g) {
    pjson::Json graph = pjson::Json::object();
    pjson::Json positions = pjson::Json::array();
    for (Real x : g.positions) positions.push_back(pjson::realToJson(x));
    graph["positions"] = positions;
    pjson::Json curves = pjson::Json::array();
    for (const auto& curve : g.curves) {
        pjson::Json values = pjson::Json::array();
        for (Real t : curve) values.push_back(pjson::realToJson(t));
        curves.push_back(values);
    }
    graph["curves"] = curves;
    return graph;
}

// The data the Run used outside their ranges, with the line the report has.
pjson::Json warningsJson(const Session& session) {
    pjson::Json warnings = pjson::Json::array();
    const std::vector<std::string> lines = validityWarnings(session.Validity, session.LanguageFlag);
    for (std::size_t i = 0; i < session.Validity.events().size() && i < lines.size(); ++i) {
        const RangeEvent& e = session.Validity.events()[i];
        pjson::Json w = {{"data", e.table},
                         {"argument", pjson::realToJson(e.argument)},
                         {"range", {pjson::realToJson(e.low), pjson::realToJson(e.high)}},
                         {"outside_by", pjson::realToJson(distanceOutside(e))},
                         {"text", lines[i]}};
        if (!e.substance.empty()) w["substance"] = e.substance;
        if (!e.source.empty()) w["source"] = e.source;
        warnings.push_back(w);
    }
    return warnings;
}

pjson::Json messagesJson(const CliDialogs& dialogs) {
    pjson::Json messages = pjson::Json::array();
    for (const MessageRequest& m : dialogs.messages())
        messages.push_back({{"id", m.id},
                            {"kind", m.kind == MessageKind::Error     ? "error"
                                     : m.kind == MessageKind::Warning ? "warning"
                                                                      : "information"},
                            {"text", m.text}});
    return messages;
}

pjson::Json resultsJson(const Session& session, RunOutcome outcome, const CliDialogs& dialogs) {
    pjson::Json j = pjson::Json::object();
    j["program"] = {{"name", "Vexamo"}, {"version", VEXAMO_VERSION}};
    // Every number's unit is the end of its key.
    j["units"] = {{"_C", "degree Celsius"},
                  {"_K", "kelvin (a temperature difference)"},
                  {"_kg_h", "kg/h"},
                  {"_W", "W"},
                  {"_kW", "kW"},
                  {"_W_m2", "W/m2"},
                  {"_W_m2K", "W/(m2*K)"},
                  {"_m2", "m2"},
                  {"_m_s", "m/s"},
                  {"_kPa", "kPa"},
                  {"_m2K_W", "m2*K/W"},
                  {"_pct", "per cent"},
                  {"_kgf_cm2", "kgf/cm2"},
                  {"_m", "m"}};
    // The problem the results belong to, as it stood after the Run.
    try {
        j["problem"] = pjson::Json::parse(pjson::problemToJson(session.Problem, session.Data));
    } catch (const std::exception&) {
        // A problem the format cannot hold (a record beyond the built-in data) is left out.
    }
    j["outcome"] = outcomeName(outcome);
    j["pair"] = session.PairCode;
    j["tube_flow_kg_h"] = pjson::realToJson(session.TubeFlow);
    j["shell_flow_kg_h"] = pjson::realToJson(session.ShellFlow);
    const RunResults& r = session.Results;
    j["converged"] = r.produced && r.converged;
    if (r.produced)
        addResults(j, r);
    else if (!r.reason.empty())
        j["reason"] = r.reason;
    if (r.produced) j["summary"] = summaryJson(summarize(session));
    if (!dialogs.graphs().empty()) j["profile"] = profileJson(dialogs.graphs().back());
    j["warnings"] = warningsJson(session);
    j["messages"] = messagesJson(dialogs);
    return j;
}

// The report is written whatever the outcome; each output is written on its
// own, so one that fails does not cost the others. Returns the exit status.
int writeRunOutputs(const RunOptions& o, const Session& session, RunOutcome outcome,
                    const CliDialogs& dialogs, const AnswerBook& answers, int status,
                    std::ostream& out, std::ostream& err) {
    auto write = [&](const std::string& file, auto&& bytes, BackupRule rule) {
        try {
            writeFileAtomically(file, bytes(), rule);
        } catch (const std::exception& e) {
            reportError(err, e);
            if (status != 2) status = 1;
        }
    };
    const bool jsonOut = o.json == kStandardStream;
    if (o.report.empty()) {
        // Standard output carries the results JSON: the report goes to stderr.
        std::ostream& reportStream = jsonOut ? err : out;
        if (!(jsonOut && o.quiet))
            reportStream << session.Report.text("\n") << (session.Report.lineCount() ? "\n" : "");
    } else {
        write(
            o.report, [&] { return reportFileBytes(session.Report.lines()); },
            BackupRule::ReplaceExtension);
    }
    if (jsonOut)
        out << pjson::dump(resultsJson(session, outcome, dialogs)) << '\n';
    else if (!o.json.empty())
        write(
            o.json, [&] { return pjson::dump(resultsJson(session, outcome, dialogs)); },
            BackupRule::AppendBak);
    if (!o.record.empty())
        write(
            o.record, [&] { return answers.recordText(); }, BackupRule::AppendBak);
    if (!o.plot.empty()) {
        try {
            if (dialogs.graphs().empty())
                throw std::runtime_error(o.plot + ": the Run showed no temperature profile");
            writeRunPicture(session, dialogs.graphs().back(), o.plot);
        } catch (const std::exception& e) {
            reportError(err, e);
            if (status != 2) status = 1;
        }
    }
    if (!o.pdf.empty()) {
        // A Run without results still gets its sheet: the data, what the
        // report says and the reason; the exit status tells the failure.
        try {
            const std::string problem = o.problem == kStandardStream
                                            ? std::string("standard input")
                                            : std::filesystem::path(o.problem).filename().string();
            writeDataSheet(
                dataSheet(session, dialogs.graphs().empty() ? nullptr : &dialogs.graphs().back(),
                          {problem, todayDate(), std::string("Vexamo ") + VEXAMO_VERSION}),
                o.pdf);
        } catch (const std::exception& e) {
            reportError(err, e);
            if (status != 2) status = 1;
        }
    }
    return status;
}

}  // namespace

void markProblemGiven(Session& session) {
    session.DataLoaded = 1;
    session.TechnoPending = session.DesignPending = false;
    session.TechnoEntered = session.DesignEntered = false;
}

int runGivenProblem(Session& session, CliDialogs& dialogs, RunOutcome& outcome, std::ostream& err) {
    int status = 1;
    try {
        outcome = runCalculation(session, dialogs);
        status = outcome == RunOutcome::Results ? 0 : 1;
        if (dialogs.answerRefused()) {
            // Refused late, after the thermal results: they are kept, the
            // part that asked is reported as not computed, and the input error
            // still decides the exit status.
            if (outcome == RunOutcome::Results)
                err << "vexamo: error: " << dialogs.answerRefusal()
                    << " (the results computed before the question are kept)\n";
            status = 2;
        }
        // The desktop program would close here; the Run ends and the report is kept.
        if (outcome == RunOutcome::ExitRequested)
            err << "vexamo: " << session.Results.reason << '\n';
    } catch (const AnswerError& e) {
        status = reportError(err, e);
    }
    return status;
}

int runRun(const RunOptions& o, std::ostream& out, std::ostream& err) {
    Session session;
    session.LanguageFlag = o.language;
    AnswerBook answers;
    try {
        if (o.problem == kStandardStream && o.answers == kStandardStream)
            throw InputError(
                "PROBLEM and --answers cannot both be read from standard input (\"-\")");
        checkRunOutputs(o);
    } catch (const OutputRefused& e) {
        return reportError(err, e);
    } catch (const InputError& e) {
        return reportError(err, e);
    }
    try {
        if (o.answers == kStandardStream)
            answers = AnswerBook::fromText(standardInput(o), "standard input");
        else if (!o.answers.empty())
            answers = AnswerBook::fromFile(o.answers);
        session.Problem = runProblem(o, session.Data);
    } catch (const InputError& e) {
        return reportError(err, e);
    }
    markProblemGiven(session);

    CliDialogs dialogs(session, answers, err, o.quiet);
    dialogs.setVerbose(o.verbose);
    RunOutcome outcome = RunOutcome::NoResults;
    const int status = runGivenProblem(session, dialogs, outcome, err);
    for (const std::string& id : answers.unused())
        if (!o.quiet) err << "vexamo: warning: the answer \"" << id << "\" was never asked for\n";
    return writeRunOutputs(o, session, outcome, dialogs, answers, status, out, err);
}

}  // namespace vexamo::cli
