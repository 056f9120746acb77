#include <gtest/gtest.h>

#include <fstream>
#include <nlohmann/json.hpp>
#include <regex>
#include <sstream>

#include "cli/Answers.h"
#include "cli/CliDialogs.h"
#include "cli/ProblemIo.h"
#include "cli/RunCommand.h"
#include "common/Str20.h"
#include "support/TempDir.h"

namespace vexamo::cli {
namespace {

std::string example(const char* name) {
    return std::string(VEXAMO_SOURCE_DIR) + "/examples/" + name;
}
std::string readFile(const std::filesystem::path& p);
nlohmann::json readJson(const std::filesystem::path& p) {
    return nlohmann::json::parse(readFile(p));
}
std::string readFile(const std::filesystem::path& p) {
    std::ifstream in(p, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

TEST(Answers, ListsDefaultsPendingValuesAndWrongTypes) {
    Session session;
    AnswerBook book = AnswerBook::fromText(
        R"({"run.save_problem": [false, true], "iteration.initial_approximation": 42.5,
            "equilibrium.method": "nrtl", "design.conductivity": "lots", "stream.air_content": "Default"})",
        "test");
    std::ostringstream log;
    CliDialogs dialogs(session, book, log, false);

    EXPECT_FALSE(dialogs.confirm({"run.save_problem", "save?", false}));
    EXPECT_TRUE(dialogs.confirm({"run.save_problem", "save?", false}));
    EXPECT_TRUE(dialogs.confirm({"run.save_problem", "save?", false}));  // the last one repeats
    EXPECT_TRUE(dialogs.confirm({"run.load_problem", "?", true}));       // the default
    EXPECT_NE(log.str().find("run.load_problem: ? -> yes (default)"), std::string::npos)
        << log.str();

    // a number answers the question and the input that follows it
    EXPECT_TRUE(dialogs.confirm({"iteration.initial_approximation", "set it?", false}));
    InputRequest input;
    input.id = "iteration.initial_approximation";
    input.errorPrefix = "Erroneous record of number: ";
    const InputAnswer a = dialogs.ask(input);
    EXPECT_EQ(a.real, 42.5L);

    MethodRequest method;
    method.id = "equilibrium.method";
    EXPECT_EQ(dialogs.ask(method).index, 1);

    InputRequest conductivity;
    conductivity.id = "design.conductivity";
    conductivity.errorPrefix = "Error of number entry ";
    try {
        dialogs.ask(conductivity);
        ADD_FAILURE();
    } catch (const AnswerError& e) {
        EXPECT_NE(std::string(e.what()).find("design.conductivity"), std::string::npos);
        EXPECT_NE(std::string(e.what()).find("Error of number entry lots"), std::string::npos);
    }
    InputRequest air;
    air.id = "stream.air_content";
    air.errorPrefix = "Error of number entry ";
    EXPECT_TRUE(dialogs.ask(air).isDefault);
    InputRequest radius;
    radius.id = "tube_loss.bend_radius";  // no answer and no default
    EXPECT_THROW(dialogs.ask(radius), AnswerError);

    AlternRequest choice;
    choice.id = "iteration.out_of_interval";
    choice.alternatives = {"to check up the initial data", "to correct a constant"};
    choice.keywords = {"menu", ""};
    choice.numberSelects = 1;
    EXPECT_EQ(dialogs.ask(choice).index, 0);  // default: the menu
    AlternRequest three;
    three.id = "equilibrium.data_absent";
    three.alternatives = {"a", "b", "c"};
    three.defaultIndex = 2;
    EXPECT_EQ(dialogs.ask(three).index, 2);

    const pjson::Json recorded = book.recorded();
    EXPECT_EQ(recorded["run.save_problem"].size(), 3u);
    EXPECT_EQ(recorded["equilibrium.method"], pjson::Json("nrtl"));
    EXPECT_THROW(AnswerBook::fromText("[1, 2]", "x"), InputError);
    EXPECT_THROW(AnswerBook::fromText("{\"a\": []}", "x"), InputError);
}

// A Run that ends in an error writes the results heading, the line that
// there are no results and the reason, in the report and in the results JSON.
TEST(RunCommand, AFailedRunSaysWhyInTheReportAndTheResults) {
    test::TempDir dir;
    std::string problem = readFile(example("water-water-2pass.json"));
    problem.replace(problem.find("\"tube_passes\": 2"), 16, "\"tube_passes\": 3");
    std::ofstream(dir / "odd.json") << problem;
    for (LanguageFlagType language : {kEnglish, kRussian}) {
        RunOptions o;
        o.problem = (dir / "odd.json").string();
        o.answers = example("answers/water-water-2pass.json");
        o.report = (dir / "report.txt").string();
        o.json = (dir / "results.json").string();
        o.language = language;
        o.quiet = true;
        std::ostringstream out, err;
        EXPECT_EQ(runRun(o, out, err), 1) << err.str();
        const std::string report = cp1251ToUtf8(readFile(dir / "report.txt"));
        const std::string why =
            language == kEnglish
                ? "  The calculation ended without results (the initial data are to be "
                  "checked).\r\n"
                  "  Reason: The heating-cooling calculation needs an even number of tube passes"
                : "  Расчет закончен без результатов (исходные данные следует проверить).\r\n"
                  "  Причина: ";
        EXPECT_NE(report.find(why), std::string::npos) << report;
        EXPECT_NE(readFile(dir / "results.json").find("\"reason\": \""), std::string::npos);
    }
}

// A headless answer the Run refuses cannot be corrected by anyone: given
// again to the same question it ends the Run at once (exit 2) naming the id,
// instead of a thousand refusals; --quiet never hides the error.
TEST(RunCommand, ARefusedAnswerGivenAgainEndsTheRunAtOnce) {
    test::TempDir dir;
    std::ofstream(dir / "answers.json") << R"({"stream.concentrations": [120]})";
    RunOptions o;
    o.problem = example("ethanol-water-cooler.json");
    o.answers = (dir / "answers.json").string();
    o.quiet = true;
    std::ostringstream out, err;
    EXPECT_EQ(runRun(o, out, err), 2);
    EXPECT_NE(err.str().find("error: The sum of concentration of components is more than 100%"),
              std::string::npos)
        << err.str();
    EXPECT_NE(err.str().find("answer \"stream.concentrations\": refused: The sum of concentration"),
              std::string::npos)
        << err.str();
    EXPECT_LT(err.str().size(), 400u) << err.str();

    // A corrected second answer is taken: the list gives one per asking.
    std::ofstream(dir / "answers.json")
        << R"({"stream.concentrations": [[120], [40]], "run.save_problem": false})";
    std::ostringstream out2, err2;
    EXPECT_EQ(runRun(o, out2, err2), 0) << err2.str();
}

// An answer refused after the thermal results costs only the part that
// asked for it: the pressure loss is reported as not computed with the
// reason, the results stay, and the input error still gives exit 2.
TEST(RunCommand, ALateRefusedAnswerKeepsTheThermalResults) {
    test::TempDir dir;
    std::ofstream(dir / "answers.json")
        << R"({"equilibrium.method": "Wilson", "stream.concentrations": [60],
        "run.save_problem": false, "iteration.initial_approximation": "no", "shell_loss.head_type": "x"})";
    RunOptions o;
    o.problem = example("ethanol-water-condenser.json");
    o.answers = (dir / "answers.json").string();
    o.report = (dir / "report.txt").string();
    o.json = (dir / "results.json").string();
    o.quiet = true;
    std::ostringstream out, err;
    EXPECT_EQ(runRun(o, out, err), 2);
    EXPECT_NE(err.str().find("error: answer \"shell_loss.head_type\": 1, 2, 3 or 4 is expected"),
              std::string::npos)
        << err.str();
    const std::string report = cp1251ToUtf8(readFile(dir / "report.txt"));
    EXPECT_NE(
        report.find("  Losses of pressure in intertrumpet space:             not computed: answer "
                    "\"shell_loss.head_type\""),
        std::string::npos)
        << report;
    EXPECT_NE(report.find("  Surface of heat exchange:"), std::string::npos);
    const nlohmann::json j = readJson(dir / "results.json");
    EXPECT_EQ(j["outcome"], "results");
    EXPECT_FALSE(j["summary"]["shell_space"].contains("pressure_loss_kPa"));
}

