// One notion of a usable problem file for every command, and a lossless
// JSON form for every file that notion accepts.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <limits>
#include <random>

#include "common/Errors.h"
#include "common/Ext80.h"
#include "control/ProblemFile.h"
#include "problem/RecordCodec.h"
#include "problemjson/ProblemJson.h"
#include "support/Files.h"
#include "support/TempDir.h"

namespace vexamo {
namespace {

namespace fs = std::filesystem;
using test::Outcome;
using test::readBytes;
using test::writeBytes;
Outcome vexamo(const std::string& args) {
    return test::runCommand(std::string(VEXAMO_BINARY) + " " + args);
}

std::string example(const std::string& name) {
    return std::string(VEXAMO_SOURCE_DIR) + "/examples/" + name;
}

void putReal(std::vector<std::uint8_t>& bytes, std::size_t at, Real value) {
    const Ext80Bytes b = encodeExt80(value);
    std::memcpy(bytes.data() + at, b.data(), b.size());
}

TEST(ProblemSoundness, EveryCommandRefusesTheSameFileNamingInputAndField) {
    test::TempDir dir;
    std::vector<std::uint8_t> bytes = readBytes(example("water-water-2pass.dat"));
    const std::size_t shell = kTechnSetSize, design = 2 * kTechnSetSize;
    const std::size_t flowAt = decodeProblem(bytes).Design.FlowSide == 1 ? shell : 0;

    struct Spoilt {
        const char* name;
        std::function<void(std::vector<std::uint8_t>&)> spoil;
        const char* field;
    };
    const Spoilt files[] = {
        {"inf-flow.dat",
         [&](auto& b) {
             putReal(b, flowAt + layout::FlowRate, std::numeric_limits<Real>::infinity());
         },
         "FlowRate is not a finite number"},
        {"unnormal-length.dat",
         [&](auto& b) {
             const std::uint8_t unnormal[10] = {0, 0, 0, 0, 0, 0, 0, 0x40, 0xFF, 0x3F};
             std::memcpy(b.data() + design + layout::TubeLength, unnormal, 10);
         },
         "design: TubeLength is not a finite number"},
        {"five-passes.dat", [&](auto& b) { b[design + layout::TubePasses] = 5; },
         "design: TubePasses is 5 (allowed 1 to 4)"},
    };
    for (const Spoilt& f : files) {
        std::vector<std::uint8_t> b = bytes;
        f.spoil(b);
        const fs::path input = dir / f.name;
        writeBytes(input, b);
        const std::string json = (dir / "out.json").string();
        for (const std::string& args :
             {"show " + input.string(), "convert " + input.string() + " " + json,
              "convert " + input.string() + " " + (dir / "out.dat").string(),
              "run --quiet " + input.string()}) {
            const Outcome o = vexamo(args);
            EXPECT_EQ(o.status, 2) << args << "\n" << o.text;
            EXPECT_NE(o.text.find(input.string() + ": "), std::string::npos) << args << "\n"
                                                                             << o.text;
            EXPECT_NE(o.text.find(f.field), std::string::npos) << args << "\n" << o.text;
            EXPECT_EQ(o.text.find("out."), std::string::npos) << args << "\n" << o.text;
        }
        EXPECT_FALSE(fs::exists(dir / "out.json"));
        EXPECT_FALSE(fs::exists(dir / "out.dat"));
    }

    // The desktop's loading refuses it too, with the reason.
    writeBytes(dir / "inf.dat", [&] {
        std::vector<std::uint8_t> b = bytes;
        putReal(b, flowAt + layout::FlowRate, std::numeric_limits<Real>::infinity());
        return b;
    }());
    const SubstanceData data = SubstanceData::builtIn();
    EXPECT_THROW(readProblemFile(dir / "inf.dat", data.SubstanceTable.size()), FormatError);

    // The readable form cannot smuggle them in either.
    std::ofstream(dir / "inf.json")
        << R"({"tube_space": {"process": "heating", "components": ["comp.2"],
        "flow_rate_kg_h": 1000, "temperature_C": 15},
      "shell_space": {"process": "cooling", "components": ["comp.2"], "temperature_C": 70},
      "design": {"tube_count": 10, "tube_length_m": 2, "outer_diameter_m": 0.02, "inner_diameter_m": 0.016,
        "tube_passes": 2, "shell_passes": 1, "rows_on_vertical": 5, "parallel_flows": 1,
        "shell_diameter_m": 0.3, "material": "Copper", "tube_arrangement": "chess", "bundle": "horizontal"},
      "stored": {"tube_space": {"FlowRate": "ext80:0000000000000080ff7f"}}})";
    const Outcome o = vexamo("show " + (dir / "inf.json").string());
    EXPECT_EQ(o.status, 2) << o.text;
    EXPECT_NE(o.text.find("inf.json: tube space: FlowRate is not a finite number"),
              std::string::npos)
        << o.text;
}

