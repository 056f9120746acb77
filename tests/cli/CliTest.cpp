#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "support/TempDir.h"

namespace {

namespace fs = std::filesystem;

int run(const std::string& args) {
    const std::string command = std::string(VEXAMO_BINARY) + " " + args + " >/dev/null 2>&1";
    const int status = std::system(command.c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

std::string example(const char* name) { return std::string(VEXAMO_SOURCE_DIR) + "/examples/" + name; }

TEST(Cli, ConvertBothWaysAndRefuseBadInputWithoutOutput) {
    vexamo::test::TempDir dir;
    const std::string dat = (dir / "case.dat").string();
    const std::string json = (dir / "case.json").string();
    EXPECT_EQ(run("convert " + example("ethanol-water-cooler.json") + " " + dat), 0);
    EXPECT_EQ(run("convert " + dat + " " + json), 0);
    EXPECT_EQ(run("show --lang ru " + json), 0);
    EXPECT_EQ(run("convert " + json + " " + dat), 0);
    EXPECT_TRUE(fs::exists(dir / "case.bak"));  // the file replaced is kept

    std::ofstream(dir / "bad.json") << "{\"tube_space\": {\"process\": \"melting\"}}";
    EXPECT_EQ(run("convert " + (dir / "bad.json").string() + " " + (dir / "out.dat").string()), 2);
    EXPECT_FALSE(fs::exists(dir / "out.dat"));
    std::ofstream(dir / "short.dat") << "too short";
    EXPECT_EQ(run("convert " + (dir / "short.dat").string() + " " + (dir / "out.json").string()), 2);
    EXPECT_FALSE(fs::exists(dir / "out.json"));
    EXPECT_EQ(run("convert " + dat + " " + (dir / "out.txt").string()), 2);
    EXPECT_FALSE(fs::exists(dir / "out.txt"));
    EXPECT_EQ(run("convert " + (dir / "absent.dat").string() + " " + json), 2);
    EXPECT_EQ(run("frobnicate"), 2);
}

}  // namespace
