#pragma once
#include <iosfwd>
#include <string>

#include "common/Text.h"

namespace vexamo::cli {

struct RunOptions {
    std::string problem;  // .dat or .json
    std::string answers;  // answers file, optional
    std::string report;   // report file (Windows-1251, CR LF), optional: else stdout
    std::string json;     // results file, optional
    std::string record;   // answers used, optional
    std::string plot;     // PNG or SVG of the last temperature profile, optional
    bool quiet = false;
    bool verbose = false;  // also the intermediate values of the iterations
    LanguageFlagType language = kEnglish;
};

// `vexamo run`: the Run of the desktop program, headless. Returns the exit
// status: 0 results, 1 no results, 2 bad usage or input.
int runRun(const RunOptions& options, std::ostream& out, std::ostream& err);

}  // namespace vexamo::cli
