#include <gtest/gtest.h>

#include <cmath>

#include "common/Errors.h"
#include "control/Session.h"
#include "exchanger/HeatCoolExchanger.h"
#include "support/FakeDialogs.h"

namespace vexamo {
namespace {

using test::FakeDialogs;

// Integral over x in [0, 1] by Simpson's rule.
template <typename F>
Real integrate(F f) {
    const int steps = 2000;
    Real sum = f(0) + f(1);
    for (int k = 1; k < steps; ++k) sum += (k % 2 ? 4 : 2) * f(static_cast<Real>(k) / steps);
    return sum / (3 * steps);
}

// The closed form for one shell pass against 2n tube passes, checked by its
// physics: inlet and turns, energy balance, rate equation, pass means.
TEST(Multipass, ClosedFormObeysItsOwnPhysics) {
    const Real T1in = 20, T2in = 90;
    for (int n = 1; n <= 3; ++n) {
        for (auto [V, X] : {std::pair{0.3L, 0.8L}, std::pair{1.2L, 0.2L}, std::pair{0.05L, 3.0L}}) {
            const int passes = 2 * n;
            auto at = [&](Real x) { return MultipassProfile(V, X, passes, T2in, T1in, x); };
            const auto start = at(0), end = at(1);
            EXPECT_NEAR(static_cast<double>(start.passes[0]), 20, 1e-12);  // tube inlet at x = 0
            EXPECT_NEAR(static_cast<double>(start.shell), 90, 1e-12);      // shell inlet at x = 0
            for (int i = 0; i + 1 < passes; ++i) {                         // turns alternate ends
                const auto& turn = i % 2 == 0 ? end : start;
                EXPECT_NEAR(static_cast<double>(turn.passes[static_cast<std::size_t>(i)]),
                            static_cast<double>(turn.passes[static_cast<std::size_t>(i + 1)]),
                            1e-11)
                    << "n " << n << " turn " << i;
            }
            const Real T1out = start.passes[static_cast<std::size_t>(passes - 1)];
            const Real T2out = end.shell;
            // energy: W1 (T1out - T1in) = W2 (T2in - T2out), with W1/W2 = X/V
            EXPECT_NEAR(static_cast<double>((T1out - T1in) / V),
                        static_cast<double>((T2in - T2out) / X), 1e-10);
            const MeanTemperatures mean = MultipassMeanTemperatures(V, X, passes, T2in, T1in);
            // rate: W1 (T1out - T1in) = K A (Ts - Tt), K A / W1 = passes V
            EXPECT_NEAR(static_cast<double>(T1out - T1in),
                        static_cast<double>(passes * V * (mean.shell - mean.tube)), 1e-9)
                << "n " << n << " V " << static_cast<double>(V);
            for (int i = 0; i < passes; ++i)
                EXPECT_NEAR(static_cast<double>(mean.passes[static_cast<std::size_t>(i)]),
                            static_cast<double>(integrate(
                                [&](Real x) { return at(x).passes[static_cast<std::size_t>(i)]; })),
                            1e-9);
            EXPECT_NEAR(static_cast<double>(mean.shell),
                        static_cast<double>(integrate([&](Real x) { return at(x).shell; })), 1e-9);
        }
    }
    EXPECT_EQ(Coth(20.5L), 1);
    EXPECT_NE(Coth(19.5L), 1);
    EXPECT_EQ(EndDifferences(3, 20, 90, 35, 40).out, 5);   // odd: the shell outlet
    EXPECT_EQ(EndDifferences(2, 20, 90, 35, 40).out, 55);  // even: the shell inlet
}

// The classical 1-2 exchanger: F * LMTD from the literature's F-factor.
TEST(Multipass, OneTwoExchangerMatchesTheCorrectionFactor) {
    const Real T1in = 25, T2in = 95, V = 0.4L, X = 1.1L;
    const auto start = MultipassProfile(V, X, 2, T2in, T1in, 0);
    const auto end = MultipassProfile(V, X, 2, T2in, T1in, 1);
    const Real t1 = start.passes[1], t2 = end.shell;
    const Real R = (T2in - t2) / (t1 - T1in), P = (t1 - T1in) / (T2in - T1in);
    const Real S = std::sqrt(R * R + 1);
    const Real F = S * std::log((1 - P) / (1 - P * R)) /
                   ((R - 1) * std::log((2 - P * (R + 1 - S)) / (2 - P * (R + 1 + S))));
    const Real lmtd = ((T2in - t1) - (t2 - T1in)) / std::log((T2in - t1) / (t2 - T1in));
    const MeanTemperatures mean = MultipassMeanTemperatures(V, X, 2, T2in, T1in);
    EXPECT_NEAR(static_cast<double>(mean.shell - mean.tube), static_cast<double>(F * lmtd), 1e-9);
}

ProblemData waterWater(const SubstanceData& data) {
    ProblemData p;
    auto water = [&](TechnSet& t, int process, Real temperature, Real flow) {
        t.ComponentCount = 1;
        t.ComponentIndex[0] = 1;
        t.Components[0] = data.SubstanceTable[1];
        t.Concentration[0] = 100;
        t.ProcessCode = static_cast<std::uint8_t>(process);
        t.GivenState = 't';
        t.SinglePhase = 1;
        t.Temperature = temperature;
        t.FlowRate = flow;
        t.AirFactor = 1;
    };
    water(p.TubeStream, 2, 25, 40000);
    water(p.ShellStream, 3, 95, 0);
    DesignRecord& d = p.Design;
    d.TubeCount = 40;
    d.TubeLength = 6;
    d.OuterDiameter = 0.025L;
    d.InnerDiameter = 0.021L;
    d.TubePasses = 2;
    d.ShellPasses = 1;
    d.RowsOnVertical = 6;
    d.ParallelFlows = 1;
    d.ShellDiameter = 0.5L;
    d.MaterialIndex = 4;
    d.WallResistance = wallResistance(d.OuterDiameter, d.InnerDiameter, 46.5L);
    d.StaggeredTubes = 1;
    d.HorizontalBundle = 1;
    return p;
}

struct Rig {
    Session session;
    FakeDialogs dialogs;
    std::vector<std::string> progress;
    Rig() {
        session.Problem = waterWater(session.Data);
        session.PairCode = 6;
        session.Report.setListener([this] {
            if (session.Report.lineCount()) progress.push_back(session.Report.lines().back());
        });
    }
    bool run() {
        THeatCoolObj hx({session.Problem.TubeStream, session.Problem.ShellStream, 0,
                         session.Problem.Design, true, session, dialogs});
        return hx.ReportResults(session.Problem.TubeStream.FlowRate,
                                session.Problem.ShellStream.FlowRate);
    }
};

TEST(THeatCoolObj, WaterWaterCaseBalancesBothStreams) {
    Rig rig;
    rig.dialogs.expect("iteration.initial_approximation", false);
    ASSERT_TRUE(rig.run());
    const RunResults& r = rig.session.Results;
    EXPECT_TRUE(r.converged);
    // The program's starting value is the middle of the inlets: No keeps it.
    EXPECT_NE(rig.progress.at(0).find("= 60 degr.C;"), std::string::npos) << rig.progress.at(0);
    EXPECT_NEAR(static_cast<double>(r.OutletTemperature), 32.7, 0.2);
    EXPECT_GT(r.OutletTemperature, 25);
    EXPECT_LT(r.OutletTemperature, 40);
    EXPECT_NEAR(static_cast<double>(rig.session.ShellFlow), 5600, 60);
    EXPECT_NEAR(static_cast<double>(r.OverallCoefficient), 700, 15);
    EXPECT_NEAR(static_cast<double>(r.Surface), 17.7, 0.2);
    // both streams carry the same heat (water, cp nearly constant)
    const Real tubeHeat = 40000 * 4180.0L * (r.OutletTemperature - 25);
    const Real shellHeat = rig.session.ShellFlow * 4190.0L * (95 - 40);
    EXPECT_NEAR(static_cast<double>(tubeHeat / shellHeat), 1, 0.01);
    EXPECT_NEAR(static_cast<double>(r.HeatFlow / tubeHeat), 1, 0.005);
    // every iteration showed the profile of 13 points and 3 curves
    ASSERT_FALSE(rig.dialogs.graphs.empty());
    EXPECT_EQ(rig.dialogs.graphs.back().positions.size(), 13u);
    EXPECT_EQ(rig.dialogs.graphs.back().curves.size(), 3u);
    EXPECT_EQ(rig.dialogs.graphs.size(), static_cast<std::size_t>(r.Iterations));
}

TEST(THeatCoolObj, LeavingForTheMenuEndsWithoutResults) {
    Rig rig;
    rig.dialogs.onTechnological = [](TechnologicalDialogModel&) { return false; };
    // a start above the hot inlet: the first step stays outside the interval
    rig.dialogs.expect("iteration.initial_approximation", true)
        .expect("iteration.initial_approximation", InputAnswer{false, false, 120, 0, "120"})
        .expect("iteration.out_of_interval", AlternAnswer{0, 'y'});
    EXPECT_FALSE(rig.run());
    EXPECT_FALSE(rig.session.Results.produced);
    EXPECT_NE(rig.session.Report.text().find("without results"), std::string::npos);
    EXPECT_EQ(rig.dialogs.asked.back(), "technological");
}

TEST(THeatCoolObj, SlowConvergenceAsksAfterIteration160AndDecliningMarksTheResult) {
    Rig rig;
    // leave the interval once, then take a tiny convergence constant
    rig.dialogs.expect("iteration.initial_approximation", true)
        .expect("iteration.initial_approximation", InputAnswer{false, false, 120, 0, "120"})
        .expect("iteration.out_of_interval", AlternAnswer{1, 'y'})
        .expect("iteration.out_of_interval", InputAnswer{false, false, 0.001L, 0, "0.001"})
        .expect("iteration.initial_approximation", false)
        .expect("iteration.slow_convergence", false);
    ASSERT_TRUE(rig.run());
    const RunResults& r = rig.session.Results;
    EXPECT_FALSE(r.converged);
    EXPECT_NE(rig.session.Report.text().find("heat balance was not reached"), std::string::npos);
    // the question came after iteration 161 of the restart
    EXPECT_NE(std::find_if(rig.progress.begin(), rig.progress.end(),
                           [](const std::string& l) {
                               return l.find("Number of iteration 161;") != std::string::npos;
                           }),
              rig.progress.end());
    EXPECT_EQ(std::find_if(rig.progress.begin(), rig.progress.end(),
                           [](const std::string& l) {
                               return l.find("Number of iteration 162;") != std::string::npos;
                           }),
              rig.progress.end());
}

TEST(THeatCoolObj, OutsideTheModelIsAClearError) {
    {
        Rig odd;
        odd.session.Problem.Design.TubePasses = 1;
        EXPECT_FALSE(odd.run());
        EXPECT_NE(odd.dialogs.messages.at(0).text.find("even number of tube passes"),
                  std::string::npos);
    }
    Rig cold;
    cold.session.Problem.ShellStream.Temperature =
        35;  // a cooled medium entering below the fixed 40 degC outlet
    EXPECT_FALSE(cold.run());
    ASSERT_FALSE(cold.dialogs.messages.empty());
    EXPECT_EQ(cold.dialogs.messages[0].id, "calculation.error");
    EXPECT_NE(cold.dialogs.messages[0].text.find("40 degr.C"), std::string::npos);
}

}  // namespace
}  // namespace vexamo
