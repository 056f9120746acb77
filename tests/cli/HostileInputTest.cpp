// Input made to break the readers: deep nesting, huge files, answers that
// must replay as they were given.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>

#include "cli/Answers.h"
#include "cli/CliDialogs.h"
#include "cli/ProblemIo.h"
#include "cli/RunCommand.h"
#include "problemjson/JsonText.h"
#include "problemjson/ProblemJson.h"
#include "support/TempDir.h"

namespace vexamo::cli {
namespace {

namespace fs = std::filesystem;

std::string nested(std::size_t depth, const std::string& inner = "") {
    return std::string(depth, '[') + inner + std::string(depth, ']');
}

std::string readFile(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

void expectRefusal(const std::function<void()>& read, const std::string& wanted) {
    try {
        read();
        ADD_FAILURE() << "accepted; expected a refusal with " << wanted;
    } catch (const std::exception& e) {
        EXPECT_NE(std::string(e.what()).find(wanted), std::string::npos) << e.what();
    }
}

TEST(HostileInput, DeepNestingIsRefusedWhileParsingByEveryReader) {
    EXPECT_NO_THROW(pjson::parseJson(nested(64)));
    EXPECT_THROW(pjson::parseJson(nested(65)), pjson::JsonTextError);
    EXPECT_THROW(pjson::parseJson("{\"a\": " + nested(64) + "}"), pjson::JsonTextError);

    // 100 000 levels crashed the readers (the copies of the value recurse).
    const std::string deep = nested(100000);
    expectRefusal(
        [&] { AnswerBook::fromText("{\"run.save_problem\": " + deep + "}", "deep.json"); },
        "deep.json: not valid JSON: arrays and objects nest deeper than 64 levels");
    const SubstanceData data = SubstanceData::builtIn();
    expectRefusal([&] { pjson::problemFromJson(deep, data); }, "nest deeper than 64 levels");
    expectRefusal([&] { pjson::problemFromJson("{\"tube_space\": {\"x\": " + deep + "}}", data); },
                  "nest deeper than 64 levels");

    test::TempDir dir;
    std::ofstream(dir / "deep.json") << deep;
    expectRefusal([&] { loadProblem(dir / "deep.json", data, kEnglish); },
                  (dir / "deep.json").string() + ": not valid JSON");
    expectRefusal([&] { AnswerBook::fromFile(dir / "deep.json"); }, (dir / "deep.json").string());
}

TEST(HostileInput, FilesLongerThanTheLimitAreRefusedWithTheirName) {
    test::TempDir dir;
    const fs::path big = dir / "big.json";
    std::ofstream(big) << "{}";
    fs::resize_file(big, pjson::kMaxJsonFileBytes + 1);  // sparse: cheap to make
    const SubstanceData data = SubstanceData::builtIn();
    expectRefusal([&] { loadProblem(big, data, kEnglish); },
                  big.string() + ": longer than 16777216 bytes");
    expectRefusal([&] { AnswerBook::fromFile(big); }, big.string() + ": longer than");
    // At the limit the file is read (and then judged by its content).
    std::ofstream(dir / "small.txt") << "12345";
    EXPECT_EQ(readInputText(dir / "small.txt", 5), "12345");
    EXPECT_THROW(readInputText(dir / "small.txt", 4), InputError);
}

TEST(HostileInput, RecordOfARefusedWideAndDeepAnswerStaysLinearAndFailsAgain) {
    test::TempDir dir;
    std::string wide = "[";
    for (int i = 0; i < 20000; ++i) wide += i ? ",[]" : "[]";
    wide += "]";
    const std::string answers = "{\"run.save_problem\": " + nested(61, wide) + "}";
    std::ofstream(dir / "wide.json") << answers;

    RunOptions o;
    o.problem = std::string(VEXAMO_SOURCE_DIR) + "/examples/water-water-2pass.json";
    o.answers = (dir / "wide.json").string();
    o.record = (dir / "record.json").string();
    o.quiet = true;
    std::ostringstream out, err;
    EXPECT_EQ(runRun(o, out, err), 2) << err.str();
    // Every line of the old pretty form was indented by its depth: 60 KB grew to 200 MB.
    EXPECT_LT(fs::file_size(dir / "record.json"), 2 * answers.size());

    RunOptions replay = o;
    replay.answers = o.record;
    replay.record.clear();
    std::ostringstream out2, err2;
    EXPECT_EQ(runRun(replay, out2, err2), 2);
    EXPECT_EQ(out2.str(), out.str());
}

// Answers asked through the port, recorded, read back and asked again.
struct Replay {
    Session session;
    AnswerBook first, second;
    std::ostringstream log;

    explicit Replay(const std::string& answers) : first(AnswerBook::fromText(answers, "answers")) {}
    AnswerBook& replayed() {
        second = AnswerBook::fromText(first.recordText(), "record");
        return second;
    }
};

GridRequest table(const char* id, int values) {
    GridRequest grid;
    grid.id = id;
    grid.columns = values + 1;
    grid.rows = 3;
    grid.fixedRows = 2;
    grid.cells.assign(static_cast<std::size_t>(values + 1), std::vector<std::string>(3));
    for (int c = 1; c <= values; ++c)
        grid.cells[static_cast<std::size_t>(c)][0] = "  comp." + std::to_string(c);
    grid.integerColumns.assign(static_cast<std::size_t>(values + 1), false);
    grid.nonNegative = std::string(id) == "stream.concentrations";
    return grid;
}

std::vector<Real> values(const GridAnswer& a, int n) {
    std::vector<Real> v;
    for (int c = 1; c <= n; ++c) v.push_back(a.reals.at(static_cast<std::size_t>(c)).at(2));
    return v;
}

TEST(HostileInput, RecordedAnswersReplayToTheSameAnswers) {
    // Multi-value tables: three components, then the parameters of two pairs.
    Replay r(R"({"stream.concentrations": [[30, 20], [10.5, 0]],
                 "equilibrium.parameters": [[1.25, -0.5], [2, 3]],
                 "iteration.initial_approximation": [55.5, "no"]})");
    auto askAll = [&](AnswerBook& book) {
        CliDialogs d(r.session, book, r.log, true);
        std::vector<std::vector<Real>> got;
        got.push_back(values(d.ask(table("stream.concentrations", 2)), 2));
        got.push_back(values(d.ask(table("stream.concentrations", 2)), 2));
        got.push_back(values(d.ask(table("equilibrium.parameters", 2)), 2));
        got.push_back(values(d.ask(table("equilibrium.parameters", 2)), 2));
        // A number is Yes and then the value of the input under the same id;
        // recorded a second time for the input, it made the next asking Yes.
        got.push_back({d.confirm({"iteration.initial_approximation", "?", false}) ? 1.0L : 0.0L});
        InputRequest input;
        input.id = "iteration.initial_approximation";
        got.push_back({d.ask(input).real});
        got.push_back({d.confirm({"iteration.initial_approximation", "?", false}) ? 1.0L : 0.0L});
        return got;
    };
    const auto original = askAll(r.first);
    EXPECT_EQ(original[0], (std::vector<Real>{30, 20}));
    EXPECT_EQ(original[3], (std::vector<Real>{2, 3}));
    EXPECT_EQ(original[6], std::vector<Real>{0});
    EXPECT_EQ(askAll(r.replayed()), original) << r.first.recordText();
    EXPECT_EQ(r.first.recordText(), r.second.recordText());

    // One three-component table alone: written inside a list, not as two askings.
    Replay single(R"({"stream.concentrations": [[30, 20]]})");
    CliDialogs d1(single.session, single.first, single.log, true);
    d1.ask(table("stream.concentrations", 2));
    EXPECT_EQ(single.first.recordText(), "{\n  \"stream.concentrations\": [[30, 20]]\n}\n");
    CliDialogs d2(single.session, single.replayed(), single.log, true);
    EXPECT_EQ(values(d2.ask(table("stream.concentrations", 2)), 2), (std::vector<Real>{30, 20}));
}

TEST(HostileInput, AListWhereANumberBelongsFailsOnReplayToo) {
    Replay r(R"({"design.conductivity": [[55]]})");
    InputRequest input;
    input.id = "design.conductivity";
    CliDialogs d1(r.session, r.first, r.log, true);
    EXPECT_THROW(d1.ask(input), AnswerError);
    CliDialogs d2(r.session, r.replayed(), r.log, true);
    EXPECT_THROW(d2.ask(input), AnswerError) << r.first.recordText();
}

TEST(HostileInput, NegativeConcentrationsAreRefusedNamingTheComponent) {
    Replay r(R"({"stream.concentrations": [[-10, 50]], "equilibrium.parameters": [[-1.5, 2]]})");
    CliDialogs d(r.session, r.first, r.log, true);
    expectRefusal([&] { d.ask(table("stream.concentrations", 2)); },
                  "answer \"stream.concentrations\": The value must not be negative: -10 (comp.1)");
    // Tables of other values keep their negative numbers.
    EXPECT_EQ(values(d.ask(table("equilibrium.parameters", 2)), 2), (std::vector<Real>{-1.5L, 2}));

    // End to end: a mixture example answered with a negative per cent.
    test::TempDir dir;
    std::ofstream(dir / "answers.json") << R"({"stream.concentrations": [-10]})";
    RunOptions o;
    o.problem = std::string(VEXAMO_SOURCE_DIR) + "/examples/ethanol-water-cooler.json";
    o.answers = (dir / "answers.json").string();
    o.quiet = true;
    std::ostringstream out, err;
    EXPECT_EQ(runRun(o, out, err), 2);
    EXPECT_NE(err.str().find("must not be negative: -10"), std::string::npos) << err.str();
}

TEST(HostileInput, AThreeComponentRunReplaysFromItsRecord) {
    test::TempDir dir;
    std::string problem =
        readFile(std::string(VEXAMO_SOURCE_DIR) + "/examples/ethanol-water-cooler.json");
    const auto replace = [&](const std::string& from, const std::string& to) {
        const auto at = problem.find(from);
        ASSERT_NE(at, std::string::npos) << from;
        problem.replace(at, from.size(), to);
    };
    replace("[\"comp.1\", \"comp.2\"]", "[\"comp.1\", \"comp.2\", \"comp.3\"]");
    replace("[40, 60]", "[30, 20, 50]");
    std::ofstream(dir / "three.json") << problem;
    std::ofstream(dir / "answers.json")
        << R"({"stream.concentrations": [[30, 20]], "run.save_problem": false})";

    RunOptions o;
    o.problem = (dir / "three.json").string();
    o.answers = (dir / "answers.json").string();
    o.record = (dir / "record.json").string();
    o.quiet = true;
    std::ostringstream out, err;
    ASSERT_EQ(runRun(o, out, err), 0) << err.str();
    RunOptions replay = o;
    replay.answers = o.record;
    replay.record = (dir / "record2.json").string();
    std::ostringstream out2, err2;
    EXPECT_EQ(runRun(replay, out2, err2), 0) << err2.str() << readFile(dir / "record.json");
    EXPECT_EQ(out2.str(), out.str());
    EXPECT_EQ(readFile(dir / "record2.json"), readFile(dir / "record.json"));
}

}  // namespace
}  // namespace vexamo::cli
