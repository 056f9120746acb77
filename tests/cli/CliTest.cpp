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

std::string example(const char* name) {
    return std::string(VEXAMO_SOURCE_DIR) + "/examples/" + name;
}

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
    EXPECT_EQ(run("convert " + (dir / "short.dat").string() + " " + (dir / "out.json").string()),
              2);
    EXPECT_FALSE(fs::exists(dir / "out.json"));
    EXPECT_EQ(run("convert " + dat + " " + (dir / "out.txt").string()), 2);
    EXPECT_FALSE(fs::exists(dir / "out.txt"));
    EXPECT_EQ(run("convert " + (dir / "absent.dat").string() + " " + json), 2);
    EXPECT_EQ(run("frobnicate"), 2);
}

}  // namespace

namespace {

// What a program prints (stdout and stderr), and its exit status.
std::string outputOf(const std::string& program, const std::string& args, int* status = nullptr) {
    const std::string command = program + " " + args + " 2>&1";
    std::string text;
    if (FILE* pipe = popen(command.c_str(), "r")) {
        char buffer[4096];
        std::size_t n;
        while ((n = fread(buffer, 1, sizeof buffer, pipe)) > 0) text.append(buffer, n);
        const int code = pclose(pipe);
        if (status) *status = WIFEXITED(code) ? WEXITSTATUS(code) : -1;
    }
    return text;
}

std::string output(const std::string& args) { return outputOf(VEXAMO_BINARY, args); }

// What the system's names stand for, with the ranges of their data.
TEST(Cli, SubstancesSaysWhatEachBuiltInRecordIs) {
    const std::string table = output("substances");
    EXPECT_NE(table.find("4   comp.4   ethyl acetate  C4H8O2   141-78-6"), std::string::npos)
        << table;
    EXPECT_NE(table.find("-13.15 .. 111.85"), std::string::npos)
        << table;  // Antoine range of ethyl acetate
    EXPECT_NE(table.find("0 .. 188"), std::string::npos) << table;  // water's vapour-pressure table
    EXPECT_NE(output("substances --lang ru").find("комп.2   вода"), std::string::npos);
    const std::string json = output("substances --json");
    EXPECT_NE(json.find("\"cas\": \"64-17-5\""), std::string::npos) << json;
    EXPECT_NE(json.find("\"property_table_C\": [-20, 200]"), std::string::npos) << json;
    EXPECT_EQ(run("substances --lang de"), 2);
    // show names them beside the system names
    const std::string shown =
        output("show " + std::string(VEXAMO_SOURCE_DIR) + "/examples/ethanol-water-cooler.json");
    EXPECT_NE(shown.find("comp.1   40.00 % of mass  ethanol (C2H6O, CAS 64-17-5)"),
              std::string::npos)
        << shown;
}

TEST(Cli, PropsOfSubstancesAndMixtures) {
    const std::string water = output("props comp.2 20");
    EXPECT_NE(water.find("density                           998.161 kg/m3"), std::string::npos)
        << water;
    EXPECT_NE(output("props комп.2 20 --lang ru").find("плотность"), std::string::npos);
    const std::string mix = output("props comp.1 50 --mix \"comp.1=40,comp.2=60\" --json");
    EXPECT_NE(mix.find("\"density_kg_m3\""), std::string::npos) << mix;
    EXPECT_EQ(mix.find("vapour_enthalpy"), std::string::npos);  // not a mixture property
    // outside the tables: answered, with a warning that names the table
    const std::string hot = output("props comp.3 250");
    EXPECT_NE(hot.find("properties at 250 °C, 50 K above the range of its data (-20 to 200 °C); "
                       "the value at 200 °C is used"),
              std::string::npos)
        << hot;
    EXPECT_NE(output("props comp.1 20 --mix \"comp.1=40,comp.2=50\"").find("add up to 90"),
              std::string::npos);

    EXPECT_EQ(run("props benzene 20"), 2);
    // the chemical's name in either language, or its CAS number, names the record
    EXPECT_EQ(output("props water 20"), water);
    EXPECT_EQ(output("props 7732-18-5 20"), water);
    EXPECT_EQ(output("props Water 20"), water);
    EXPECT_NE(output("props \"ethyl acetate\" 20 --mix \"ethanol=40,этилацетат=60\"")
                  .find("mixture comp.1 40 % comp.4 60 %"),
              std::string::npos);
    EXPECT_EQ(run("props C2H6O 20"), 2);  // a formula is not a name
    EXPECT_EQ(run("props comp.2 warm"), 2);
    EXPECT_EQ(run("props comp.2 -300"), 2);
    EXPECT_EQ(run("props comp.3 20 --mix \"comp.1=40,comp.2=60\""), 2);
    EXPECT_EQ(run("props comp.1 20 --mix \"comp.1=40,comp.1=60\""), 2);
    EXPECT_EQ(run("props comp.1 20 --mix \"comp.1=140\""), 2);
    EXPECT_EQ(run("props comp.1 20 --mix \"comp.1\""), 2);
}

}  // namespace

namespace {

// The headless program starts without the desktop or the drawing library;
// each is looked for beside it only when asked for, and its absence is said.
TEST(Cli, HeadlessWithoutTheDesktopOrTheDrawingLibrary) {
    EXPECT_EQ(output("--version").rfind("vexamo ", 0), 0u) << output("--version");
    EXPECT_EQ(run("--version"), 0);

    vexamo::test::TempDir dir;
    const fs::path alone = dir / "vexamo";
    fs::copy_file(VEXAMO_BINARY, alone);
    auto runAlone = [&](const std::string& args) {
        int status = -1;
        std::string text = outputOf(alone.string(), args, &status);
        return text + "\nstatus " + std::to_string(status);
    };
    const std::string desktop = runAlone("");
    EXPECT_NE(desktop.find("the desktop program " + (dir / "vexamo-desktop").string() +
                           " cannot be started"),
              std::string::npos)
        << desktop;
    EXPECT_NE(desktop.find("status 1"), std::string::npos);
    // Everything but the picture: the report is written, the plot says why not.
    const std::string plotted = runAlone("run " + example("water-water-2pass.json") +
                                         " --answers " + example("answers/water-water-2pass.json") +
                                         " --quiet --plot " + (dir / "p.png").string());
    EXPECT_NE(plotted.find("ENGINEERING SUMMARY"), std::string::npos);
    EXPECT_NE(plotted.find("the drawing library libvexamo-plot.so cannot be loaded"),
              std::string::npos)
        << plotted;
    EXPECT_NE(plotted.find("status 1"), std::string::npos);
    EXPECT_FALSE(fs::exists(dir / "p.png"));
}

}  // namespace
