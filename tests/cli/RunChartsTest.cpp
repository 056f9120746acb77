// The charts of `run --plot`, from the examples run headless: the profile
// ends where the report says the streams leave, every curve is named, and a
// pair with a condensing or boiling medium gets its temperature-duty diagram.
#include <gtest/gtest.h>

#include <cmath>
#include <set>
#include <sstream>

#include "ExampleRun.h"
#include "cli/Answers.h"
#include "cli/CliDialogs.h"
#include "cli/PlotFiles.h"
#include "cli/ProblemIo.h"
#include "control/EngineeringSummary.h"
#include "control/RunDriver.h"
#include "graph/ProfileChart.h"

namespace vexamo::cli {
namespace {

using test::example;
using test::ExampleRun;

class ExampleCharts : public ::testing::TestWithParam<const char*> {};

TEST_P(ExampleCharts, EndAtTheReportedTemperaturesAndNameEveryCurve) {
    ExampleRun run(GetParam(), kEnglish);
    ASSERT_EQ(run.outcome, RunOutcome::Results) << run.log.str();
    ASSERT_FALSE(run.dialogs.graphs().empty());
    const RunResults& r = run.session.Results;
    const EngineeringSummary summary = summarize(run.session);
    // The summary's outlets are the results' own.
    ASSERT_TRUE(r.hasOutlet || (summary.tube.phaseChange && summary.shell.phaseChange));
    if (r.hasOutlet) {
        EXPECT_EQ((r.outletSide == 1 ? summary.tube : summary.shell).outlet_C, r.OutletTemperature);
    }

    const std::vector<Chart> charts = runPictureCharts(run.session, run.dialogs.graphs().back());
    const Chart& profile = charts.at(0);
    EXPECT_EQ(profile.title.find("differ"), std::string::npos) << profile.title;
    EXPECT_NE(profile.xAxis.find(", m"), std::string::npos);
    EXPECT_NE(profile.yAxis.find("°C"), std::string::npos);
    ASSERT_GE(profile.curves.size(), 2u);
    std::set<std::string> labels;
    for (const ChartCurve& c : profile.curves) {
        labels.insert(c.label);
        ASSERT_EQ(c.x.size(), c.y.size());
        EXPECT_EQ(c.x.front(), 0);
        EXPECT_EQ(c.x.back(), run.session.Problem.Design.TubeLength);
    }
    EXPECT_EQ(labels.size(), profile.curves.size()) << "two curves of one name";
    EXPECT_NE(profile.curves[0].label.find("shell space"), std::string::npos);
    const std::size_t passes = profile.curves.size() - 1;
    const ChartCurve& shell = profile.curves[0];
    EXPECT_EQ(shell.y.front(), summary.shell.inlet_C);
    EXPECT_EQ(shell.y.back(), summary.shell.outlet_C);
    EXPECT_EQ(shell.dashed, summary.shell.phaseChange);
    EXPECT_EQ(profile.curves[1].y.front(), summary.tube.inlet_C);
    // An even pass count brings the tube medium back to the end it entered.
    const ChartCurve& last = profile.curves[passes];
    EXPECT_EQ(passes % 2 == 0 ? last.y.front() : last.y.back(), summary.tube.outlet_C);
    if (passes > 1) {
        EXPECT_NE(last.label.find("pass " + std::to_string(passes)), std::string::npos);
    }
    // Every temperature lies between the coldest and the hottest end.
    const Real low = std::min({summary.tube.inlet_C, summary.tube.outlet_C, summary.shell.inlet_C,
                               summary.shell.outlet_C});
    const Real high = std::max({summary.tube.inlet_C, summary.tube.outlet_C, summary.shell.inlet_C,
                                summary.shell.outlet_C});
    for (const ChartCurve& c : profile.curves)
        for (Real t : c.y) {
            EXPECT_GE(t, low - 1e-9L) << c.label;
            EXPECT_LE(t, high + 1e-9L) << c.label;
        }

    const bool phaseChange = summary.tube.phaseChange || summary.shell.phaseChange;
    ASSERT_EQ(charts.size(), phaseChange ? 2u : 1u);
    if (!phaseChange) return;
    const Chart& tq = charts[1];
    EXPECT_NE(tq.xAxis.find("kW"), std::string::npos);
    for (const ChartCurve& c : tq.curves) {
        const StreamSummary& s = c.label.find("shell") == 0 ? summary.shell : summary.tube;
        ASSERT_EQ(c.x.size(), 2u);
        EXPECT_EQ(c.x.front(), 0);
        EXPECT_EQ(c.x.back(), summary.duty_kW);
        EXPECT_EQ(c.dashed, s.phaseChange);
        EXPECT_EQ(c.y.front(), s.inlet_C);
        EXPECT_EQ(c.y.back(), s.outlet_C);
    }
    // The duty is the results' heat flow, and heat goes from the hotter side:
    // a heated single-phase medium stays below the saturation it meets.
    EXPECT_NEAR(static_cast<double>(summary.duty_kW), static_cast<double>(r.HeatFlow / 3.6e6),
                1e-9);
    if (summary.tube.phaseChange != summary.shell.phaseChange) {
        const StreamSummary& single = summary.tube.phaseChange ? summary.shell : summary.tube;
        const StreamSummary& saturated = summary.tube.phaseChange ? summary.tube : summary.shell;
        const Real sign = single.outlet_C > single.inlet_C ? 1 : -1;
        EXPECT_LT(sign * (single.outlet_C - saturated.inlet_C), 0);
    }
}

INSTANTIATE_TEST_SUITE_P(Examples, ExampleCharts,
                         ::testing::Values("water-water-2pass", "ethanol-water-cooler",
                                           "methanol-water-cooler", "steam-water-heater",
                                           "ethanol-water-condenser", "hot-water-kettle",
                                           "hot-water-reboiler", "steam-kettle-reboiler",
                                           "steam-thermosiphon-reboiler"));

// A profile a hair off the reported ends is put on them; one far off is
// drawn as computed and says so.
TEST(ProfileChart, PinsOnlyEndsWithinTheBalance) {
    ProblemData problem;
    problem.Design.TubeLength = 2;
    EngineeringSummary summary;
    summary.tube.side = 1;
    summary.tube.inlet_C = 20;
    summary.tube.outlet_C = 60;
    summary.shell.side = 2;
    summary.shell.inlet_C = 90;
    summary.shell.outlet_C = 40;
    ProfileGraphRequest profile;
    profile.positions = {0, 0.5L, 1};
    profile.curves = {{90, 60, 40.004L}, {20, 45, 59.997L}};
    Chart near = profileChart(profile, &summary, problem, kEnglish);
    EXPECT_EQ(near.curves[0].y.back(), 40);
    EXPECT_EQ(near.curves[1].y.back(), 60);
    EXPECT_NEAR(static_cast<double>(near.curves[0].y[1]), 59.998, 1e-12);
    EXPECT_EQ(near.title.find("differ"), std::string::npos);

    profile.curves[0].back() = 41.5L;
    const Chart far = profileChart(profile, &summary, problem, kEnglish);
    EXPECT_EQ(far.curves[0].y.back(), 41.5L);
    EXPECT_NE(far.title.find("differ from the results by up to 1.5 K"), std::string::npos)
        << far.title;
    EXPECT_NE(profileChart(profile, nullptr, problem, kRussian).title.find("нет результатов"),
              std::string::npos);
}

TEST(ProfileChart, RussianRunHasRussianCharts) {
    ExampleRun run("steam-water-heater", kRussian);
    ASSERT_EQ(run.outcome, RunOutcome::Results) << run.log.str();
    const std::vector<Chart> charts = runPictureCharts(run.session, run.dialogs.graphs().back());
    ASSERT_EQ(charts.size(), 2u);
    EXPECT_NE(charts[0].xAxis.find("длина труб, м"), std::string::npos);
    EXPECT_NE(charts[1].xAxis.find("кВт"), std::string::npos);
    EXPECT_NE(charts[0].curves[0].label.find("межтрубное"), std::string::npos);
}

}  // namespace
}  // namespace vexamo::cli
