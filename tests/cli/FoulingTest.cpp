// The fouling of each side as a design input, judged by its physics: a
// heavier fouling lowers K and raises the surface a fixed duty needs, K stays
// the two films, the wall and both foulings in series, and the default keeps
// every example's wall resistance to the bit.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>
#include <sstream>

#include "cli/Answers.h"
#include "cli/CliDialogs.h"
#include "cli/ProblemIo.h"
#include "cli/ProblemOverrides.h"
#include "cli/RunCommand.h"
#include "common/Constants.h"
#include "common/Ext80.h"
#include "common/Str20.h"
#include "control/EngineeringSummary.h"
#include "control/RunDriver.h"
#include "problem/RecordCodec.h"
#include "support/TempDir.h"

namespace vexamo::cli {
namespace {

std::string example(const std::string& name) {
    return std::string(VEXAMO_SOURCE_DIR) + "/examples/" + name;
}

std::string readFile(const std::filesystem::path& p) {
    std::ifstream in(p, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

Real relative(Real a, Real b) { return std::fabs(a - b) / std::fabs(b); }

bool sameBits(Real a, Real b) { return encodeExt80(a) == encodeExt80(b); }

// An example run headless with its answers, its JSON problem changed by
// --set fields first.
struct FouledRun {
    Session session;
    AnswerBook answers;
    std::ostringstream log;
    CliDialogs dialogs;
    RunOutcome outcome;
    FouledRun(const std::string& name, const std::vector<std::string>& sets)
        : answers(AnswerBook::fromFile(example("answers/" + name + ".json"))),
          dialogs(session, answers, log, true) {
        session.Problem = applyOverrides(
            loadProblem(example(name + ".json"), session.Data, kEnglish), sets, session.Data);
        session.DataLoaded = 1;
        session.TechnoPending = session.DesignPending = false;
        session.TechnoEntered = session.DesignEntered = false;
        outcome = runCalculation(session, dialogs);
    }
    const RunResults& r() const { return session.Results; }
    const DesignRecord& design() const { return session.Problem.Design; }
};

std::vector<std::string> fouling(const char* tube, const char* shell) {
    return {std::string("design.fouling_m2K_W.tube=") + tube,
            std::string("design.fouling_m2K_W.shell=") + shell};
}

Real steelWall(const DesignRecord& d) {
    const int material = d.MaterialIndex;
    EXPECT_GE(material, 1);
    return (d.OuterDiameter - d.InnerDiameter) * 0.5L /
           kTubeMaterials[static_cast<std::size_t>(material - 1)].conductivity;
}

// Boiling against condensation: the duty is fixed by the given flow and its
// latent heat, so the surface it needs grows with the fouling.
TEST(Fouling, HeavierFoulingLowersKAndRaisesTheRequiredSurface) {
    const std::vector<std::vector<std::string>> steps = {
        fouling("0", "0"), {}, fouling("0.0002", "0.0001"), fouling("0.001", "0.0005")};
    Real lastK = 0, lastSurface = 0, duty = 0;
    for (std::size_t i = 0; i < steps.size(); ++i) {
        SCOPED_TRACE(i);
        FouledRun run("steam-kettle-reboiler", steps[i]);
        ASSERT_EQ(run.outcome, RunOutcome::Results) << run.log.str();
        const RunResults& r = run.r();
        const DesignRecord& d = run.design();
        // the wall resistance the Run used is the wall and both foulings
        EXPECT_TRUE(sameBits(d.WallResistance, steelWall(d) + (d.TubeFouling + d.ShellFouling)));
        EXPECT_LT(relative(1 / r.OverallCoefficient,
                           1 / r.TubeCoefficient + 1 / r.ShellCoefficient + d.WallResistance),
                  1e-6L);
        if (i == 0) {
            duty = r.HeatFlow;
        } else {
            EXPECT_LT(r.OverallCoefficient, lastK);
            EXPECT_GT(r.Surface, lastSurface);
            EXPECT_LT(relative(r.HeatFlow, duty), 1e-12L) << "the duty is the steam's";
        }
        lastK = r.OverallCoefficient;
        lastSurface = r.Surface;
    }
}

// Heating against cooling over the installed surface: a fouled exchanger
// passes less heat, its outlet stays between the inlets.
TEST(Fouling, AFouledHeaterPassesLessHeatOverItsSurface) {
    FouledRun clean("water-water-2pass", fouling("0", "0"));
    FouledRun fouled("water-water-2pass", fouling("0.0005", "0.0003"));
    for (const FouledRun* run : {&clean, &fouled}) {
        ASSERT_EQ(run->outcome, RunOutcome::Results) << run->log.str();
        const RunResults& r = run->r();
        const DesignRecord& d = run->design();
        EXPECT_LT(relative(1 / r.OverallCoefficient,
                           1 / r.TubeCoefficient + 1 / r.ShellCoefficient + d.WallResistance),
                  1e-12L);
        EXPECT_GT(r.OutletTemperature, run->session.Problem.TubeStream.Temperature);
        EXPECT_LT(r.OutletTemperature, run->session.Problem.ShellStream.Temperature);
    }
    EXPECT_TRUE(sameBits(clean.design().WallResistance, steelWall(clean.design())));
    EXPECT_EQ(fouled.design().TubeFouling, 0.0005L);
    EXPECT_EQ(fouled.design().ShellFouling, 0.0003L);
    EXPECT_LT(fouled.r().OverallCoefficient, clean.r().OverallCoefficient);
    EXPECT_LT(fouled.r().HeatFlow, clean.r().HeatFlow);
    EXPECT_LT(fouled.r().OutletTemperature, clean.r().OutletTemperature);
    // the summary splits what it adds to the wall
    const EngineeringSummary e = summarize(fouled.session);
    EXPECT_EQ(e.tubeFouling, 0.0005L);
    EXPECT_EQ(e.shellFouling, 0.0003L);
    const std::string block = summaryBlock(e, kEnglish);
    EXPECT_NE(block.find("fouling tube side 0.0005 + shell side 0.0003)"), std::string::npos)
        << block;
    EXPECT_EQ(block.find("1/5800"), std::string::npos);
}

// Every example, as JSON and as .dat, keeps the allowance it always had:
// the default split, and the wall resistance of the wall plus 1/5800 to the
// last bit of the 80-bit number.
TEST(Fouling, TheExamplesKeepTheDefaultToTheBit) {
    int count = 0;
    Session session;
    for (const auto& entry : std::filesystem::directory_iterator(example(""))) {
        if (entry.path().extension() != ".dat") continue;
        SCOPED_TRACE(entry.path().filename().string());
        const std::string bytes = readFile(entry.path());
        const ProblemData dat = decodeProblem(std::span<const std::uint8_t>(
            reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()));
        std::filesystem::path json = entry.path();
        json.replace_extension(".json");
        const ProblemData readable = loadProblem(json, session.Data, kEnglish);
        for (const DesignRecord* d : {&dat.Design, &readable.Design}) {
            EXPECT_TRUE(hasDefaultFouling(*d));
            EXPECT_TRUE(sameBits(d->WallResistance, steelWall(*d) + kFoulingResistance));
        }
        ++count;
    }
    EXPECT_GT(count, 0);
}

// --set reaches a field the problem leaves out, and the report, the summary
// and the results show the fouling the Run used.
TEST(Fouling, SetOnTheCommandLineReachesTheReportAndTheResults) {
    test::TempDir dir;
    RunOptions o;
    o.problem = example("water-water-2pass.json");
    o.answers = example("answers/water-water-2pass.json");
    o.report = (dir / "report.txt").string();
    o.json = (dir / "results.json").string();
    o.sets = {"design.fouling_m2K_W.tube=0.0002"};
    o.quiet = true;
    std::ostringstream out, err;
    ASSERT_EQ(runRun(o, out, err), 0) << err.str();
    const std::string report = cp1251ToUtf8(readFile(dir / "report.txt"));
    EXPECT_NE(
        report.find("   pipes material - Gen.-purp. steel\r\n"
                    "   fouling resistance in trumpet space:        0.0002 m2*K/W;\r\n"
                    "   fouling resistance in intertrumpet space:   0.000086206897 m2*K/W;\r\n"),
        std::string::npos)
        << report;
    const nlohmann::json j = nlohmann::json::parse(readFile(dir / "results.json"));
    EXPECT_EQ(j["summary"]["fouling_m2K_W"]["tube"].get<double>(), 0.0002);
    EXPECT_NEAR(j["summary"]["fouling_m2K_W"]["shell"].get<double>(), 1 / 11600.0, 1e-18);
    EXPECT_EQ(j["problem"]["design"]["fouling_m2K_W"]["tube"].get<double>(), 0.0002);

    // out of its range: the field is named, the Run does not start
    o.sets = {"design.fouling_m2K_W.shell=-1e-4"};
    std::ostringstream out2, err2;
    EXPECT_EQ(runRun(o, out2, err2), 2);
    EXPECT_NE(err2.str().find("--set design.fouling_m2K_W.shell=-1e-4: "
                              "design.fouling_m2K_W.shell: must not be negative"),
              std::string::npos)
        << err2.str();
    o.sets = {"design.fouling_m2K_W.tube=0.05"};
    std::ostringstream out3, err3;
    EXPECT_EQ(runRun(o, out3, err3), 2);
    EXPECT_NE(err3.str().find("design.fouling_m2K_W.tube: The fouling resistance must not be "
                              "above 0.01 m2*K/W: 0.05"),
              std::string::npos)
        << err3.str();
}

}  // namespace
}  // namespace vexamo::cli