// Fitted UNIFAC pairs share one table of group parameters. In a ternary the
// report names the parameters a later pair overwrote, and puts each fitted
// pair's equimolar bubble point in its own model beside the mixture's: the
// own model reproduces the measured data (ethanol-water at x = 0.5 and
// 1 atm: 80.0 degC, methanol-water 73.1 degC, interpolated in the built-in
// sets), the mixture model is where the drift shows.
TEST(RunCommand, UnifacPairsOverwrittenInAMixtureAreReported) {
    test::TempDir dir;
    nlohmann::json p = readJson(example("ethanol-water-condenser.json"));
    p["tube_space"]["components"] = {"comp.1", "comp.2", "comp.3"};
    p["tube_space"]["concentrations_mass_pct"] = {40, 40, 20};
    std::ofstream(dir / "problem.json") << p.dump();
    std::ofstream(dir / "answers.json")
        << R"({"equilibrium.method": "UNIFAC", "stream.concentrations": [[40, 40]],
        "run.save_problem": false, "iteration.initial_approximation": "no", "shell_loss.head_type": 2,
        "shell_loss.holes": "stamped", "shell_loss.sealing_strips": 2})";
    RunOptions o;
    o.problem = (dir / "problem.json").string();
    o.answers = (dir / "answers.json").string();
    o.quiet = true;
    std::ostringstream out, err;
    ASSERT_EQ(runRun(o, out, err), 0) << err.str();
    const std::string report = out.str();
    EXPECT_NE(report.find("The pairs share one table of group parameters"), std::string::npos)
        << report;
    auto bubblePoints = [&](const std::string& pair, const std::string& refitted) {
        const std::regex line("pair " + pair + ": " + refitted +
                              "[^\n]*own model ([0-9.]+), mixture model ([0-9.]+) degr.C");
        std::smatch m;
        EXPECT_TRUE(std::regex_search(report, m, line)) << pair << "\n" << report;
        return m.size() == 3 ? std::pair{std::stod(m[1]), std::stod(m[2])} : std::pair{0.0, 0.0};
    };
    // ethanol-water: its group parameters a[1,5] taken over by the pair
    // without data (from the references), a[5,6] by methanol-water
    const auto ethanolWater = bubblePoints(
        "comp.1-comp.2", "refitted a\\[1,5\\] by comp.1-comp.3;.*a\\[5,6\\] by comp.3-comp.2");
    EXPECT_NEAR(ethanolWater.first, 80.0, 0.5);
    EXPECT_GT(std::fabs(ethanolWater.second - ethanolWater.first), 1.0);
    const auto methanolWater =
        bubblePoints("comp.3-comp.2", "its parameters stand in the mixture model");
    EXPECT_NEAR(methanolWater.first, 73.1, 0.5);
    EXPECT_EQ(methanolWater.first, methanolWater.second);
    // A binary has nothing to share.
    std::ostringstream out2, err2;
    RunOptions binary = o;
    binary.problem = example("ethanol-water-condenser.json");
    std::ofstream(dir / "answers.json")
        << R"({"equilibrium.method": "UNIFAC", "stream.concentrations": [60],
        "run.save_problem": false, "iteration.initial_approximation": "no", "shell_loss.head_type": 2,
        "shell_loss.holes": "stamped", "shell_loss.sealing_strips": 2})";
    ASSERT_EQ(runRun(binary, out2, err2), 0) << err2.str();
    EXPECT_EQ(out2.str().find("share one table"), std::string::npos);
}

