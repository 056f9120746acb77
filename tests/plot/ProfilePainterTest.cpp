#include <gtest/gtest.h>

#include <QColor>
#include <QImage>
#include <QString>
#include <fstream>
#include <set>
#include <sstream>

#include "plot/ProfilePainter.h"
#include "support/TempDir.h"

namespace vexamo {
namespace {

// A two-pass exchanger: the shell side heated from 20 to 50 degC, the tube
// passes cooling from 90 over 70 to 55 degC.
ProfileGraphRequest twoPassExample() {
    ProfileGraphRequest request;
    request.language = 1;
    for (int j = 0; j <= 12; ++j) {
        const Real x = j / 12.0L;
        request.positions.push_back(x);
    }
    request.curves.resize(3);
    for (int j = 0; j <= 12; ++j) {
        const Real x = j / 12.0L;
        request.curves[0].push_back(20 + 30 * x);
        request.curves[1].push_back(90 - 20 * x);
        request.curves[2].push_back(55 + 15 * x);
    }
    return request;
}

std::string readAll(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

TEST(ProfilePainter, RendersPngAndSvg) {
    const test::TempDir dir;
    const auto png = dir / "graph.png";
    const auto svg = dir / "graph.SVG";
    plot::renderProfileGraph(twoPassExample(), png);
    plot::renderProfileGraph(twoPassExample(), svg);

    const QImage image(QString::fromStdString(png.string()));
    ASSERT_FALSE(image.isNull());
    EXPECT_EQ(image.width(), 862);
    EXPECT_EQ(image.height(), 537);
    std::set<QRgb> colours;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) colours.insert(image.pixel(x, y) | 0xFF000000u);
    EXPECT_GT(colours.size(), 3u);
    EXPECT_TRUE(colours.count(qRgb(255, 255, 255)));  // plot background
    EXPECT_TRUE(colours.count(qRgb(0, 0, 0)));        // axes
    EXPECT_TRUE(colours.count(qRgb(255, 0, 0)));      // shell side
    EXPECT_TRUE(colours.count(qRgb(0, 255, 0)));      // pass 1
    EXPECT_TRUE(colours.count(qRgb(255, 255, 0)));    // pass 2

    const std::string text = readAll(svg);
    EXPECT_NE(text.find("<svg"), std::string::npos);
    EXPECT_NE(text.find("Structures of temperatures"), std::string::npos);
    EXPECT_NE(text.find("polyline"), std::string::npos);
}

TEST(ProfilePainter, UnwritableFilesThrow) {
    const test::TempDir dir;
    for (const char* name : {"graph.png", "graph.svg"}) {
        const auto file = dir / "missing" / name;
        try {
            plot::renderProfileGraph(twoPassExample(), file);
            ADD_FAILURE() << "no error for " << file;
        } catch (const std::runtime_error& error) {
            EXPECT_NE(std::string(error.what()).find(file.string()), std::string::npos);
        }
        EXPECT_FALSE(std::filesystem::exists(file));
    }
    EXPECT_THROW(plot::renderProfileGraph(twoPassExample(), dir / "graph.bmp"), std::runtime_error);
}

}  // namespace
}  // namespace vexamo
