#pragma once
#include <iosfwd>
#include <string>

#include "common/Text.h"

namespace vexamo::cli {

struct VleOptions {
    std::string mix;                  // "comp.1=30,comp.2=70", mass %, adding up to 100
    std::string pressure;             // kgf/cm2, as typed
    std::string process = "boiling";  // "boiling" or "condensation"
    std::string answers;              // answers file, optional
    bool json = false;                // print the results as JSON
    bool txy = false;                 // print the T-x-y diagram (two components) as CSV
    std::string plot;                 // draw the T-x-y diagram into a PNG or SVG file
    bool quiet = false;
    LanguageFlagType language = kEnglish;
};

// `vexamo vle`: the equilibrium of a mixture without an exchanger, through
// the stream preparation of a condensing or boiling medium at the given
// pressure (the equilibrium set-up's questions answered from the answers file
// or by their defaults). stdout carries one thing: the JSON results with
// --json, else the CSV diagram with --txy, else the report; the report then
// goes to stderr unless --quiet. Returns 0 done, 1 the calculation ended
// without a result (or the person chose to end the program), 2 bad input.
int runVle(const VleOptions& options, std::ostream& out, std::ostream& err);

}  // namespace vexamo::cli
