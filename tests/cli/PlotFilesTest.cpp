#include <gtest/gtest.h>

#include <cstdint>
#include <fstream>
#include <iterator>
#include <stdexcept>

#include "cli/PlotFiles.h"
#include "support/TempDir.h"

namespace vexamo {
namespace {

// Width and height from a PNG file's header (the command line links no
// image library); zero when the file is no PNG.
std::pair<std::uint32_t, std::uint32_t> pngSize(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(in)), {});
    if (bytes.size() < 24 || bytes.compare(1, 3, "PNG") != 0 || bytes.compare(12, 4, "IHDR") != 0)
        return {0, 0};
    auto word = [&](std::size_t at) {
        std::uint32_t v = 0;
        for (std::size_t i = 0; i < 4; ++i) v = v << 8 | static_cast<unsigned char>(bytes[at + i]);
        return v;
    };
    return {word(16), word(20)};
}

// The command line draws through the module it loads: the charts arrive
// whole and come back as one picture of stacked panels.
TEST(PlotFiles, ChartPictureThroughTheDrawingModule) {
    const test::TempDir dir;
    Chart a{"Duty", "tube length, m", "duty, kW", {}};
    a.curves.push_back({"passes = 2", {1, 2, 3}, {10, 20, 25}, false, true});
    Chart b = a;
    b.title = "Pressure loss";
    const auto png = dir / "sweep.png";
    cli::writeChartPicture({a, b, a}, png.string());
    EXPECT_EQ(pngSize(png), std::make_pair(900u, 3u * 560u));

    b.curves[0].x.push_back(4);
    try {
        cli::writeChartPicture({a, b}, (dir / "bad.svg").string());
        ADD_FAILURE() << "a curve with more x than y values was drawn";
    } catch (const std::runtime_error& e) {
        EXPECT_NE(std::string(e.what()).find("bad.svg"), std::string::npos) << e.what();
    }
    EXPECT_FALSE(std::filesystem::exists(dir / "bad.svg"));
}

}  // namespace
}  // namespace vexamo
