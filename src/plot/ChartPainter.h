#pragma once
// Draws the core's chart records (graph/Chart.h): a title, axes with their
// quantities and units, round ticks, one coloured curve per series and a
// legend naming each. Several charts make one picture, stacked as panels.
#include <filesystem>
#include <string>
#include <vector>

#include "graph/Chart.h"

class QPainter;
class QRectF;

namespace vexamo::plot {

// The size of one panel in pixels; a picture of n charts is
// kChartWidth x (n * kChartHeight).
inline constexpr int kChartWidth = 900;
inline constexpr int kChartHeight = 560;

// Throws std::runtime_error naming the chart and the curve when a curve's x
// and y counts differ, or when there is no chart at all.
void checkCharts(const std::vector<Chart>& charts);

// Paints one chart into `panel` (white background, frame, grid, curves, the
// values at the ends the curves ask for, the legend in rows below the plot). Points that are not
// finite break their curve; a chart without a single finite point says so inside its frame.
void paintChart(QPainter& painter, const Chart& chart, const QRectF& panel);

// The bytes of the charts' picture, stacked top to bottom, as "png" or "svg".
std::string chartsPicture(const std::vector<Chart>& charts, const std::string& format);

// Renders the charts in memory as PNG or SVG, chosen by the extension, and
// writes them through writeFileAtomically (an existing file is kept as
// NAME.EXT.bak). Throws std::runtime_error naming the file for a bad
// extension or bad charts, OutputRefused or FileWriteError when it cannot be
// written.
void renderCharts(const std::vector<Chart>& charts, const std::filesystem::path& file);

}  // namespace vexamo::plot
