// Runs of different examples side by side in one process, as a batch does:
// each Run's report is its golden report, byte for byte, however the other
// Runs interleave with it, and a Run that shows numbers with a decimal comma
// does not lend its comma to the others.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "cli/Answers.h"
#include "cli/CliDialogs.h"
#include "cli/ProblemIo.h"
#include "control/RunDriver.h"

namespace vexamo::cli {
namespace {

std::string example(const std::string& name) {
    return std::string(VEXAMO_SOURCE_DIR) + "/examples/" + name;
}

std::string fileText(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// The example run as `vexamo run --quiet` does, its report in the golden
// file's form: the exit status line, then the report's lines.
std::string goldenFormOfRun(const std::string& name, char decimalSeparator) {
    Session session;
    session.DecimalSeparator = decimalSeparator;
    AnswerBook answers = AnswerBook::fromFile(example("answers/" + name + ".json"));
    std::ostringstream log;
    CliDialogs dialogs(session, answers, log, true);
    session.Problem = loadProblem(example(name + ".json"), session.Data, kEnglish);
    session.DataLoaded = 1;
    session.TechnoPending = session.DesignPending = false;
    session.TechnoEntered = session.DesignEntered = false;
    const RunOutcome outcome = runCalculation(session, dialogs);
    return "exit " + std::to_string(outcome == RunOutcome::Results ? 0 : 1) + "\n" +
           session.Report.text("\n") + (session.Report.lineCount() ? "\n" : "");
}

TEST(ConcurrentRuns, EachRunGivesItsOwnGoldenReport) {
    // A heating-cooling pair that iterates its outlet, a condenser of a
    // fitted mixture, and a boiling pair: different code all the way down.
    const std::vector<std::string> names = {"water-water-2pass", "ethanol-water-condenser",
                                            "hot-water-kettle"};
    constexpr int kRounds = 3;
    std::vector<std::vector<std::string>> reports(names.size() + 1);
    std::vector<std::thread> threads;
    for (std::size_t k = 0; k < names.size(); ++k)
        threads.emplace_back([&, k] {
            for (int round = 0; round < kRounds; ++round)
                reports[k].push_back(goldenFormOfRun(names[k], '.'));
        });
    // The first example once more, beside the others, with a decimal comma.
    threads.emplace_back([&] {
        for (int round = 0; round < kRounds; ++round)
            reports.back().push_back(goldenFormOfRun(names[0], ','));
    });
    for (std::thread& t : threads) t.join();

    for (std::size_t k = 0; k < names.size(); ++k) {
        const std::string golden = fileText(example("golden/" + names[k] + ".txt"));
        ASSERT_FALSE(golden.empty()) << names[k];
        for (const std::string& report : reports[k]) EXPECT_EQ(report, golden) << names[k];
    }
    // The comma Run differs from the golden report exactly where a number
    // has a decimal separator, and nowhere else.
    const std::string golden = fileText(example("golden/" + names[0] + ".txt"));
    for (const std::string& report : reports.back()) {
        ASSERT_EQ(report.size(), golden.size());
        int commas = 0;
        for (std::size_t i = 0; i < report.size(); ++i) {
            if (report[i] == golden[i]) continue;
            EXPECT_EQ(report[i], ',') << "at " << i;
            EXPECT_EQ(golden[i], '.') << "at " << i;
            ++commas;
        }
        EXPECT_GT(commas, 20);
    }
}

}  // namespace
}  // namespace vexamo::cli
