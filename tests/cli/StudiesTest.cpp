// `vexamo batch` and `vexamo sweep`: many Runs in one process give each
// problem the results its own `vexamo run` gives, a case that fails says why
// and decides the exit status, and a grid moves the results the physical way.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <nlohmann/json.hpp>
#include <sstream>

#include "cli/RunCommand.h"
#include "cli/StudyCommands.h"
#include "cli/StudyTable.h"
#include "common/Errors.h"
#include "problemjson/JsonText.h"
#include "support/Files.h"
#include "support/TempDir.h"

namespace vexamo::cli {
namespace {

namespace fs = std::filesystem;

std::string example(const std::string& name) {
    return std::string(VEXAMO_SOURCE_DIR) + "/examples/" + name;
}

const std::vector<std::string> kExamples = {
    "ethanol-water-condenser",     "ethanol-water-cooler",  "hot-water-kettle",
    "hot-water-reboiler",          "methanol-water-cooler", "steam-kettle-reboiler",
    "steam-thermosiphon-reboiler", "steam-water-heater",    "water-water-2pass"};

// CSV text as rows of fields (no field of these tests holds a quote or a
// line break, which csvField is tested for on its own).
std::vector<std::vector<std::string>> csvRows(const std::string& text) {
    std::vector<std::vector<std::string>> rows;
    std::istringstream in(text);
    std::string line;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        std::vector<std::string> fields;
        std::string field;
        bool quoted = false;
        for (char c : line) {
            if (c == '"')
                quoted = !quoted;
            else if (c == ',' && !quoted) {
                fields.push_back(field);
                field.clear();
            } else
                field += c;
        }
        fields.push_back(field);
        rows.push_back(fields);
    }
    return rows;
}

std::size_t column(const std::vector<std::string>& header, const std::string& name) {
    for (std::size_t i = 0; i < header.size(); ++i)
        if (header[i] == name) return i;
    ADD_FAILURE() << "no column " << name;
    return 0;
}

TEST(SweepGrid, RangesListsAndRefusals) {
    EXPECT_EQ(parseSweepAxis("design.tube_length_m=2:6:1").values,
              (std::vector<std::string>{"2", "3", "4", "5", "6"}));
    // The end is reached although 0.1 + 2 x 0.1 is not 0.3 in binary, and the
    // values carry no binary tail.
    EXPECT_EQ(parseSweepAxis("x=0.1:0.3:0.1").values,
              (std::vector<std::string>{"0.1", "0.2", "0.3"}));
    // A TO off the grid is not passed.
    EXPECT_EQ(parseSweepAxis("x=0:1:0.4").values, (std::vector<std::string>{"0", "0.4", "0.8"}));
    EXPECT_EQ(parseSweepAxis("x=5:5:1").values, (std::vector<std::string>{"5"}));
    const SweepAxis list = parseSweepAxis("tube_space.components=[\"comp.2\"],[\"comp.1\"]");
    EXPECT_EQ(list.path, "tube_space.components");
    EXPECT_EQ(list.values.size(), 2u);
    EXPECT_EQ(parseSweepAxis("design.material=Copper").values,
              (std::vector<std::string>{"Copper"}));

    for (const char* bad : {"design.tube_length_m", "=1:2:1", "x=", "x=1:2", "x=1:2:3:4", "x=a:2:1",
                            "x=1:2:0", "x=1:2:-1", "x=3:2:1", "x=1,,2", "x=0:1e9:1", "x=1:inf:1"}) {
        try {
            parseSweepAxis(bad);
            ADD_FAILURE() << bad << " accepted";
        } catch (const InputError& e) {
            EXPECT_NE(std::string(e.what()).find("--vary"), std::string::npos) << e.what();
        }
    }
}

TEST(SweepGrid, FirstFieldVariesSlowestAndTheGridIsBounded) {
    const std::vector<StudyCase> cases =
        sweepCases("p.json", {"design.tube_count=30"},
                   {parseSweepAxis("a=1:2:1"), parseSweepAxis("b=x,y,z")}, "ans.json");
    ASSERT_EQ(cases.size(), 6u);
    EXPECT_EQ(cases[0].sets, (std::vector<std::string>{"design.tube_count=30", "a=1", "b=x"}));
    EXPECT_EQ(cases[2].sets, (std::vector<std::string>{"design.tube_count=30", "a=1", "b=z"}));
    EXPECT_EQ(cases[3].sets, (std::vector<std::string>{"design.tube_count=30", "a=2", "b=x"}));
    EXPECT_EQ(cases[5].answersFile, "ans.json");
    EXPECT_EQ(cases[5].name, "p #6");

    EXPECT_THROW(sweepCases("p.json", {}, {parseSweepAxis("a=1,2"), parseSweepAxis("a=3,4")}, ""),
                 InputError);
    const SweepAxis big = parseSweepAxis("a=1:1000:1");
    EXPECT_THROW(sweepCases("p.json", {}, {big, big, parseSweepAxis("b=1,2")}, ""), InputError);
}

TEST(StudyCsv, FieldsThatNeedQuotesAreQuoted) {
    EXPECT_EQ(csvField("plain text"), "plain text");
    EXPECT_EQ(csvField("a,b"), "\"a,b\"");
    EXPECT_EQ(csvField("say \"no\""), "\"say \"\"no\"\"\"");
    EXPECT_EQ(csvField("two\nlines"), "\"two\nlines\"");
}

// Every example in one batch on two threads: each row holds exactly what
// the example's own `vexamo run` reports, and only the fields that differ
// between the examples are shown as inputs.
TEST(Batch, EveryExampleGivesTheResultsOfItsOwnRun) {
    test::TempDir dir;
    BatchOptions b;
    for (const std::string& name : kExamples) b.problems.push_back(example(name + ".json"));
    b.answersDir = example("answers");
    b.output.jobs = 2;
    b.output.quiet = true;
    b.output.json = (dir / "rows.json").string();
    b.output.csv = (dir / "rows.csv").string();
    std::ostringstream out, err;
    ASSERT_EQ(runBatch(b, out, err), 0) << err.str();
    EXPECT_TRUE(out.str().empty());

    const nlohmann::json rows = nlohmann::json::parse(test::readText(dir / "rows.json"));
    ASSERT_EQ(rows["rows"].size(), kExamples.size());
    const std::vector<std::string> inputs = rows["inputs"];
    EXPECT_NE(std::find(inputs.begin(), inputs.end(), "tube_space.process"), inputs.end());
    EXPECT_EQ(std::find(inputs.begin(), inputs.end(), "design.parallel_flows"), inputs.end())
        << "every example has one flow";

    for (std::size_t i = 0; i < kExamples.size(); ++i) {
        const nlohmann::json& row = rows["rows"][i];
        SCOPED_TRACE(kExamples[i]);
        ASSERT_EQ(row["outcome"], "results");
        RunOptions o;
        o.problem = example(kExamples[i] + ".json");
        o.answers = example("answers/" + kExamples[i] + ".json");
        o.json = (dir / (kExamples[i] + ".json")).string();
        o.report = (dir / (kExamples[i] + ".txt")).string();
        o.quiet = true;
        std::ostringstream o1, e1;
        ASSERT_EQ(runRun(o, o1, e1), 0);
        const nlohmann::json single = nlohmann::json::parse(test::readText(o.json));
        const nlohmann::json& s = single["summary"];
        EXPECT_EQ(row["duty_kW"], s["duty_kW"]);
        EXPECT_EQ(row["overall_coefficient_W_m2K"], single["overall_coefficient_W_m2K"]);
        EXPECT_EQ(row["required_surface_m2"], s["required_surface_m2"]);
        EXPECT_EQ(row["tube_outlet_C"], s["tube_space"]["outlet_C"]);
        EXPECT_EQ(row["shell_outlet_C"], s["shell_space"]["outlet_C"]);
        EXPECT_EQ(row["shell_flow_kg_h"], s["shell_space"]["flow_rate_kg_h"]);
        if (s["shell_space"].contains("pressure_loss_kPa")) {
            EXPECT_EQ(row["shell_pressure_loss_kPa"], s["shell_space"]["pressure_loss_kPa"]);
        }
        EXPECT_EQ(row["warnings"].size(), single["warnings"].size());
    }

    const auto csv = csvRows(test::readText(dir / "rows.csv"));
    ASSERT_EQ(csv.size(), kExamples.size() + 1);
    EXPECT_EQ(csv[0][0], "name");
    EXPECT_EQ(csv[0].size(), 1 + inputs.size() + studyResultColumns().size());
    for (const auto& line : csv) EXPECT_EQ(line.size(), csv[0].size());
}

// A problem that cannot be read, one without results and one with: every
// row is there, the failing ones with their reason, and the exit status is
// the worst of them.
TEST(Batch, AFailingCaseSaysWhyAndDecidesTheExitStatus) {
    test::TempDir dir;
    // Shell water entering at 30 degC cannot leave at the pair's fixed 40.
    std::string cold = test::readText(example("water-water-2pass.json"));
    cold.replace(cold.find("\"temperature_C\": 95"), 19, "\"temperature_C\": 30");
    test::writeText(dir / "cold.json", cold);
    test::writeText(dir / "broken.json", "{\"tube_space\": ");

    BatchOptions b;
    b.problems = {example("water-water-2pass.json"), (dir / "cold.json").string()};
    b.answers = example("answers/water-water-2pass.json");
    b.output.quiet = true;
    b.output.csv = "-";
    std::ostringstream out, err;
    EXPECT_EQ(runBatch(b, out, err), 1);
    auto csv = csvRows(out.str());
    ASSERT_EQ(csv.size(), 3u);
    const std::size_t outcome = column(csv[0], "outcome"), reason = column(csv[0], "reason"),
                      duty = column(csv[0], "duty_kW");
    EXPECT_EQ(csv[1][outcome], "results");
    EXPECT_FALSE(csv[1][duty].empty());
    EXPECT_EQ(csv[2][outcome], "no_results");
    EXPECT_NE(csv[2][reason].find("outlet temperature"), std::string::npos) << csv[2][reason];
    EXPECT_TRUE(csv[2][duty].empty());
    // The one field that differs is the shell inlet.
    EXPECT_EQ(csv[0][1], "shell_space.temperature_C");

    b.problems.push_back((dir / "broken.json").string());
    b.problems.push_back((dir / "absent.json").string());
    b.output.quiet = false;
    std::ostringstream out2, err2;
    EXPECT_EQ(runBatch(b, out2, err2), 2);
    csv = csvRows(out2.str());
    ASSERT_EQ(csv.size(), 5u);
    EXPECT_EQ(csv[3][outcome], "input_error");
    EXPECT_NE(csv[3][reason].find("broken.json"), std::string::npos) << csv[3][reason];
    EXPECT_NE(csv[4][reason].find("absent.json"), std::string::npos) << csv[4][reason];
    EXPECT_NE(err2.str().find("4 Runs"), std::string::npos) << err2.str();
    EXPECT_NE(err2.str().find("1 with results, 3 without"), std::string::npos) << err2.str();

    // Outputs are checked before any Run.
    BatchOptions refused = b;
    refused.output.csv = (dir / "rows.txt").string() + "/";
    std::ostringstream out3, err3;
    EXPECT_EQ(runBatch(refused, out3, err3), 2);
    EXPECT_NE(err3.str().find("--csv"), std::string::npos) << err3.str();
    BatchOptions noDir = b;
    noDir.answers.clear();
    noDir.answersDir = (dir / "nowhere").string();
    std::ostringstream out4, err4;
    EXPECT_EQ(runBatch(noDir, out4, err4), 2);
    EXPECT_NE(err4.str().find("--answers-dir"), std::string::npos) << err4.str();
}

// The water-water example over tube length and flow: longer tubes install
// more surface and transfer more heat at every flow; the shell water's
// outlet always lies between the inlets, and the heat the tube water takes
// up is what the shell water gives.
TEST(Sweep, LongerTubesTransferMoreHeatAtEveryFlow) {
    SweepOptions s;
    s.problem = example("water-water-2pass.json");
    s.answers = example("answers/water-water-2pass.json");
    s.vary = {"design.tube_length_m=2:6:2", "tube_space.flow_rate_kg_h=20000:60000:20000"};
    s.output.quiet = true;
    s.output.json = "-";
    std::ostringstream out, err;
    ASSERT_EQ(runSweep(s, out, err), 0) << err.str();
    const nlohmann::json j = nlohmann::json::parse(out.str());
    ASSERT_EQ(j["rows"].size(), 9u);
    EXPECT_EQ(j["inputs"], nlohmann::json({"design.tube_length_m", "tube_space.flow_rate_kg_h"}));
    const auto value = [&](std::size_t i, const char* key) {
        return pjson::realFromJson(pjson::parseJson(j["rows"][i][key].dump()));
    };
    for (std::size_t i = 0; i < 9; ++i) {
        SCOPED_TRACE(i);
        ASSERT_EQ(j["rows"][i]["outcome"], "results");
        EXPECT_GT(value(i, "shell_outlet_C"), value(i, "tube_inlet_C"));
        EXPECT_LT(value(i, "shell_outlet_C"), value(i, "shell_inlet_C"));
        EXPECT_LT(value(i, "tube_outlet_C"), value(i, "shell_inlet_C"));
        // Water at about 40 degC: cp 4.18 kJ/(kg K) within 1 %.
        const Real tubeDuty = value(i, "tube_flow_kg_h") / 3600 * 4.18L *
                              (value(i, "tube_outlet_C") - value(i, "tube_inlet_C"));
        EXPECT_NEAR(tubeDuty / value(i, "duty_kW"), 1, 0.01);
        const Real shellDuty = value(i, "shell_flow_kg_h") / 3600 * 4.19L *
                               (value(i, "shell_inlet_C") - value(i, "shell_outlet_C"));
        EXPECT_NEAR(shellDuty / value(i, "duty_kW"), 1, 0.01);
        if (i >= 3) {
            EXPECT_GT(value(i, "duty_kW"), value(i - 3, "duty_kW"));
            EXPECT_GT(value(i, "installed_surface_m2"), value(i - 3, "installed_surface_m2"));
        }
    }
    EXPECT_EQ(j["rows"][4]["inputs"]["design.tube_length_m"], "4");
    EXPECT_EQ(j["rows"][4]["inputs"]["tube_space.flow_rate_kg_h"], "40000");
}

// The plot: one panel per result asked for, made after the Runs; a first
// field that is not a number cannot be plotted, and says so before any Run.
TEST(Sweep, PlotsTheResultsAgainstTheFirstField) {
    test::TempDir dir;
    SweepOptions s;
    s.problem = example("water-water-2pass.json");
    s.answers = example("answers/water-water-2pass.json");
    s.vary = {"design.tube_length_m=4,6", "tube_space.flow_rate_kg_h=20000,40000"};
    s.y = {"duty", "over_surface"};
    s.plot = (dir / "sweep.svg").string();
    s.output.quiet = true;
    s.output.csv = (dir / "sweep.csv").string();
    std::ostringstream out, err;
    ASSERT_EQ(runSweep(s, out, err), 0) << err.str();
    const std::string svg = test::readText(dir / "sweep.svg");
    EXPECT_NE(svg.find("duty against design: tube length"), std::string::npos);
    EXPECT_NE(svg.find("over-surface, %"), std::string::npos);
    EXPECT_NE(svg.find("tube space: flow rate = 40000 kg/h"), std::string::npos);

    s.vary = {"design.material=Copper,Brass", "design.tube_length_m=4,6"};
    s.plot = (dir / "material.png").string();
    std::ostringstream out2, err2;
    EXPECT_EQ(runSweep(s, out2, err2), 2);
    EXPECT_NE(err2.str().find("design.material"), std::string::npos) << err2.str();
    EXPECT_FALSE(fs::exists(dir / "material.png"));
}

// The example of the documentation gives the CSV kept beside it (numbers to
// ten digits; the last one may differ between processors' libraries).
TEST(Sweep, TheExampleGivesItsExpectedCsv) {
    SweepOptions s;
    s.problem = example("water-water-2pass.json");
    s.answers = example("answers/water-water-2pass.json");
    s.vary = {"design.tube_length_m=2:6:1", "tube_space.flow_rate_kg_h=20000:60000:20000"};
    s.output.quiet = true;
    s.output.csv = "-";
    std::ostringstream out, err;
    ASSERT_EQ(runSweep(s, out, err), 0) << err.str();
    const auto got = csvRows(out.str());
    const auto expected = csvRows(test::readText(example("sweeps/water-water-length-flow.csv")));
    ASSERT_EQ(got.size(), expected.size());
    for (std::size_t r = 0; r < got.size(); ++r) {
        ASSERT_EQ(got[r].size(), expected[r].size());
        for (std::size_t c = 0; c < got[r].size(); ++c) {
            char* end = nullptr;
            const double e = std::strtod(expected[r][c].c_str(), &end);
            if (r > 0 && c > 0 && !expected[r][c].empty() && *end == '\0')
                EXPECT_NEAR(std::stod(got[r][c]), e, std::fabs(e) * 1e-9)
                    << got[0][c] << " of row " << r;
            else
                EXPECT_EQ(got[r][c], expected[r][c]) << got[0][c] << " of row " << r;
        }
    }
}

// Through the program: the options as typed, the exit statuses.
TEST(StudyCommands, ThroughTheProgram) {
    test::TempDir dir;
    const std::string vexamo = VEXAMO_BINARY;
    const std::string problem = example("water-water-2pass.json");
    const std::string answers = " --answers " + example("answers/water-water-2pass.json");
    test::Outcome r = test::runCommand(vexamo + " sweep " + problem + answers +
                                       " --vary design.tube_length_m=3,6 --jobs 2 --quiet");
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(csvRows(r.text).size(), 3u) << r.text;
    EXPECT_EQ(r.text.rfind("name,design.tube_length_m,outcome,reason,duty_kW,", 0), 0u) << r.text;

    r = test::runCommand(vexamo + " batch " + problem + " " + example("hot-water-kettle.json") +
                         " --answers-dir " + example("answers") + " --json " +
                         (dir / "b.json").string());
    EXPECT_EQ(r.status, 0) << r.text;
    EXPECT_NE(r.text.find("2 Runs"), std::string::npos) << r.text;
    EXPECT_EQ(r.text.find("name,"), std::string::npos) << "the rows went to the file";
    EXPECT_TRUE(fs::exists(dir / "b.json"));

    r = test::runCommand(vexamo + " sweep " + problem +
                         " --vary design.tube_length_m=2:6:1 --y duty,heat");
    EXPECT_EQ(r.status, 2);
    EXPECT_NE(r.text.find("--y heat"), std::string::npos) << r.text;
    r = test::runCommand(vexamo + " sweep " + problem + " --vary design.no_such_field=1,2 --quiet");
    EXPECT_EQ(r.status, 2);
    EXPECT_NE(r.text.find("no_such_field"), std::string::npos) << r.text;
    r = test::runCommand(vexamo + " batch " + problem + answers + " --answers-dir " +
                         example("answers"));
    EXPECT_EQ(r.status, 2);
    r = test::runCommand(vexamo + " batch " + problem + " --jobs 0");
    EXPECT_EQ(r.status, 2);
}

}  // namespace
}  // namespace vexamo::cli