// Random damage to the bytes the records' fields occupy. Whatever the reader
// accepts must go to JSON and back to the same bytes.
TEST(ProblemSoundness, EveryAcceptedFileConvertsToJsonAndBackByteExactly) {
    const SubstanceData data = SubstanceData::builtIn();
    const Real specials[] = {std::numeric_limits<Real>::infinity(),
                             std::numeric_limits<Real>::quiet_NaN(),
                             std::numeric_limits<Real>::max(),
                             std::numeric_limits<Real>::denorm_min(),
                             -0.0L,
                             1e300L,
                             0.1L,
                             123456.789L};
    std::mt19937 random(14);
    int accepted = 0, refused = 0;
    for (const auto& entry : fs::directory_iterator(std::string(VEXAMO_SOURCE_DIR) + "/examples")) {
        if (entry.path().extension() != ".dat") continue;
        const std::vector<std::uint8_t> original = readBytes(entry.path());
        for (int trial = 0; trial < 150; ++trial) {
            std::vector<std::uint8_t> bytes = original;
            const int changes = 1 + static_cast<int>(random() % 3);
            for (int k = 0; k < changes; ++k) {
                // The header of either stream (before the substance copies),
                // a substance copy, or the design record.
                const unsigned region = random() % 4;
                std::size_t at;
                if (region < 2)
                    at = region * kTechnSetSize + random() % layout::Components;
                else if (region == 2)
                    at = layout::Components + random() % (kTechnSetSize - layout::Components);
                else
                    at = 2 * kTechnSetSize + random() % kDesignRecordSize;
                if (random() % 2 && at + 10 <= bytes.size())
                    putReal(bytes, at, specials[random() % std::size(specials)]);
                else
                    bytes[at] = static_cast<std::uint8_t>(random());
            }
            ProblemData problem;
            try {
                problem = decodeProblem(bytes);
            } catch (const EncodingError&) {
                ++refused;
                continue;
            }
            if (problemDamage(problem, data.SubstanceTable.size(), kEnglish)) {
                ++refused;
                continue;
            }
            ++accepted;
            std::string json;
            try {
                json = pjson::problemToJson(problem, data);
                // Reserved bytes and the tails of short strings are ignored on
                // reading and written as zero: every other byte comes back.
                const std::vector<std::uint8_t> canonical = encodeProblem(problem);
                const std::vector<std::uint8_t> back =
                    encodeProblem(pjson::problemFromJson(json, data));
                const auto differ =
                    std::mismatch(back.begin(), back.end(), canonical.begin()).first - back.begin();
                EXPECT_EQ(differ, static_cast<std::ptrdiff_t>(back.size()))
                    << entry.path().filename() << " trial " << trial << ": byte " << differ << "\n"
                    << json;
            } catch (const std::exception& e) {
                ADD_FAILURE() << entry.path().filename() << " trial " << trial << ": " << e.what()
                              << "\n"
                              << json;
            }
            if (::testing::Test::HasFailure()) return;
        }
    }
    EXPECT_GT(accepted, 300);
    EXPECT_GT(refused, 300);
    std::cout << accepted << " damaged files accepted and converted, " << refused << " refused\n";
}

}  // namespace
}  // namespace vexamo
