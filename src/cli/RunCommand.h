#pragma once
#include <iosfwd>
#include <string>
#include <vector>

#include "common/Text.h"

namespace vexamo::cli {

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
    bool quiet = false;
    bool verbose = false;  // also the intermediate values of the iterations
    LanguageFlagType language = kEnglish;
};

// `vexamo run`: the Run of the desktop program, headless. Returns the exit
// status: 0 results, 1 no results, 2 bad usage or input.
int runRun(const RunOptions& options, std::ostream& out, std::ostream& err);

}  // namespace vexamo::cli
