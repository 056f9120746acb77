#pragma once
// A chart as the headless pictures and the data sheet draw it: titled axes
// with their units and one labelled curve per series. Built by the core from
// a Run's results (or a study's rows), painted by the drawing module.
#include <string>
#include <vector>

#include "common/Real.h"

namespace vexamo {

struct ChartCurve {
    std::string label;       // the legend's text, e.g. "tube space, pass 1"
    std::vector<Real> x, y;  // the points, in the axes' units; equal lengths
    bool dashed = false;     // a reference line (a saturation temperature)
    bool markers = false;    // a mark at every point (a study's grid)
    // The y value written beside the first or the last point (a stream's
    // inlet and outlet temperatures).
    bool labelFirst = false;
    bool labelLast = false;
};

struct Chart {
    std::string title;
    std::string xAxis;  // the quantity with its unit, e.g. "tube length, m"
    std::string yAxis;  // e.g. "temperature, degC"
    std::vector<ChartCurve> curves;
};

}  // namespace vexamo
