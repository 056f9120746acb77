// `vexamo run --set PATH=VALUE` and "-" for standard input and output: a
// changed field moves the results the physical way, the same change made in
// the file gives the same report, every refusal names the --set and the field
// before anything runs, and a converted problem's stored values never undo a
// change.
#include <gtest/gtest.h>

#include <cmath>
#include <nlohmann/json.hpp>
#include <numbers>
#include <sstream>

#include "cli/ProblemIo.h"
#include "cli/ProblemOverrides.h"
#include "cli/RunCommand.h"
#include "common/Errors.h"
#include "problemjson/ProblemJson.h"
#include "support/Files.h"
#include "support/TempDir.h"

namespace vexamo::cli {
namespace {

namespace fs = std::filesystem;

std::string example(const std::string& name) {
    return std::string(VEXAMO_SOURCE_DIR) + "/examples/" + name;
}

const std::string kAnswers = example("answers/water-water-2pass.json");

struct Ran {
    int status = -1;
    std::string out, err;
};

Ran run(RunOptions o) {
    o.answers = o.answers.empty() ? kAnswers : o.answers;
    o.quiet = true;
    std::ostringstream out, err;
    Ran r;
    r.status = runRun(o, out, err);
    r.out = out.str();
    r.err = err.str();
    return r;
}

double relative(double a, double b) { return std::fabs(a - b) / std::fabs(b); }

// The water-water example (40 tubes 25 x 21 mm, one flow, 6 m) heats 40000 kg/h
// from 25 deg C with water entering the shell at 95 deg C.
TEST(Overrides, LongerTubesInstallMoreSurfaceAndBothStreamsStillBalance) {
    test::TempDir dir;
    nlohmann::json results[2];
    const char* lengths[] = {"6", "8"};
    for (int i = 0; i < 2; ++i) {
        RunOptions o;
        o.problem = example("water-water-2pass.json");
        o.sets = {std::string("design.tube_length_m=") + lengths[i]};
        o.json = (dir / ("results" + std::to_string(i) + ".json")).string();
        o.report = (dir / "report.txt").string();
        const Ran r = run(o);
        ASSERT_EQ(r.status, 0) << r.err;
        results[i] = nlohmann::json::parse(test::readText(o.json));
        const auto& s = results[i]["summary"];
        // the surface of the tubes: pi x mean diameter x length x tubes
        const double installed =
            40 * std::numbers::pi * (0.025 + 0.021) / 2 * std::stod(lengths[i]);
        EXPECT_LT(relative(s["installed_surface_m2"].get<double>(), installed), 1e-12);
        // each medium's own duty is the exchanger's duty
        EXPECT_LT(relative(s["tube_space"]["duty_kW"].get<double>(), s["duty_kW"].get<double>()),
                  1e-6);
        EXPECT_LT(relative(s["shell_space"]["duty_kW"].get<double>(), s["duty_kW"].get<double>()),
                  1e-6);
        const double tubeOut = s["tube_space"]["outlet_C"].get<double>();
        EXPECT_GT(tubeOut, 25);
        EXPECT_LT(tubeOut, 95);
    }
    EXPECT_EQ(results[1]["problem"]["design"]["tube_length_m"], 8);
    // more surface passes more heat to the same tube-side flow
    EXPECT_GT(results[1]["summary"]["duty_kW"].get<double>(),
              results[0]["summary"]["duty_kW"].get<double>());
    EXPECT_GT(results[1]["summary"]["tube_space"]["outlet_C"].get<double>(),
              results[0]["summary"]["tube_space"]["outlet_C"].get<double>());
}

// The same change in the file, in either problem format, gives the same
// report byte for byte; several --set apply in order, and a value that is
// not JSON is a text.
TEST(Overrides, TheSameChangeInTheFileGivesTheSameReport) {
    test::TempDir dir;
    std::string problem = test::readText(example("water-water-2pass.json"));
    problem.replace(problem.find("\"tube_length_m\": 6"), 18, "\"tube_length_m\": 8");
    problem.replace(problem.find("\"Gen.-purp. steel\""), 18, "\"Copper\"");
    test::writeText(dir / "changed.json", problem);
    RunOptions file;
    file.problem = (dir / "changed.json").string();
    file.report = (dir / "file.txt").string();
    ASSERT_EQ(run(file).status, 0);

    for (const char* base : {"water-water-2pass.json", "water-water-2pass.dat"}) {
        RunOptions set;
        set.problem = example(base);
        set.sets = {"design.tube_length_m=5", "design.material=Copper", "design.tube_length_m=8"};
        set.report = (dir / "set.txt").string();
        const Ran r = run(set);
        ASSERT_EQ(r.status, 0) << r.err;
        EXPECT_EQ(test::readText(dir / "set.txt"), test::readText(dir / "file.txt")) << base;
    }
}

TEST(Overrides, EveryRefusalExitsTwoNamingTheSetAndTheFieldBeforeTheRun) {
    test::TempDir dir;
    struct Refused {
        const char* set;
        const char* message;
    };
    const Refused cases[] = {
        {"design.tube_lenght_m=4",
         "--set design.tube_lenght_m=4: design.tube_lenght_m: unknown field"},
        {"design.tube_length_m=long",
         "--set design.tube_length_m=long: design.tube_length_m: a number is expected"},
        {"design.tube_count=2.5", "design.tube_count: a whole number is expected"},
        {"tube_space.flow_rate_kg_h=2e8",
         "tube_space.flow_rate_kg_h: The flow rate must not be above 1E8 kg/hour"},
        {"design.inner_diameter_m=0.03", "design.inner_diameter_m: must be smaller than"},
        {"shell_space.temperature_C=20", "The heated medium must enter colder"},
        {"design.material.name=x", "--set design.material.name=x: design.material: has no fields"},
        {"tube_space.components[1]=comp.1", "tube_space.components[1]: beyond the end"},
        {"tube_space.flow_rate_kg_h=null", "give flow_rate_kg_h for exactly one"},
        {"stored.design.Surface=1", "stored: written by the converter only"},
        {"design.tube_length_m", "--set design.tube_length_m: PATH=VALUE is expected"},
    };
    for (const Refused& c : cases) {
        RunOptions o;
        o.problem = example("water-water-2pass.json");
        o.sets = {"design.tube_count=40", c.set};
        o.report = (dir / "report.txt").string();
        o.json = (dir / "results.json").string();
        const Ran r = run(o);
        EXPECT_EQ(r.status, 2) << c.set;
        EXPECT_NE(r.err.find(c.message), std::string::npos) << r.err;
        EXPECT_TRUE(r.out.empty());
        EXPECT_FALSE(fs::exists(o.report)) << c.set;
        EXPECT_FALSE(fs::exists(o.json)) << c.set;
    }
}

// A converted problem keeps in "stored" what its readable fields do not
// give; a change of a readable field takes out what that field determines,
// keeps the rest, and is checked as a hand-written file's field would be.
TEST(Overrides, AStoredValueNeverUndoesAChange) {
    const SubstanceData data = SubstanceData::builtIn();
    ProblemData problem = loadProblem(example("water-water-2pass.json"), data, kEnglish);
    problem.Design.WallResistance = 0.001L;  // no steel wall gives it
    problem.Design.Surface = 1;              // nor do the tubes
    ASSERT_NE(pjson::problemToJson(problem, data).find("\"stored\""), std::string::npos);

    const ProblemData copper = applyOverrides(problem, {"design.material=Copper"}, data);
    const TubeMaterial& metal = kTubeMaterials[2];
    EXPECT_GT(metal.conductivity, 350);  // copper: about 390 W/(m K)
    EXPECT_LT(metal.conductivity, 410);
    EXPECT_EQ(copper.Design.WallResistance, wallResistance(0.025L, 0.021L, metal.conductivity));
    EXPECT_EQ(copper.Design.Surface, 1);  // not determined by the material: kept

    const ProblemData longer = applyOverrides(problem, {"design.tube_length_m=8"}, data);
    EXPECT_EQ(longer.Design.TubeLength, 8);
    EXPECT_EQ(longer.Design.Surface, heatExchangeSurface(1, 40, 0.025L, 0.021L, 8));
    EXPECT_EQ(longer.Design.WallResistance, 0.001L);

    try {
        applyOverrides(problem, {"design.tube_length_m=-8"}, data);
        ADD_FAILURE();
    } catch (const InputError& e) {
        EXPECT_NE(std::string(e.what()).find("design.tube_length_m: must be positive"),
                  std::string::npos)
            << e.what();
    }
}

// "-" through the program itself: the problem or the answers from standard
// input (never both), the results JSON on standard output with the report
// on standard error.
TEST(Overrides, StandardInputAndOutputThroughTheProgram) {
    test::TempDir dir;
    const std::string vexamo = VEXAMO_BINARY;
    const std::string problem = example("water-water-2pass.json");
    const test::Outcome byFile =
        test::runCommand(vexamo + " run " + problem + " --quiet --answers " + kAnswers);
    ASSERT_EQ(byFile.status, 0) << byFile.text;

    const test::Outcome problemIn =
        test::runCommand(vexamo + " run - --quiet --answers " + kAnswers + " < " + problem);
    EXPECT_EQ(problemIn.status, 0);
    EXPECT_EQ(problemIn.text, byFile.text);
    const test::Outcome answersIn =
        test::runCommand(vexamo + " run " + problem + " --quiet --answers - < " + kAnswers);
    EXPECT_EQ(answersIn.status, 0);
    EXPECT_EQ(answersIn.text, byFile.text);

    const std::string err = (dir / "err.txt").string();
    const test::Outcome json = test::runCommand("( " + vexamo + " run - --answers " + kAnswers +
                                                " --json - --set design.tube_length_m=8 < " +
                                                problem + " 2> " + err + " )");
    ASSERT_EQ(json.status, 0);
    const nlohmann::json results = nlohmann::json::parse(json.text);
    EXPECT_EQ(results["outcome"], "results");
    EXPECT_EQ(results["problem"]["design"]["tube_length_m"], 8);
    const std::string report = test::readText(err);
    EXPECT_NE(report.find("length of pipes:                            8 m;"), std::string::npos)
        << report;

    const test::Outcome both = test::runCommand(vexamo + " run - --answers - < " + problem);
    EXPECT_EQ(both.status, 2);
    EXPECT_NE(both.text.find("cannot both be read from standard input"), std::string::npos);
}

}  // namespace
}  // namespace vexamo::cli
