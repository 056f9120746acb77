#pragma once
// `vexamo batch` and `vexamo sweep`: many headless Runs in one process.
#include <iosfwd>
#include <string>
#include <vector>

#include "cli/Study.h"
#include "common/AtomicFile.h"
#include "common/Text.h"

namespace vexamo::cli {

// Where a study's summary goes, and how it tells its progress.
struct StudyOutput {
    std::string csv;   // CSV file, or "-" for standard output
    std::string json;  // JSON file, or "-" for standard output
    unsigned jobs = 0;
    bool quiet = false;  // no progress line and no closing count
    LanguageFlagType language = kEnglish;
};

struct BatchOptions {
    std::vector<std::string> problems;
    std::string answers;     // one answers file for every problem
    std::string answersDir;  // DIR/<stem of the problem>.json, where it exists
    StudyOutput output;
};

// Returns the exit status: 0 when every Run produced results, 1 when one did
// not, 2 bad usage or a problem or answers file refused.
int runBatch(const BatchOptions& options, std::ostream& out, std::ostream& err);

struct SweepOptions {
    std::string problem;
    std::vector<std::string> vary;  // "PATH=FROM:TO:STEP" or "PATH=V1,V2,..."
    std::vector<std::string> sets;  // fixed changes, before the varied ones
    std::string answers;
    std::string plot;            // PNG or SVG of the results against the first varied field
    std::vector<std::string> y;  // the results plotted, one panel each
    StudyOutput output;
};

int runSweep(const SweepOptions& options, std::ostream& out, std::ostream& err);

// One varied field: its path and its values as --set would take them.
struct SweepAxis {
    std::string path;
    std::vector<std::string> values;
};

// Largest grid a sweep runs.
inline constexpr std::size_t kMaxSweepCases = 10000;

// "PATH=FROM:TO:STEP" (FROM, FROM + STEP, ... up to TO; TO is reached when
// it lies within a millionth of a step of the grid) or "PATH=V1,V2,...".
// Throws InputError naming the --vary.
SweepAxis parseSweepAxis(const std::string& vary);

// The cases of the grid, the first field varying slowest. Throws InputError
// when the grid exceeds kMaxSweepCases or a field is varied twice.
std::vector<StudyCase> sweepCases(const std::string& problem, const std::vector<std::string>& sets,
                                  const std::vector<SweepAxis>& axes, const std::string& answers);

// The whole study as both commands run it: outputs checked first, the Runs,
// the summary written, the closing count on stderr. `inputs` names the input
// columns; empty: the fields that differ between the Runs.
int runStudyCommand(const std::string& command, const std::vector<StudyCase>& cases,
                    const std::vector<PlannedOutput>& moreOutputs,
                    const std::vector<PlannedInput>& inputs, const StudyOutput& output,
                    const std::vector<std::string>& inputColumns, std::vector<StudyRow>* rowsOut,
                    std::ostream& out, std::ostream& err);

}  // namespace vexamo::cli
