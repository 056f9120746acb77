#include "graph/ProfileGraph.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdlib>

#include "common/NumberFormat.h"

namespace vexamo {

namespace {

// Pixel coordinates are kept far inside the range of int; the largest legal
// plot area and offsets stay well below this.
constexpr int kMaxExtent = 1'000'000;
constexpr Real kPixelLimit = 10'000'000;

// Nearest integer, ties to even, clamped to a range that int arithmetic on
// pixels cannot overflow.
int roundPixel(Real value) {
    if (std::isnan(value)) return 0;
    value = std::clamp(value, -kPixelLimit, kPixelLimit);
    Real whole = std::floor(value);
    const Real fraction = value - whole;
    if (fraction > 0.5L || (fraction == 0.5L && std::fmod(whole, 2.0L) != 0)) whole += 1;
    return static_cast<int>(whole);
}

// Every n-th tick is labelled, by the point count.
int abscissaLabelSpacing(std::size_t n) { return n <= 10 ? 1 : n <= 20 ? 2 : 3; }
int ordinateLabelSpacing(std::size_t n) { return n <= 10 ? 1 : n <= 30 ? 2 : 3; }

// Pixels per unit over a range. A range of 1e-10 or less is scaled by its
// upper end instead; when that is near zero as well, one unit fills the area.
Real scaleOf(int pixels, Real low, Real high) {
    constexpr Real kFlat = 1e-10L;
    const Real span = std::fabs(high - low);
    if (span > kFlat) return pixels / span;
    const Real top = std::fabs(high);
    return top > kFlat ? pixels / top : static_cast<Real>(pixels);
}

ProfileGraphData checkData(const std::vector<std::vector<Real>>& curves,
                           const std::vector<Real>& positions, int x0, int y0, int width,
                           int height) {
    const auto inRange = [](int v, int low) { return v >= low && v <= kMaxExtent; };
    if (!inRange(width, 1) || !inRange(height, 1) || !inRange(x0, -kMaxExtent) ||
        !inRange(y0, -kMaxExtent))
        return ProfileGraphData::NoRoom;
    if (positions.size() < 2) return ProfileGraphData::TooFewPoints;
    if (curves.empty()) return ProfileGraphData::NoCurves;
    for (const auto& curve : curves)
        if (curve.size() != positions.size()) return ProfileGraphData::UnequalCurves;
    const auto finite = [](Real v) { return std::isfinite(v); };
    if (!std::all_of(positions.begin(), positions.end(), finite))
        return ProfileGraphData::NotFinite;
    for (const auto& curve : curves)
        if (!std::all_of(curve.begin(), curve.end(), finite)) return ProfileGraphData::NotFinite;
    return ProfileGraphData::Drawn;
}

}  // namespace

const std::vector<Rgb>& graphColourList() {
    // clang-format off
    static const std::vector<Rgb> list = {
        // standard
        {0x00, 0x00, 0x00}, {0x80, 0x00, 0x00}, {0x00, 0x80, 0x00}, {0x80, 0x80, 0x00},
        {0x00, 0x00, 0x80}, {0x80, 0x00, 0x80}, {0x00, 0x80, 0x80}, {0x80, 0x80, 0x80},
        {0xC0, 0xC0, 0xC0}, {0xFF, 0x00, 0x00}, {0x00, 0xFF, 0x00}, {0xFF, 0xFF, 0x00},
        {0x00, 0x00, 0xFF}, {0xFF, 0x00, 0xFF}, {0x00, 0xFF, 0xFF}, {0xFF, 0xFF, 0xFF},
        // extended: money green, sky blue, cream, medium gray
        {0xC0, 0xDC, 0xC0}, {0xA6, 0xCA, 0xF0}, {0xFF, 0xFB, 0xF0}, {0xA0, 0xA0, 0xA4},
        // system: scroll bar, desktop, active caption, inactive caption, menu,
        // window, window frame, menu text, window text, caption text, active
        // border, inactive border, application workspace, highlight,
        // highlight text, button face, button shadow, gray text, button text,
        // inactive caption text, button highlight, 3D dark shadow, 3D light,
        // info text, info background
        {0xD4, 0xD0, 0xC8}, {0x3A, 0x6E, 0xA5}, {0x0A, 0x24, 0x6A}, {0x80, 0x80, 0x80},
        {0xD4, 0xD0, 0xC8}, kWindowColour,      {0x00, 0x00, 0x00}, {0x00, 0x00, 0x00},
        {0x00, 0x00, 0x00}, {0xFF, 0xFF, 0xFF}, {0xD4, 0xD0, 0xC8}, {0xD4, 0xD0, 0xC8},
        {0x80, 0x80, 0x80}, {0x0A, 0x24, 0x6A}, {0xFF, 0xFF, 0xFF}, kButtonFace,
        {0x80, 0x80, 0x80}, {0x80, 0x80, 0x80}, {0x00, 0x00, 0x00}, {0xD4, 0xD0, 0xC8},
        {0xFF, 0xFF, 0xFF}, {0x40, 0x40, 0x40}, {0xD4, 0xD0, 0xC8}, {0x00, 0x00, 0x00},
        {0xFF, 0xFF, 0xE1},
    };
    // clang-format on
    return list;
}

Rgb curveColour(std::size_t curve) {
    const auto& list = graphColourList();
    return list[(curve + 9) % list.size()];
}

namespace {

// The ranges of the positions and of every curve; false when one is not finite.
bool findRanges(const std::vector<std::vector<Real>>& curves, const std::vector<Real>& positions,
                ProfileGraphScales& s) {
    const auto [xlow, xhigh] = std::minmax_element(positions.begin(), positions.end());
    s.xmin = *xlow;
    s.xmax = *xhigh;
    s.ymin = curves.front().front();
    s.ymax = curves.back().back();
    for (const auto& curve : curves) {
        const auto [low, high] = std::minmax_element(curve.begin(), curve.end());
        s.ymin = std::min(s.ymin, *low);
        s.ymax = std::max(s.ymax, *high);
    }
    return std::isfinite(s.xmax - s.xmin) && std::isfinite(s.ymax - s.ymin);
}

// Scales, the origin of the axes, the tick spacing in pixels and the label
// spacing in ticks, for n points.
void setScales(ProfileGraphScales& s, int x0, int y0, int width, int height, std::size_t n) {
    s.kx = scaleOf(width, s.xmin, s.xmax);
    s.ky = scaleOf(height, s.ymin, s.ymax);
    s.ox = s.xmin * s.xmax > 0 ? x0 + 14 : x0 + 14 + std::abs(roundPixel(s.xmin * s.kx));
    s.oy = s.ymin * s.ymax > 0 ? y0 - 14 : y0 - 14 - std::abs(roundPixel(s.ymin * s.ky));
    s.abscissaLabelEvery = abscissaLabelSpacing(n);
    s.ordinateLabelEvery = ordinateLabelSpacing(n);
    const Real intervals = static_cast<Real>(n - 1);
    s.dxp = roundPixel((s.xmax - s.xmin) * s.kx / intervals);
    s.dyp = roundPixel((s.ymax - s.ymin) * s.ky / intervals);
}

// Abscissa ticks; a spacing of 0 pixels gives the first tick only.
void addAbscissaTicks(ProfileGraphPlot& plot, int width, int height) {
    const ProfileGraphScales& s = plot.scales;
    const int ox = s.ox;
    const int oy = s.oy;
    Real v = s.xmin;
    int countdown = s.abscissaLabelEvery;
    for (int p = s.xmin * s.xmax > 0 ? ox : ox + roundPixel(s.xmin * s.kx); p <= ox + width;
         p += s.dxp) {
        plot.lines.push_back({{p, oy - 6}, {p, oy + 3}});
        if (--countdown == 0) {
            plot.lines.push_back({{p, oy - 3}, {p, oy - height}, true});
            plot.texts.push_back({{p - 12, oy + 4}, formatFixed(v, 5, 3)});
            countdown = s.abscissaLabelEvery;
        }
        v += s.dxp / s.kx;
        if (s.dxp <= 0) break;
    }
}

// Ordinate ticks, from the horizontal axis up; the first one is labelled.
void addOrdinateTicks(ProfileGraphPlot& plot, int width, int height) {
    const ProfileGraphScales& s = plot.scales;
    const int ox = s.ox;
    const int oy = s.oy;
    Real w = s.ymin * s.ymax > 0 ? s.ymin : 0;
    int countdown = 1;
    for (int r = oy; r >= oy - height; r -= s.dyp) {
        plot.lines.push_back({{ox - 3, r}, {ox + 6, r}});
        if (--countdown == 0) {
            plot.lines.push_back({{ox + 3, r}, {ox + width, r}, true});
            plot.texts.push_back({{ox - 28, r}, formatFixed(w, 5, 1)});
            countdown = s.ordinateLabelEvery;
        }
        w += s.dyp / s.ky;
        if (s.dyp <= 0) break;
    }
}

// Curves, each labelled at its middle point, index round((n - 1) / 2) with
// ties to even.
void addCurves(ProfileGraphPlot& plot, int x0, int y0, const std::vector<std::vector<Real>>& curves,
               const std::vector<Real>& positions, LanguageFlagType language) {
    const ProfileGraphScales& s = plot.scales;
    const std::size_t n = positions.size();
    std::size_t middle = (n - 1) / 2;
    if ((n - 1) % 2 == 1 && middle % 2 == 1) ++middle;
    for (std::size_t i = 0; i < curves.size(); ++i) {
        GraphPolyline line;
        line.colour = curveColour(i);
        line.penWidth = 2;
        line.points.reserve(n);
        for (std::size_t k = 0; k < n; ++k)
            line.points.push_back({x0 + 14 + roundPixel((positions[k] - s.xmin) * s.kx),
                                   y0 - roundPixel((curves[i][k] - s.ymin) * s.ky) - 14});
        const GraphPoint at = line.points[middle];
        line.label = {{at.x + 4, at.y - 16},
                      i == 0 ? tr(language, "outside of tubes", "межтрубное пространство")
                             : std::to_string(i)};
        plot.polylines.push_back(std::move(line));
    }
}

}  // namespace

ProfileGraphPlot temperatureProfileGraph(int x0, int y0, const std::string& title,
                                         const std::vector<std::vector<Real>>& curves,
                                         const std::vector<Real>& positions, int width, int height,
                                         LanguageFlagType language) {
    ProfileGraphPlot plot;
    plot.data = checkData(curves, positions, x0, y0, width, height);
    if (plot.data != ProfileGraphData::Drawn) return plot;
    if (!findRanges(curves, positions, plot.scales)) {
        plot.data = ProfileGraphData::NotFinite;
        plot.scales = {};
        return plot;
    }
    setScales(plot.scales, x0, y0, width, height, positions.size());
    const int ox = plot.scales.ox;
    const int oy = plot.scales.oy;
    plot.lines.push_back({{x0, oy}, {ox + width, oy}});
    plot.lines.push_back({{ox, y0}, {ox, oy - height}});
    addAbscissaTicks(plot, width, height);
    addOrdinateTicks(plot, width, height);
    addCurves(plot, x0, y0, curves, positions, language);
    plot.texts.push_back(
        {{ox + roundPixel(static_cast<Real>(width - 5 * static_cast<int>(characterCount(title))) /
                          2),
          oy - height - 16},
         title});
    return plot;
}

ProfileGraphGeometry profileGraphWindow(const ProfileGraphRequest& request) {
    ProfileGraphGeometry geometry;
    geometry.caption =
        tr(request.language, "Structures of temperatures on length of a heat-transmitting surface",
           "Профили температур по длине теплопередающей поверхности");
    geometry.backgrounds.push_back(kButtonFace);

    // The plot area follows from the paint box's clip rectangle.
    const int left = 0;
    const int right = geometry.canvasWidth;
    const int bottom = geometry.canvasHeight;
    ProfileGraphPlot plot =
        temperatureProfileGraph(left + 50, bottom - 15, "yyy", request.curves, request.positions,
                                right - 94, bottom - 49, request.language);

    geometry.data = plot.data;
    if (plot.data != ProfileGraphData::Drawn) return geometry;
    geometry.backgrounds.push_back(kWindowColour);
    geometry.scales = plot.scales;
    geometry.lines = std::move(plot.lines);
    geometry.texts = std::move(plot.texts);
    geometry.polylines = std::move(plot.polylines);
    return geometry;
}

}  // namespace vexamo
