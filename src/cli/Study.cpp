#include "cli/Study.h"

#include <algorithm>
#include <mutex>
#include <sstream>
#include <thread>

#include "cli/CliDialogs.h"
#include "cli/ProblemIo.h"
#include "cli/ProblemOverrides.h"
#include "cli/RunCommand.h"
#include "common/Errors.h"
#include "control/EngineeringSummary.h"
#include "control/RunDriver.h"
#include "control/Session.h"
#include "problemjson/JsonText.h"
#include "problemjson/ProblemJson.h"

namespace vexamo::cli {

namespace {

// Every leaf of the problem's JSON form under its dotted path, as it would be
// given to --set.
using Inputs = std::vector<std::pair<std::string, std::string>>;

void flatten(const pjson::Json& j, const std::string& path, Inputs& out) {
    if (j.is_object()) {
        for (const auto& [key, value] : j.items())
            flatten(value, path.empty() ? key : path + "." + key, out);
    } else if (j.is_array()) {
        for (std::size_t i = 0; i < j.size(); ++i)
            flatten(j[i], path + "[" + std::to_string(i) + "]", out);
    } else {
        out.emplace_back(path, j.is_string() ? j.get<std::string>() : pjson::dumpLine(j));
    }
}

Inputs problemInputs(const Session& session) {
    Inputs inputs;
    try {
        pjson::Json j = pjson::parseJson(pjson::problemToJson(session.Problem, session.Data));
        j.erase("format");
        j.erase("version");
        flatten(j, "", inputs);
    } catch (const std::exception&) {
        // A problem the format cannot hold (a record beyond the built-in data)
        // shows no inputs; its Run is not affected.
    }
    return inputs;
}

const char* outcomeName(RunOutcome outcome) {
    switch (outcome) {
        case RunOutcome::Results:
            return "results";
        case RunOutcome::Cancelled:
            return "cancelled";
        default:
            return "no_results";
    }
}

// Why a Run has no results: the reason it gave, else the last error it
// showed, else what was refused.
std::string noResultsReason(const Session& session, const CliDialogs& dialogs) {
    if (!session.Results.reason.empty()) return session.Results.reason;
    if (dialogs.answerRefused()) return dialogs.answerRefusal();
    const auto& messages = dialogs.messages();
    for (auto m = messages.rbegin(); m != messages.rend(); ++m)
        if (m->kind == MessageKind::Error) return m->text;
    return "the Run ended without results";
}

StudyStream streamOf(const StreamSummary& s) {
    StudyStream out;
    out.flow_kg_h = s.flow_kg_h;
    out.inlet_C = s.inlet_C;
    out.outlet_C = s.outlet_C;
    if (s.lossComputed) out.loss_kPa = s.loss_kPa;
    return out;
}

void takeResults(StudyRow& row, const Session& session) {
    const EngineeringSummary e = summarize(session);
    row.produced = true;
    row.duty_kW = e.duty_kW;
    row.tube = streamOf(e.tube);
    row.shell = streamOf(e.shell);
    row.overallCoefficient = session.Results.OverallCoefficient;
    row.requiredSurface = e.requiredSurface;
    if (e.installedSurface > 0) row.installedSurface = e.installedSurface;
}

// One line of text: the reasons and messages of a Run may span lines.
std::string oneLine(std::string text) {
    for (char& c : text)
        if (c == '\r' || c == '\n') c = ' ';
    std::string out;
    for (char c : text)
        if (!(c == ' ' && !out.empty() && out.back() == ' ')) out += c;
    while (!out.empty() && out.back() == ' ') out.pop_back();
    return out;
}

}  // namespace

StudyRow runStudyCase(const StudyCase& c, LanguageFlagType language) {
    StudyRow row;
    row.name = c.name;
    Session session;
    session.LanguageFlag = language;
    AnswerBook answers;
    try {
        if (!c.answersFile.empty()) answers = AnswerBook::fromFile(c.answersFile);
        session.Problem = applyOverrides(loadProblem(c.problemFile, session.Data, language), c.sets,
                                         session.Data);
    } catch (const std::exception& e) {
        row.outcome = "input_error";
        row.reason = oneLine(e.what());
        row.status = 2;
        // The changes asked for still say which case this was.
        for (const std::string& set : c.sets)
            if (const std::size_t eq = set.find('='); eq != std::string::npos)
                row.inputs.emplace_back(set.substr(0, eq), set.substr(eq + 1));
        return row;
    }
    row.inputs = problemInputs(session);
    markProblemGiven(session);
    std::ostringstream log;  // the Run's own: nothing of it reaches the terminal
    CliDialogs dialogs(session, answers, log, true);
    RunOutcome outcome = RunOutcome::NoResults;
    try {
        row.status = runGivenProblem(session, dialogs, outcome, log);
    } catch (const std::exception& e) {
        row.outcome = "no_results";
        row.reason = oneLine(e.what());
        row.status = 1;
        return row;
    }
    row.outcome = dialogs.answerRefused() ? "answer_refused" : outcomeName(outcome);
    if (session.Results.produced && outcome == RunOutcome::Results) takeResults(row, session);
    if (!row.produced || dialogs.answerRefused())
        row.reason =
            oneLine(row.produced ? dialogs.answerRefusal() : noResultsReason(session, dialogs));
    for (const std::string& line : validityWarnings(session.Validity, language))
        row.warnings.push_back(oneLine(line));
    return row;
}

unsigned studyThreads(unsigned jobs, std::size_t cases) {
    unsigned threads = jobs != 0 ? jobs : std::max(1u, std::thread::hardware_concurrency());
    return static_cast<unsigned>(std::clamp<std::size_t>(cases, 1, threads));
}

std::vector<StudyRow> runStudy(const std::vector<StudyCase>& cases, const StudyOptions& options) {
    std::vector<StudyRow> rows(cases.size());
    std::atomic<std::size_t> next{0};
    std::mutex progressMutex;
    std::size_t done = 0, failed = 0;
    const auto work = [&] {
        for (;;) {
            const std::size_t i = next.fetch_add(1);
            if (i >= cases.size()) return;
            if (options.stop && options.stop->load()) {
                rows[i].name = cases[i].name;
                rows[i].outcome = "cancelled";
                rows[i].reason = "the study was stopped before this Run";
            } else {
                try {
                    rows[i] = runStudyCase(cases[i], options.language);
                } catch (const std::exception& e) {  // out of memory and the like
                    rows[i].name = cases[i].name;
                    rows[i].outcome = "no_results";
                    rows[i].reason = oneLine(e.what());
                }
            }
            const std::lock_guard<std::mutex> lock(progressMutex);
            ++done;
            if (!rows[i].produced) ++failed;
            if (options.progress) options.progress(done, failed);
        }
    };
    const unsigned threads = studyThreads(options.jobs, cases.size());
    std::vector<std::jthread> pool;
    for (unsigned t = 1; t < threads; ++t) pool.emplace_back(work);
    work();
    pool.clear();  // every Run has ended before the rows are handed out
    return rows;
}

int studyStatus(const std::vector<StudyRow>& rows) {
    int status = 0;
    for (const StudyRow& row : rows) status = std::max({status, row.status, row.produced ? 0 : 1});
    return status;
}

}  // namespace vexamo::cli
