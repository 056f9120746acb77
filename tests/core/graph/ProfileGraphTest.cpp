#include <gtest/gtest.h>

#include <limits>
#include <string>
#include <vector>

#include "graph/ProfileGraph.h"

namespace vexamo {
namespace {

// Positions j/(n-1), j = 0 .. n-1, as the exchanger fills them.
std::vector<Real> evenPositions(std::size_t n) {
    if (n < 2) return std::vector<Real>(n, 0);
    std::vector<Real> positions;
    for (std::size_t j = 0; j < n; ++j) positions.push_back(static_cast<Real>(j) / (n - 1));
    return positions;
}

// A straight curve from `first` in steps of `step` degrees.
std::vector<Real> straight(Real first, Real step, std::size_t n = 13) {
    std::vector<Real> curve;
    for (std::size_t j = 0; j < n; ++j) curve.push_back(first + step * static_cast<Real>(j));
    return curve;
}

ProfileGraphRequest request(std::vector<std::vector<Real>> curves, std::uint8_t language = 1) {
    ProfileGraphRequest r;
    r.language = language;
    r.positions = evenPositions(curves.empty() ? 13 : curves.front().size());
    r.curves = std::move(curves);
    return r;
}

// Positions of the solid tick marks on either axis.
std::vector<int> abscissaTicks(const ProfileGraphGeometry& g) {
    std::vector<int> xs;
    for (const auto& line : g.lines)
        if (!line.dotted && line.from.x == line.to.x && line.from.y == g.scales.oy - 6 &&
            line.to.y == g.scales.oy + 3)
            xs.push_back(line.from.x);
    return xs;
}
std::vector<int> ordinateTicks(const ProfileGraphGeometry& g) {
    std::vector<int> ys;
    for (const auto& line : g.lines)
        if (!line.dotted && line.from.y == line.to.y && line.from.x == g.scales.ox - 3 &&
            line.to.x == g.scales.ox + 6)
            ys.push_back(line.from.y);
    return ys;
}
std::vector<std::string> textsAtY(const ProfileGraphGeometry& g, int y) {
    std::vector<std::string> texts;
    for (const auto& text : g.texts)
        if (text.topLeft.y == y) texts.push_back(text.text);
    return texts;
}
std::vector<std::string> textsAtX(const ProfileGraphGeometry& g, int x) {
    std::vector<std::string> texts;
    for (const auto& text : g.texts)
        if (text.topLeft.x == x) texts.push_back(text.text);
    return texts;
}

// 13 points over 0..1, temperatures 10 .. 58.8 degC: ky = 488 / 48.8 = 10.
TEST(ProfileGraph, ThirteenPointsInTheDefaultWindow) {
    const auto g =
        profileGraphWindow(request({straight(10, 3), straight(58.8L, -2), straight(34.8L, -1)}));
    ASSERT_EQ(g.data, ProfileGraphData::Drawn);
    EXPECT_EQ(g.caption, "Structures of temperatures on length of a heat-transmitting surface");
    EXPECT_EQ(g.canvasWidth, 862);
    EXPECT_EQ(g.canvasHeight, 537);
    EXPECT_EQ(g.backgrounds, (std::vector<Rgb>{kButtonFace, kWindowColour}));

    EXPECT_EQ(g.scales.ox, 64);
    EXPECT_EQ(g.scales.oy, 508);
    EXPECT_EQ(g.scales.dxp, 64);
    EXPECT_EQ(g.scales.dyp, 41);  // round(488 / 12)
    ASSERT_GE(g.lines.size(), 2u);
    EXPECT_EQ(g.lines[0].from, (GraphPoint{50, 508}));
    EXPECT_EQ(g.lines[0].to, (GraphPoint{832, 508}));
    EXPECT_EQ(g.lines[1].from, (GraphPoint{64, 522}));
    EXPECT_EQ(g.lines[1].to, (GraphPoint{64, 20}));

    std::vector<int> expectedX;
    for (int p = 64; p <= 832; p += 64) expectedX.push_back(p);
    EXPECT_EQ(abscissaTicks(g), expectedX);
    // Every second tick is labelled, the origin is not.
    EXPECT_EQ(textsAtY(g, 512),
              (std::vector<std::string>{"0.083", "0.250", "0.417", "0.583", "0.750", "0.917"}));
    EXPECT_EQ(textsAtX(g, 128 - 12), std::vector<std::string>{"0.083"});

    std::vector<int> expectedY;
    for (int r = 508; r >= 20; r -= 41) expectedY.push_back(r);
    EXPECT_EQ(ordinateTicks(g), expectedY);
    // The first ordinate tick is labelled, then every second one.
    EXPECT_EQ(textsAtX(g, 36),
              (std::vector<std::string>{" 10.0", " 18.2", " 26.4", " 34.6", " 42.8", " 51.0"}));
    std::size_t dotted = 0;
    for (const auto& line : g.lines) dotted += line.dotted ? 1 : 0;
    EXPECT_EQ(dotted, 6u + 6u);

    ASSERT_EQ(g.polylines.size(), 3u);
    const auto& shell = g.polylines[0];
    ASSERT_EQ(shell.points.size(), 13u);
    EXPECT_EQ(shell.penWidth, 2);
    EXPECT_EQ(shell.points.front(), (GraphPoint{64, 508}));
    EXPECT_EQ(shell.points[6], (GraphPoint{448, 328}));
    EXPECT_EQ(shell.points.back(), (GraphPoint{832, 148}));
    EXPECT_EQ(g.polylines[1].points.front(), (GraphPoint{64, 20}));
    EXPECT_EQ(shell.label.text, "outside of tubes");
    EXPECT_EQ(shell.label.topLeft, (GraphPoint{452, 312}));
    EXPECT_EQ(g.polylines[2].label.text, "2");

    // (768 - 15) / 2 = 376.5 rounds to the even 376.
    ASSERT_FALSE(g.texts.empty());
    EXPECT_EQ(g.texts.back().text, "yyy");
    EXPECT_EQ(g.texts.back().topLeft, (GraphPoint{64 + 376, 508 - 488 - 16}));
}

TEST(ProfileGraph, LabelSpacingAndMiddlePointFollowThePointCount) {
    // Five points: every tick labelled, the origin too.
    const auto five = profileGraphWindow(request({straight(20, 10, 5)}));
    EXPECT_EQ(five.scales.dxp, 192);
    EXPECT_EQ(textsAtY(five, five.scales.oy + 4),
              (std::vector<std::string>{"0.000", "0.250", "0.500", "0.750", "1.000"}));
    EXPECT_EQ(textsAtX(five, five.scales.ox - 28).size(), ordinateTicks(five).size());

    // Six points: the middle index round(2.5) is 2.
    const auto six = profileGraphWindow(request({straight(20, 10, 6)}));
    EXPECT_EQ(six.polylines[0].label.topLeft.x, six.polylines[0].points[2].x + 4);

    // 25 points: every third abscissa tick, every second ordinate tick.
    const auto many = profileGraphWindow(request({straight(20, 1, 25)}));
    EXPECT_EQ(many.scales.abscissaLabelEvery, 3);
    EXPECT_EQ(many.scales.ordinateLabelEvery, 2);
    EXPECT_EQ(textsAtY(many, many.scales.oy + 4).front(), "0.083");  // third tick, 2/24
}

TEST(ProfileGraph, EqualTemperaturesLieOnTheHorizontalAxis) {
    const auto g = profileGraphWindow(request({straight(40, 0), straight(40, 0)}));
    ASSERT_EQ(g.data, ProfileGraphData::Drawn);
    EXPECT_DOUBLE_EQ(static_cast<double>(g.scales.ky), 488.0 / 40.0);
    EXPECT_EQ(g.scales.oy, 508);
    for (const auto& curve : g.polylines)
        for (const auto& point : curve.points) EXPECT_EQ(point.y, 508);
    // No spacing between ordinate ticks: one tick, labelled with the value.
    EXPECT_EQ(g.scales.dyp, 0);
    EXPECT_EQ(ordinateTicks(g), std::vector<int>{508});
    EXPECT_EQ(textsAtX(g, 36), std::vector<std::string>{" 40.0"});

    // Everything at zero: height / |ymax| would divide by zero; one degree
    // fills the height instead and the curves still lie on the axis.
    const auto zero = profileGraphWindow(request({straight(0, 0)}));
    ASSERT_EQ(zero.data, ProfileGraphData::Drawn);
    EXPECT_DOUBLE_EQ(static_cast<double>(zero.scales.ky), 488.0);
    for (const auto& point : zero.polylines[0].points) EXPECT_EQ(point.y, zero.scales.oy);
    EXPECT_EQ(textsAtX(zero, 36), std::vector<std::string>{"  0.0"});
}

// -12.2 .. 36.6 degC: ky = 10, the axis moves up by 122 pixels.
TEST(ProfileGraph, TemperaturesOfBothSignsRaiseTheHorizontalAxis) {
    const auto g = profileGraphWindow(request({straight(-12.2L, 4), straight(36.6L, -2)}));
    ASSERT_EQ(g.data, ProfileGraphData::Drawn);
    EXPECT_EQ(g.scales.oy, 508 - 122);
    EXPECT_EQ(g.lines[0].from, (GraphPoint{50, 386}));
    const auto ticks = ordinateTicks(g);
    ASSERT_FALSE(ticks.empty());
    EXPECT_EQ(ticks.front(), 386);
    for (int y : ticks) EXPECT_LE(y, 386);
    const auto labels = textsAtX(g, 36);
    ASSERT_FALSE(labels.empty());
    EXPECT_EQ(labels.front(), "  0.0");
    EXPECT_EQ(labels[1], "  8.2");
    EXPECT_EQ(g.polylines[0].points.front().y, 508);  // ymin stays at the bottom
    EXPECT_EQ(g.polylines[1].points.front().y, 20);
}

TEST(ProfileGraph, CurveColoursAndLabels) {
    std::vector<std::vector<Real>> curves;
    for (int i = 0; i < 7; ++i) curves.push_back(straight(10 + i, 1));
    const auto g = profileGraphWindow(request(curves, 0));
    EXPECT_EQ(g.caption, "Профили температур по длине теплопередающей поверхности");
    const std::vector<Rgb> expected = {{255, 0, 0},   {0, 255, 0},   {255, 255, 0},  {0, 0, 255},
                                       {255, 0, 255}, {0, 255, 255}, {255, 255, 255}};
    ASSERT_EQ(g.polylines.size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(g.polylines[i].colour, expected[i]) << "curve " << i;
        EXPECT_EQ(g.polylines[i].label.text,
                  i == 0 ? "межтрубное пространство" : std::to_string(i));
    }
    EXPECT_EQ(curveColour(7), (Rgb{0xC0, 0xDC, 0xC0}));            // money green
    EXPECT_EQ(curveColour(8), (Rgb{0xA6, 0xCA, 0xF0}));            // sky blue
    EXPECT_EQ(curveColour(graphColourList().size() - 9), kBlack);  // past the end: from the start
}

TEST(ProfileGraph, BadDataGiveAnEmptyPicture) {
    const Real nan = std::numeric_limits<Real>::quiet_NaN();
    const Real inf = std::numeric_limits<Real>::infinity();
    auto withNan = straight(10, 1);
    withNan[5] = nan;
    auto withInf = straight(10, 1);
    withInf[0] = -inf;

    struct Case {
        ProfileGraphRequest request;
        ProfileGraphData data;
    };
    std::vector<Case> cases = {
        {request({{20}}), ProfileGraphData::TooFewPoints},
        {request({}), ProfileGraphData::NoCurves},
        {request({straight(10, 1), straight(10, 1, 12)}), ProfileGraphData::UnequalCurves},
        {request({straight(10, 1), withNan}), ProfileGraphData::NotFinite},
        {request({withInf}), ProfileGraphData::NotFinite},
        {request({straight(-1.1e4932L, 0), straight(1.1e4932L, 0)}), ProfileGraphData::NotFinite},
    };
    cases.push_back({request({straight(10, 1)}), ProfileGraphData::NotFinite});
    cases.back().request.positions[3] = nan;
    for (const auto& c : cases) {
        const auto g = profileGraphWindow(c.request);
        EXPECT_EQ(g.data, c.data);
        EXPECT_FALSE(g.caption.empty());
        EXPECT_EQ(g.backgrounds, std::vector<Rgb>{kButtonFace});
        EXPECT_TRUE(g.lines.empty());
        EXPECT_TRUE(g.texts.empty());
        EXPECT_TRUE(g.polylines.empty());
    }
    EXPECT_EQ(temperatureProfileGraph(50, 522, "yyy", {straight(10, 1)}, evenPositions(13), 0, 488,
                                      kEnglish)
                  .data,
              ProfileGraphData::NoRoom);
}

TEST(ProfileGraph, TickLoopsEndWhenTheSpacingRoundsToZero) {
    // 2000 points: 768 / 1999 pixels per interval rounds to 0.
    const std::size_t n = 2000;
    const auto g = profileGraphWindow(request({straight(10, 1, n)}));
    ASSERT_EQ(g.data, ProfileGraphData::Drawn);
    EXPECT_EQ(g.scales.dxp, 0);
    EXPECT_EQ(g.scales.dyp, 0);
    EXPECT_EQ(abscissaTicks(g).size(), 1u);
    EXPECT_EQ(ordinateTicks(g).size(), 1u);
    EXPECT_EQ(g.polylines[0].points.back(), (GraphPoint{832, 20}));
}

}  // namespace
}  // namespace vexamo
