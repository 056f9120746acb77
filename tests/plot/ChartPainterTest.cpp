#include <gtest/gtest.h>

#include <QColor>
#include <QImage>
#include <QString>
#include <cmath>
#include <fstream>
#include <limits>
#include <set>
#include <sstream>

#include "plot/ChartPainter.h"
#include "support/TempDir.h"

namespace vexamo {
namespace {

std::string readAll(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// Two panels: a profile with a dashed saturation line, a study's grid with
// marks and a point that was not computed.
std::vector<Chart> twoCharts() {
    Chart profile{"Temperature profile", "tube length, m", "temperature, degC", {}};
    ChartCurve tube{"tube space, pass 1", {}, {}, false, false};
    ChartCurve saturation{"shell space, saturation", {}, {}, true, false};
    for (int j = 0; j <= 10; ++j) {
        tube.x.push_back(j * 0.4L);
        tube.y.push_back(20 + 5 * j);
        saturation.x.push_back(j * 0.4L);
        saturation.y.push_back(120);
    }
    profile.curves = {tube, saturation};
    Chart study{"Overall coefficient", "tube length, m", "coefficient, W/(m2*K)", {}};
    study.curves.push_back({"passes = 2", {1, 2, 3, 4}, {800, 900, 950, 970}, false, true});
    study.curves.push_back({"passes = 4",
                            {1, 2, 3, 4},
                            {1000, std::numeric_limits<Real>::quiet_NaN(), 1150, 1180},
                            false,
                            true});
    return {profile, study};
}

std::set<QRgb> coloursOf(const QImage& image, int top, int bottom) {
    std::set<QRgb> colours;
    for (int y = top; y < bottom; ++y)
        for (int x = 0; x < image.width(); ++x) colours.insert(image.pixel(x, y) | 0xFF000000u);
    return colours;
}

TEST(ChartPainter, StacksPanelsInOnePicture) {
    const test::TempDir dir;
    const auto png = dir / "charts.png";
    plot::renderCharts(twoCharts(), png);
    const QImage image(QString::fromStdString(png.string()));
    ASSERT_FALSE(image.isNull());
    EXPECT_EQ(image.width(), plot::kChartWidth);
    EXPECT_EQ(image.height(), 2 * plot::kChartHeight);
    // Each panel is drawn: white ground, black text and frame, the first
    // curve's colour, and many shades of the antialiased lines.
    for (int panel = 0; panel < 2; ++panel) {
        const std::set<QRgb> colours =
            coloursOf(image, panel * plot::kChartHeight, (panel + 1) * plot::kChartHeight);
        EXPECT_GT(colours.size(), 20u) << "panel " << panel;
        EXPECT_TRUE(colours.count(qRgb(255, 255, 255))) << "panel " << panel;
        EXPECT_TRUE(colours.count(qRgb(0x1f, 0x4e, 0xb4))) << "panel " << panel;
    }

    const auto svg = dir / "charts.svg";
    plot::renderCharts(twoCharts(), svg);
    const std::string text = readAll(svg);
    for (const char* label :
         {"Temperature profile", "tube length, m", "temperature, degC", "tube space, pass 1",
          "shell space, saturation", "Overall coefficient", "passes = 4"})
        EXPECT_NE(text.find(label), std::string::npos) << label;
}

TEST(ChartPainter, KeepsThePreviousFileAndRefusesBadCharts) {
    const test::TempDir dir;
    const auto png = dir / "charts.png";
    plot::renderCharts(twoCharts(), png);
    const std::string first = readAll(png);
    std::vector<Chart> one = twoCharts();
    one.pop_back();
    plot::renderCharts(one, png);
    EXPECT_EQ(readAll(dir / "charts.png.bak"), first);
    EXPECT_EQ(QImage(QString::fromStdString(png.string())).height(), plot::kChartHeight);

    // Refused before anything is written: the picture in place stays.
    const std::string second = readAll(png);
    std::vector<Chart> uneven = twoCharts();
    uneven[1].curves[0].y.pop_back();
    try {
        plot::renderCharts(uneven, png);
        ADD_FAILURE() << "uneven curve drawn";
    } catch (const std::runtime_error& e) {
        EXPECT_NE(std::string(e.what()).find("passes = 2"), std::string::npos) << e.what();
    }
    EXPECT_THROW(plot::renderCharts({}, png), std::runtime_error);
    EXPECT_THROW(plot::renderCharts(twoCharts(), dir / "charts.pdf"), std::runtime_error);
    EXPECT_EQ(readAll(png), second);
    EXPECT_EQ(readAll(dir / "charts.png.bak"), first);
}

TEST(ChartPainter, ChartWithoutDataIsDrawnEmpty) {
    const test::TempDir dir;
    Chart empty{"Nothing computed", "x", "y", {}};
    empty.curves.push_back({"a", {1, 2}, {std::nan(""), std::nan("")}, false, false});
    const auto svg = dir / "empty.svg";
    plot::renderCharts({empty}, svg);
    EXPECT_NE(readAll(svg).find("no data to draw"), std::string::npos);
}

}  // namespace
}  // namespace vexamo
