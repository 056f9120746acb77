#pragma once
// Pictures written by the headless commands. The drawing code (and the
// libraries of the window system it needs) is loaded from libvexamo-plot.so
// the first time a picture is asked for.
#include <string>
#include <vector>

#include "control/Session.h"
#include "dialogs/Dialogs.h"
#include "graph/Chart.h"
#include "graph/DataSheet.h"
#include "plot/TxyPainter.h"

namespace vexamo::cli {

// PNG or SVG by the extension; an existing file is kept as NAME.EXT.bak.
// Throws std::runtime_error with the reason (the drawing library missing, a
// bad extension, a file that cannot be written).
void writeProfilePicture(const ProfileGraphRequest& request, const std::string& file);
void writeTxyPicture(const plot::TxyDiagram& diagram, const std::string& file);
// The charts stacked as panels of one picture, top to bottom, each 900 x 560
// pixels: a title, titled axes, one labelled curve per series. Also throws
// when there is no chart or a curve's x and y counts differ.
void writeChartPicture(const std::vector<Chart>& charts, const std::string& file);

// The charts of a Run (graph/ProfileChart.h): the temperature profile it
// showed last, with the reported temperatures at its ends, and the T-Q
// diagram where a medium condenses or boils.
std::vector<Chart> runPictureCharts(const Session& session, const ProfileGraphRequest& profile);
// Those charts as one picture (`run --plot`).
void writeRunPicture(const Session& session, const ProfileGraphRequest& profile,
                     const std::string& file);

// The data sheet as a PDF of A4 pages (`run --pdf`); an existing file is kept
// as FILE.bak. Throws like the pictures, and for a name not ending in .pdf.
void writeDataSheet(const DataSheet& sheet, const std::string& file);

}  // namespace vexamo::cli
