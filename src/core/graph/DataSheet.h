#pragma once
// The data sheet of one Run: a document an engineer files with the design.
// A title block (the problem, the date, the program), the media and the
// design data, the report's results and engineering summary, the warnings,
// and the charts of the Run. Built here from the session; laid out on pages
// by the drawing module.
#include <string>
#include <vector>

#include "common/Text.h"
#include "control/Session.h"
#include "dialogs/Dialogs.h"
#include "graph/Chart.h"

namespace vexamo {

struct DataSheetSection {
    std::string heading;
    // Lines of the report's own layout, set in a fixed-pitch font so its
    // columns stay aligned; leading and trailing blank lines removed.
    std::vector<std::string> lines;
};

struct DataSheet {
    std::string title;                    // "Heat exchanger data sheet"
    std::vector<std::string> titleBlock;  // the problem, the date, the program
    // Set for a Run without results: why there are none, shown under the title.
    std::string noResults;
    std::vector<DataSheetSection> sections;  // media, design data, results
    std::vector<std::string> warnings;       // each a "Warning: ..." line
    std::vector<Chart> charts;               // the profile, then the T-Q diagram
    std::string warningsHeading, chartsHeading, noWarnings;
    std::string pageWord;  // "page" in the sheet's language
};

struct DataSheetOrigin {
    std::string problem;  // the problem file's name, "" when not known (no line then)
    std::string date;     // e.g. "2026-12-10"
    std::string program;  // e.g. "Vexamo 1.4.0"
};

// The sheet of the session's last Run. `profile` is the temperature profile
// the Run showed last (none: no chart); with results the charts are those of
// runCharts, without them the profile as shown with its "no results" title.
// A Run without results still gets its sheet: the data it was given, what
// the report says, the reason in `noResults`.
DataSheet dataSheet(const Session& session, const ProfileGraphRequest* profile,
                    const DataSheetOrigin& origin);

// Today's date in the local time zone as YYYY-MM-DD.
std::string todayDate();

}  // namespace vexamo