// The heating-cooling pair's intermediate boxes are logged only on request.
TEST(RunCommand, IterationDiagnosticsOnlyWhenVerbose) {
    for (bool verbose : {false, true}) {
        RunOptions o;
        o.problem = example("water-water-2pass.json");
        o.answers = example("answers/water-water-2pass.json");
        o.verbose = verbose;
        std::ostringstream out, err;
        EXPECT_EQ(runRun(o, out, err), 0) << err.str();
        EXPECT_EQ(err.str().find("Art[1] = ") != std::string::npos, verbose) << err.str();
        EXPECT_EQ(err.str().find("deltaT =") != std::string::npos, verbose) << err.str();
        EXPECT_NE(err.str().find("iteration.initial_approximation"),
                  std::string::npos);  // questions still logged
    }
}

// What a Run takes from outside its data is said after the results and in
// the results JSON; far outside it ends the Run with the reason.
TEST(RunCommand, DataOutsideTheirRangeAreWarnedOrRefused) {
    test::TempDir dir;
    auto changed = [](const char* name, auto&& change) {
        nlohmann::json p = nlohmann::json::parse(readFile(example(name)));
        change(p);
        return p.dump();
    };
    // The condenser with pure ethyl acetate at a higher flow, and the water
    // cooler with a hotter inlet.
    auto ethylAcetate = [&](double pressure) {
        return changed("ethanol-water-condenser.json", [&](nlohmann::json& p) {
            p["tube_space"]["components"] = {"comp.4"};
            p["tube_space"].erase("concentrations_mass_pct");
            p["tube_space"]["flow_rate_kg_h"] = 12000;
            p["tube_space"]["pressure_kgf_cm2"] = pressure;
        });
    };
    auto hotWater = [&](double inlet) {
        return changed("water-water-2pass.json",
                       [&](nlohmann::json& p) { p["shell_space"]["temperature_C"] = inlet; });
    };
    std::ofstream(dir / "answers.json")
        << R"({"run.save_problem": false, "iteration.initial_approximation": "no",
        "shell_loss.head_type": 2, "shell_loss.holes": "stamped", "shell_loss.sealing_strips": 2})";
    struct Run {
        std::string problem, answers;
        int status;
        const char* report;
        const char* json;
    };
    const std::vector<Run> runs{
        // 5 kgf/cm2: 135.4 degC from an equation fitted up to 111.85 degC
        {ethylAcetate(5), (dir / "answers.json").string(), 0,
         "   Warning: comp.4: saturation temperature (Antoine equation) at 135.38 °C, 23.53 K "
         "above",
         "\"data\": \"Antoine\""},
        // 15 kgf/cm2: 191.8 degC, 80 K beyond it
        {ethylAcetate(15), (dir / "answers.json").string(), 1, nullptr,
         "\"reason\": \"The saturation temperature of comp.4 from its Antoine equation is 191.79 "
         "degr.C, far"},
        // water entering at 215 degC: 15 K beyond the table, results with the warning
        {hotWater(215), example("answers/water-water-2pass.json"), 0,
         "   Warning: comp.2: properties at 215 °C, 15 K above the range of its data (0 to 200 °C)",
         "\"outside_by\": 15"},
        // at 235 degC its properties would be those of 200 degC: no results
        {hotWater(235), example("answers/water-water-2pass.json"), 1,
         "  Reason: The shell-space medium comp.2 at 235.00 degr.C is far outside its property "
         "tables (0 to 200",
         "\"outcome\": \"aborted\""},
    };
    for (const Run& run : runs) {
        std::ofstream(dir / "problem.json") << run.problem;
        RunOptions o;
        o.problem = (dir / "problem.json").string();
        o.answers = run.answers;
        o.report = (dir / "report.txt").string();
        o.json = (dir / "results.json").string();
        o.quiet = true;
        std::ostringstream out, err;
        EXPECT_EQ(runRun(o, out, err), run.status) << err.str();
        const std::string report = cp1251ToUtf8(readFile(dir / "report.txt"));
        if (run.report) {
            EXPECT_NE(report.find(run.report), std::string::npos) << report;
        }
        if (run.status == 0) {  // the warnings come after the results
            EXPECT_LT(report.find("  Surface of heat exchange:"),
                      report.find("DATA USED OUTSIDE THEIR RANGE"));
        }
        const std::string results = readFile(dir / "results.json");
        EXPECT_NE(results.find(run.json), std::string::npos) << results;
    }
}

