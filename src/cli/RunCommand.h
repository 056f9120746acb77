#pragma once
#include <iosfwd>
#include <string>
#include <vector>

#include "common/Text.h"
#include "control/RunDriver.h"

namespace vexamo {
struct Session;
}

namespace vexamo::cli {

class CliDialogs;

// "-" for the problem or the answers reads standard input (JSON; not both);
// "-" for the results JSON writes it to standard output, and the report then
// goes to standard error unless it has a file.
inline constexpr const char* kStandardStream = "-";

struct RunOptions {
    std::string problem;            // .dat or .json, or "-"
    std::string answers;            // answers file, optional, or "-"
    std::string report;             // report file (Windows-1251, CR LF), optional: else stdout
    std::string json;               // results file, optional, or "-"
    std::vector<std::string> sets;  // "PATH=VALUE" fields of the JSON problem, in order
    std::istream* input = nullptr;  // what "-" reads
    std::string record;             // answers used, optional
    std::string plot;               // PNG or SVG of the last temperature profile, optional
    std::string pdf;                // the data sheet (PDF), optional
    bool quiet = false;
    bool verbose = false;  // also the intermediate values of the iterations
    LanguageFlagType language = kEnglish;
};

// `vexamo run`: the Run of the desktop program, headless. Returns the exit
// status: 0 results, 1 no results, 2 bad usage or input.
int runRun(const RunOptions& options, std::ostream& out, std::ostream& err);

// What `run` and the studies share. A problem given on the command line
// counts as loaded: the load offer is not made, and both data dialogs are
// shown pre-filled and confirmed.
void markProblemGiven(Session& session);
// The Run of the session's problem: its exit status (0 results, 1 none, 2 an
// answer refused); an answer refused after the results keeps them, and `err`
// says so.
int runGivenProblem(Session& session, CliDialogs& dialogs, RunOutcome& outcome, std::ostream& err);

}  // namespace vexamo::cli
