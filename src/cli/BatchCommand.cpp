// `vexamo batch`, and the frame both study commands share.
#include <fmt/format.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <ostream>

#include "cli/ErrorReport.h"
#include "cli/StudyCommands.h"
#include "cli/StudyTable.h"
#include "common/Errors.h"

namespace vexamo::cli {

namespace {

namespace fs = std::filesystem;

constexpr const char* kStandardOutput = "-";

std::string fileOf(const std::string& name) {
    return name == kStandardOutput ? std::string() : name;
}

// The progress line: rewritten in place on a terminal, else left out (a log
// file gets the closing count only).
std::function<void(std::size_t, std::size_t)> progressLine(const std::string& command,
                                                           std::size_t total, bool quiet,
                                                           std::ostream& err) {
    if (quiet || !isatty(STDERR_FILENO)) return {};
    return [&err, command, total](std::size_t done, std::size_t failed) {
        err << fmt::format("\rvexamo: {}: {}/{} Runs, {} without results", command, done, total,
                           failed)
            << std::flush;
    };
}

}  // namespace

int runStudyCommand(const std::string& command, const std::vector<StudyCase>& cases,
                    const std::vector<PlannedOutput>& moreOutputs,
                    const std::vector<PlannedInput>& inputs, const StudyOutput& output,
                    const std::vector<std::string>& inputColumns, std::vector<StudyRow>* rowsOut,
                    std::ostream& out, std::ostream& err) {
    if (output.csv == kStandardOutput && output.json == kStandardOutput)
        throw InputError("--csv and --json cannot both be written to standard output (\"-\")");
    std::vector<PlannedOutput> outputs = {
        {"--csv", fileOf(output.csv), BackupRule::AppendBak, {}},
        {"--json", fileOf(output.json), BackupRule::AppendBak, {}}};
    outputs.insert(outputs.end(), moreOutputs.begin(), moreOutputs.end());
    checkOutputs(outputs, inputs);

    StudyOptions options;
    options.jobs = output.jobs;
    options.language = output.language;
    options.progress = progressLine(command, cases.size(), output.quiet, err);
    const auto start = std::chrono::steady_clock::now();
    std::vector<StudyRow> rows = runStudy(cases, options);
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    if (options.progress) err << '\n';

    int status = studyStatus(rows);
    const std::vector<std::string> columns =
        inputColumns.empty() ? differingInputs(rows) : inputColumns;
    const auto write = [&](const std::string& file, const std::string& bytes) {
        try {
            writeFileAtomically(file, bytes, BackupRule::AppendBak);
        } catch (const std::exception& e) {
            reportError(err, e);
            status = std::max(status, 1);
        }
    };
    const bool csvOut =
        output.csv == kStandardOutput || (output.csv.empty() && output.json.empty());
    if (csvOut)
        out << studyCsv(rows, columns);
    else if (!output.csv.empty())
        write(output.csv, studyCsv(rows, columns));
    if (output.json == kStandardOutput)
        out << studyJson(rows, columns, command) << '\n';
    else if (!output.json.empty())
        write(output.json, studyJson(rows, columns, command));

    if (!output.quiet) {
        std::size_t produced = 0;
        for (const StudyRow& row : rows) produced += row.produced ? 1 : 0;
        const unsigned threads = studyThreads(output.jobs, cases.size());
        err << fmt::format(
            "vexamo: {}: {} Run{} on {} thread{} in {:.2f} s, {} with results, {} "
            "without\n",
            command, rows.size(), rows.size() == 1 ? "" : "s", threads, threads == 1 ? "" : "s",
            seconds, produced, rows.size() - produced);
        for (const StudyRow& row : rows)
            if (!row.produced)
                err << "vexamo: " << row.name << ": " << row.outcome << ": " << row.reason << '\n';
    }
    if (rowsOut) *rowsOut = std::move(rows);
    return status;
}

int runBatch(const BatchOptions& o, std::ostream& out, std::ostream& err) {
    try {
        if (o.problems.empty()) throw InputError("batch: no PROBLEM given");
        std::error_code ec;
        if (!o.answersDir.empty() && !fs::is_directory(o.answersDir, ec))
            throw InputError("--answers-dir " + o.answersDir + ": not a folder");
        std::vector<StudyCase> cases;
        std::vector<PlannedInput> inputs;
        for (const std::string& problem : o.problems) {
            StudyCase c;
            c.name = problem;
            c.problemFile = problem;
            c.answersFile = o.answers;
            if (!o.answersDir.empty()) {
                const fs::path file =
                    fs::path(o.answersDir) / (fs::path(problem).stem().string() + ".json");
                if (fs::exists(file, ec)) c.answersFile = file.string();
            }
            inputs.push_back({"PROBLEM", problem});
            cases.push_back(std::move(c));
        }
        if (!o.answers.empty()) inputs.push_back({"--answers", o.answers});
        return runStudyCommand("batch", cases, {}, inputs, o.output, {}, nullptr, out, err);
    } catch (const std::exception& e) {
        return reportError(err, e);
    }
}

}  // namespace vexamo::cli
