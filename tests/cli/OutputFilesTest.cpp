// What the command line does to files already under the names of its
// outputs: backups that never share a name, odd paths refused before
// anything is calculated or moved, results beyond any exchanger refused.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <regex>

#include "support/Files.h"
#include "support/TempDir.h"

namespace {

namespace fs = std::filesystem;
using vexamo::test::listing;
using vexamo::test::Outcome;
using vexamo::test::readText;
using vexamo::test::writeText;

// Runs the program with a time limit, so a FIFO that blocks it fails the
// test instead of hanging it.
Outcome vexamo(const std::string& args) {
    return vexamo::test::runCommand("timeout 60 " + std::string(VEXAMO_BINARY) + " " + args);
}

std::string example(const std::string& name) {
    return std::string(VEXAMO_SOURCE_DIR) + "/examples/" + name;
}
const std::string kRun = "run " + example("water-water-2pass.json") + " --quiet --answers " +
                         example("answers/water-water-2pass.json");

std::string q(const fs::path& p) { return "'" + p.string() + "'"; }

TEST(OutputFiles, OutputsOfOneStemKeepEveryPreviousFile) {
    const vexamo::test::TempDir dir;
    writeText(dir / "out.txt", "old report");
    writeText(dir / "out.json", "old results");
    writeText(dir / "out.rec", "old record");
    const Outcome o = vexamo(kRun + " --report " + q(dir / "out.txt") + " --json " +
                             q(dir / "out.json") + " --record " + q(dir / "out.rec"));
    ASSERT_EQ(o.status, 0) << o.text;
    EXPECT_EQ(readText(dir / "out.bak"), "old report");  // the system's own name
    EXPECT_EQ(readText(dir / "out.json.bak"), "old results");
    EXPECT_EQ(readText(dir / "out.rec.bak"), "old record");
    EXPECT_NE(readText(dir / "out.txt").find("\r\n"), std::string::npos);
    EXPECT_EQ(listing(dir.path()).size(), 6u);  // no temporary file left behind
}

// Folders, FIFOs, devices and links to them under the name of an output: the
// command refuses (exit 2) before it calculates, and nothing is moved.
TEST(OutputFiles, OddPathsAreRefusedAndLeftAlone) {
    const vexamo::test::TempDir dir;
    fs::create_directory(dir / "folder.png");
    ASSERT_EQ(::mkfifo((dir / "fifo.png").c_str(), 0600), 0);
    fs::create_symlink(dir / "folder.png", dir / "link.png");
    std::vector<std::string> odd = {"folder.png", "fifo.png", "link.png"};
    // A device node of our own (as root), never the system's /dev/null.
    if (::geteuid() == 0 && ::mknod((dir / "null.png").c_str(), S_IFCHR | 0666, makedev(1, 3)) == 0)
        odd.push_back("null.png");
    const std::vector<std::string> before = listing(dir.path());

    for (const std::string& name : odd) {
        const std::string path = q(dir / name);
        for (const char* option : {"--report", "--json", "--record", "--plot"}) {
            const Outcome o = vexamo(kRun + " " + option + " " + path);
            EXPECT_EQ(o.status, 2) << option << " " << name << ": " << o.text;
            EXPECT_NE(o.text.find("not a regular file"), std::string::npos) << o.text;
            EXPECT_EQ(o.text.find("Number of iteration"), std::string::npos)
                << "calculated: " << o.text;
        }
        const Outcome vle =
            vexamo("vle --mix \"comp.1=50,comp.2=50\" --pressure 1 --quiet --plot " + path);
        EXPECT_EQ(vle.status, 2) << name << ": " << vle.text;
        EXPECT_NE(vle.text.find("not a regular file"), std::string::npos) << vle.text;
    }
    // convert: the same kinds of things under a problem file's name
    fs::create_directory(dir / "folder.dat");
    ASSERT_EQ(::mkfifo((dir / "fifo.json").c_str(), 0600), 0);
    fs::create_symlink(dir / "folder.dat", dir / "link.dat");
    for (const char* name : {"folder.dat", "fifo.json", "link.dat"}) {
        const Outcome o =
            vexamo("convert " + example("water-water-2pass.json") + " " + q(dir / name));
        EXPECT_EQ(o.status, 2) << name << ": " << o.text;
        EXPECT_NE(o.text.find("not a regular file"), std::string::npos) << o.text;
    }
    EXPECT_TRUE(fs::is_directory(dir / "folder.png"));
    EXPECT_TRUE(fs::is_fifo(dir / "fifo.png"));
    EXPECT_TRUE(fs::is_symlink(dir / "link.png"));
    EXPECT_TRUE(fs::is_directory(dir / "folder.dat"));
    EXPECT_TRUE(fs::is_fifo(dir / "fifo.json"));
    if (odd.size() == 4) {
        EXPECT_TRUE(fs::is_character_file(dir / "null.png"));
    }
    for (const std::string& name : listing(dir.path()))
        EXPECT_EQ(name.find(".bak"), std::string::npos) << name << " was moved";
    EXPECT_EQ(listing(dir.path()).size(), before.size() + 3);
}

// An output named like an input, or refused for its extension, is refused
// before anything is moved: the problem file stays where it is.
TEST(OutputFiles, AnOutputIsCheckedBeforeAnythingIsMoved) {
    const vexamo::test::TempDir dir;
    fs::copy_file(example("water-water-2pass.json"), dir / "p.json");
    writeText(dir / "x.bmp", "a picture");
    const std::string original = readText(dir / "p.json");
    const std::string run = "run " + q(dir / "p.json") + " --quiet --answers " +
                            example("answers/water-water-2pass.json");
    for (const std::string& args :
         {" --plot " + q(dir / "p.json"), " --json " + q(dir / "p.json"),
          " --plot " + q(dir / "x.bmp"), " --record " + q(dir / "." / "p.json")}) {
        const Outcome o = vexamo(run + args);
        EXPECT_EQ(o.status, 2) << args << ": " << o.text;
    }
    const Outcome same = vexamo("convert " + q(dir / "p.json") + " " + q(dir / "p.json"));
    EXPECT_EQ(same.status, 2) << same.text;
    EXPECT_NE(same.text.find("the same file as IN"), std::string::npos) << same.text;
    const Outcome vle =
        vexamo("vle --mix \"comp.1=50,comp.2=50\" --pressure 1 --quiet --plot " + q(dir / "x.bmp"));
    EXPECT_EQ(vle.status, 2) << vle.text;
    EXPECT_EQ(readText(dir / "p.json"), original);
    EXPECT_EQ(readText(dir / "x.bmp"), "a picture");
    EXPECT_EQ(listing(dir.path()), (std::vector<std::string>{"p.json", "x.bmp"}));
}

// Design data far outside any exchanger end the Run with the result named,
// never with INF, NAN or a number like 3.77E4002 in the report.
TEST(OutputFiles, ResultsBeyondAnyExchangerEndTheRun) {
    const vexamo::test::TempDir dir;
    const std::string source = readText(example("water-water-2pass.json"));
    struct Case {
        const char* from;
        const char* to;
        int status;  // 1: the Run ends; 2: the problem is refused as it is read
    };
    for (const Case& c :
         {Case{"\"outer_diameter_m\": 0.025", "\"outer_diameter_m\": 1e4000", 1},
          Case{"\"outer_diameter_m\": 0.025", "\"outer_diameter_m\": 1e300", 1},
          Case{"\"tube_length_m\": 6", "\"tube_length_m\": 1e300", 1},
          // the surface this length implies is already beyond the largest number
          Case{"\"tube_length_m\": 6", "\"tube_length_m\": 1.18973149535723176502e4932", 2}}) {
        std::string problem = source;
        problem.replace(problem.find(c.from), std::string(c.from).size(), c.to);
        writeText(dir / "big.json", problem);
        fs::remove(dir / "r.json");
        const Outcome o =
            vexamo("run " + q(dir / "big.json") + " --answers " +
                   example("answers/water-water-2pass.json") + " --json " + q(dir / "r.json"));
        EXPECT_EQ(o.status, c.status) << c.to << ": " << o.text;
        const std::string results = readText(dir / "r.json");
        for (const std::string& text : {o.text, results}) {
            EXPECT_EQ(text.find("INF"), std::string::npos) << c.to << ": " << text;
            EXPECT_EQ(text.find("NAN"), std::string::npos) << c.to << ": " << text;
            EXPECT_FALSE(std::regex_search(
                text, std::regex("(Surface|coefficient|thermal stream).*E[0-9]{3,}")))
                << c.to << ": " << text;
        }
        if (c.status == 1)
            EXPECT_NE(results.find("\"outcome\": \"no_results\""), std::string::npos) << results;
        else
            EXPECT_NE(o.text.find("design: Surface is not a finite number"), std::string::npos)
                << o.text;
    }
}

}  // namespace