TEST(RunCommand, ExampleRunsAndWritesEverything) {
    test::TempDir dir;
    RunOptions o;
    o.problem = example("ethanol-water-cooler.json");
    o.report = (dir / "report.txt").string();
    o.json = (dir / "results.json").string();
    o.record = (dir / "answers.json").string();
    o.plot = (dir / "profile.png").string();
    o.language = kRussian;
    std::ostringstream out, err;
    EXPECT_EQ(runRun(o, out, err), 0) << err.str();
    const std::string report = cp1251ToUtf8(readFile(dir / "report.txt"));
    EXPECT_NE(report.find("ИСХОДНЫЕ ДАННЫЕ\r\n"), std::string::npos);
    EXPECT_NE(
        report.find(std::string("   матеpиал стенок тpуб - ") + kTubeMaterials[4].russian + "\r\n"),
        std::string::npos);
    EXPECT_NE(report.find("Повеpхность теплообмена:"), std::string::npos);
    const std::string results = readFile(dir / "results.json");
    EXPECT_NE(results.find("\"outcome\": \"results\""), std::string::npos) << results;
    EXPECT_NE(results.find("\"converged\": true"), std::string::npos);
    EXPECT_NE(results.find("\"profile\""), std::string::npos);
    // The results name their program, their units and the problem they
    // belong to, and carry the summary of the report.
    const nlohmann::json j = nlohmann::json::parse(results);
    EXPECT_EQ(j["program"]["name"], "Vexamo");
    EXPECT_FALSE(j["program"]["version"].get<std::string>().empty());
    EXPECT_EQ(j["units"]["_kW"], "kW");
    EXPECT_EQ(j["problem"]["design"]["tube_count"],
              readJson(example("ethanol-water-cooler.json"))["design"]["tube_count"]);
    const nlohmann::json& summary = j["summary"];
    EXPECT_EQ(summary["shell_space"]["outlet_C"], 40);
    EXPECT_TRUE(summary["shell_space"]["outlet_fixed"]);
    EXPECT_NEAR(summary["tube_space"]["duty_kW"].get<double>(), summary["duty_kW"].get<double>(),
                1e-6);
    EXPECT_NEAR(summary["duty_kW"].get<double>(), j["heat_flow_W"].get<double>() / 1000, 1e-9);
    EXPECT_GT(summary["lmtd_counter_current_K"].get<double>(),
              summary["mean_temperature_difference_K"].get<double>());
    EXPECT_EQ(report.find("ENGINEERING SUMMARY"), std::string::npos);  // the report is Russian here
    EXPECT_NE(report.find("ИНЖЕНЕРНАЯ СВОДКА"), std::string::npos);
    EXPECT_NE(readFile(dir / "answers.json").find("\"run.save_problem\": false"),
              std::string::npos);
    EXPECT_TRUE(std::filesystem::file_size(dir / "profile.png") > 1000);

    // stdout, English, quiet: nothing on stderr
    RunOptions plain;
    plain.problem = example("water-water-2pass.json");
    plain.quiet = true;
    std::ostringstream out2, err2;
    EXPECT_EQ(runRun(plain, out2, err2), 0);
    EXPECT_EQ(err2.str(), "");
    EXPECT_NE(out2.str().find("   Number of pipes:                               40\n"),
              std::string::npos);

    // a bad answers file or problem: exit 2
    std::ofstream(dir / "bad.json") << "{\"run.save_problem\": \"perhaps\"}";
    plain.problem = example("ethanol-water-cooler.json");
    plain.answers = (dir / "bad.json").string();
    std::ostringstream out3, err3;
    EXPECT_EQ(runRun(plain, out3, err3), 2);
    EXPECT_NE(err3.str().find("run.save_problem"), std::string::npos);
    plain.answers.clear();
    plain.problem = (dir / "absent.json").string();
    EXPECT_EQ(runRun(plain, out3, err3), 2);
}

}  // namespace
}  // namespace vexamo::cli
