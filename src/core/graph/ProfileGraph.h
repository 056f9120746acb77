#pragma once
// Geometry of the temperature profile window (TfmHexGraph): every line, text
// and curve the window draws, in pixels of its paint box, as plain data. The
// front ends only paint it (plot/ProfilePainter.h).
#include <cstdint>
#include <string>
#include <vector>

#include "common/Real.h"
#include "common/Text.h"
#include "dialogs/Dialogs.h"

namespace vexamo {

struct Rgb {
    std::uint8_t r = 0;
    std::uint8_t g = 0;
    std::uint8_t b = 0;
    friend bool operator==(const Rgb&, const Rgb&) = default;
};

// Colours of the window's palette.
inline constexpr Rgb kBlack{0, 0, 0};
inline constexpr Rgb kButtonFace{0xD4, 0xD0, 0xC8};    // system colour of the paint box
inline constexpr Rgb kWindowColour{0xFF, 0xFF, 0xFF};  // system colour of the plot

// The colour list of the window: 16 standard colours (black, maroon, green,
// olive, navy, purple, teal, gray, silver, red, lime, yellow, blue, fuchsia,
// aqua, white), 4 extended ones (money green, sky blue, cream, medium gray),
// then the system colours of the classic desktop scheme.
const std::vector<Rgb>& graphColourList();

// Pen colour of curve i: entry i + 9 of the colour list (curve 0 red, 1 lime,
// 2 yellow, 3 blue, 4 fuchsia, 5 aqua, 6 white). Past the end of the list the
// count goes on from its start.
Rgb curveColour(std::size_t curve);

struct GraphPoint {
    int x = 0;
    int y = 0;
    friend bool operator==(const GraphPoint&, const GraphPoint&) = default;
};

struct GraphLine {
    GraphPoint from;
    GraphPoint to;
    bool dotted = false;
    int penWidth = 1;
    Rgb colour = kBlack;
};

// A text whose top-left corner is at `topLeft`, transparent background.
struct GraphText {
    GraphPoint topLeft;
    std::string text;
    Rgb colour = kBlack;
};

// A curve and its label, drawn right after it.
struct GraphPolyline {
    std::vector<GraphPoint> points;
    Rgb colour = kBlack;
    int penWidth = 2;
    GraphText label;
};

// Whether the data could be drawn. Anything but Drawn leaves the plot empty.
enum class ProfileGraphData : std::uint8_t {
    Drawn = 0,
    TooFewPoints = 1,  // fewer than 2 points: no tick spacing
    NoCurves = 2,
    UnequalCurves = 3,  // a curve whose point count differs from the positions'
    NotFinite = 4,      // a position or temperature (or their range) not finite
    NoRoom = 5,         // plot area smaller than one pixel or absurdly large
};

// The numbers the drawing is built on, for callers and tests.
struct ProfileGraphScales {
    Real xmin = 0, xmax = 0, ymin = 0, ymax = 0;
    Real kx = 0, ky = 0;   // pixels per unit of length and per degree
    int ox = 0, oy = 0;    // vertical and horizontal axis
    int dxp = 0, dyp = 0;  // tick spacing, pixels
    int abscissaLabelEvery = 1, ordinateLabelEvery = 1;
};

// What TemperatureProfileGraph draws, in drawing order: the plot background
// (window colour), lines (axes, ticks, grid), texts (tick labels, the title),
// curves with their labels.
struct ProfileGraphPlot {
    ProfileGraphData data = ProfileGraphData::Drawn;
    ProfileGraphScales scales;
    std::vector<GraphLine> lines;
    std::vector<GraphText> texts;
    std::vector<GraphPolyline> polylines;
};

// The drawing routine of the window: (x0, y0) is the lower-left reference
// point, width and height the plot area in pixels. The point count n is the
// size of `positions`, the curve count m the size of `curves`; every curve
// must have n temperatures. Bad data give an empty plot with `data` saying why.
ProfileGraphPlot temperatureProfileGraph(int x0, int y0, const std::string& title,
                                         const std::vector<std::vector<Real>>& curves,
                                         const std::vector<Real>& positions, int width, int height,
                                         LanguageFlagType language);

// The whole picture of the window as it becomes active.
struct ProfileGraphGeometry {
    int windowWidth = 870;
    int windowHeight = 600;
    int canvasWidth = 862;  // pbHex, the drawing surface at the top of the window
    int canvasHeight = 537;
    std::string caption;
    // Colours that fill the whole canvas, one after the other: the button face
    // of the paint box, then the window colour of the plot (missing when the
    // data could not be drawn).
    std::vector<Rgb> backgrounds;
    ProfileGraphData data = ProfileGraphData::Drawn;
    ProfileGraphScales scales;
    std::vector<GraphLine> lines;
    std::vector<GraphText> texts;
    std::vector<GraphPolyline> polylines;
};

// FormActivate: caption by language, the paint box filled with the button face,
// and the graph of `request` drawn in it with x0 = 50, y0 = 522, width 768,
// height 488 and the title "yyy".
ProfileGraphGeometry profileGraphWindow(const ProfileGraphRequest& request);

}  // namespace vexamo
