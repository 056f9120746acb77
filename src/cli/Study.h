#pragma once
// Many Runs in one process: the engine of `vexamo batch` and `vexamo sweep`.
// Every case is an independent headless Run (its own session, answers and
// log) on one of N threads; the rows come back in the order of the cases,
// however the threads finish.
#include <atomic>
#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "cli/Answers.h"
#include "common/Real.h"
#include "common/Text.h"

namespace vexamo::cli {

struct StudyCase {
    std::string name;               // the problem file, or the grid point
    std::string problemFile;        // .dat or .json; read by the Run's own thread
    std::vector<std::string> sets;  // "PATH=VALUE" changes, applied in order
    std::string answersFile;        // empty: every question takes its default
};

// One stream's end of a Run with results.
struct StudyStream {
    Real flow_kg_h = 0, inlet_C = 0, outlet_C = 0;
    std::optional<Real> loss_kPa;  // none: not computed
};

struct StudyRow {
    std::string name;
    std::string outcome;  // results, no_results, cancelled, input_error, answer_refused
    std::string reason;   // why there are no results (or what was refused)
    int status = 1;       // the exit status `vexamo run` would give: 0, 1 or 2
    // The problem as the Run read it, one entry per field of the JSON format
    // in the format's order ("design.tube_length_m", "6"); empty when it
    // could not be read.
    std::vector<std::pair<std::string, std::string>> inputs;
    bool produced = false;  // the results below are set
    Real duty_kW = 0;
    StudyStream tube, shell;
    Real overallCoefficient = 0;           // K, W/(m2*K)
    Real requiredSurface = 0;              // m2
    std::optional<Real> installedSurface;  // m2, where the Run reports one
    std::vector<std::string> warnings;     // data used outside their ranges
};

struct StudyOptions {
    unsigned jobs = 0;  // threads; 0: one per core
    LanguageFlagType language = kEnglish;
    // Called after each finished Run (from the thread that ran it, one call
    // at a time) with the number finished so far and the number failed.
    std::function<void(std::size_t done, std::size_t failed)> progress;
    // Set from another thread to stop after the Runs under way; the cases
    // not started get the outcome "cancelled".
    const std::atomic<bool>* stop = nullptr;
};

// Runs every case; never throws for a case (its fault is its row's reason).
std::vector<StudyRow> runStudy(const std::vector<StudyCase>& cases, const StudyOptions& options);

// One case, on the calling thread.
StudyRow runStudyCase(const StudyCase& c, LanguageFlagType language);

// The exit status of a study: the worst of its rows' (0 only when every Run
// produced results; 2 when a problem or answer was refused).
int studyStatus(const std::vector<StudyRow>& rows);

// The threads to use for `jobs` asked (0: the cores) and `cases` cases.
unsigned studyThreads(unsigned jobs, std::size_t cases);

}  // namespace vexamo::cli
