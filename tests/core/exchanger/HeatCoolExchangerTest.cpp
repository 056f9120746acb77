#include <gtest/gtest.h>

#include <cmath>

#include "PairRig.h"
#include "common/Constants.h"
#include "common/Errors.h"
#include "control/Session.h"
#include "exchanger/HeatCoolExchanger.h"

namespace vexamo {
namespace {

using test::PairRig;

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

// The water-water case on the pair rig: 40 000 kg/h heated in the tubes from
// 25 degC, cooled from 95 degC in the shell space.
void waterWater(PairRig& rig) {
    rig.session.Problem = waterWater(rig.session.Data);
    rig.session.PairCode = 6;
}

bool run(PairRig& rig) { return rig.run<THeatCoolObj>(); }

Real installedSurface(const DesignRecord& d) {
    return d.ParallelFlows * d.TubeCount * kPi * (d.OuterDiameter + d.InnerDiameter) / 2 *
           d.TubeLength;
}

// What a converged result must satisfy: the balance needs the installed
// surface, the field the graph shows ends at the reported outlets, K is the
// films and the wall in series.
void expectSelfConsistent(const PairRig& rig) {
    const RunResults& r = rig.session.Results;
    ASSERT_TRUE(r.produced);
    EXPECT_TRUE(r.converged);
    const DesignRecord& d = rig.session.Problem.Design;
    EXPECT_NEAR(static_cast<double>(r.Surface / installedSurface(d)), 1, 1.5e-5);
    EXPECT_NEAR(static_cast<double>(r.InstalledSurface / installedSurface(d)), 1, 1e-15);
    const ProfileGraphRequest& g = rig.dialogs.graphs.back();
    EXPECT_NEAR(static_cast<double>(g.curves[0].back()), 40, 0.05);
    EXPECT_NEAR(static_cast<double>(g.curves[d.TubePasses].front()),
                static_cast<double>(r.OutletTemperature), 0.05);
    EXPECT_NEAR(
        static_cast<double>(1 / r.OverallCoefficient),
        static_cast<double>(1 / r.TubeCoefficient + 1 / r.ShellCoefficient + d.WallResistance),
        1e-15);
}

TEST(THeatCoolObj, WaterWaterCaseBalancesBothStreams) {
    PairRig rig;
    waterWater(rig);
    rig.dialogs.expect("iteration.initial_approximation", false);
    ASSERT_TRUE(run(rig));
    const RunResults& r = rig.session.Results;
    expectSelfConsistent(rig);
    // The program's starting value is the middle of the inlets: No keeps it.
    EXPECT_NE(rig.progress.at(0).find("= 60 degr.C;"), std::string::npos) << rig.progress.at(0);
    EXPECT_GT(r.OutletTemperature, 25);
    EXPECT_LT(r.OutletTemperature, 40);
    // water against water with a steel wall and a turbulent tube side: K of
    // 700-1000 W/(m2 K) is the usual range (Kern, Process Heat Transfer, Table 8)
    EXPECT_GT(r.OverallCoefficient, 600);
    EXPECT_LT(r.OverallCoefficient, 1000);
    // both streams carry the same heat (water, cp 4180-4190 J/(kg K) here)
    const Real W1 = 40000 * 4180.0L / 3600, W2 = rig.session.ShellFlow * 4190.0L / 3600;
    EXPECT_NEAR(static_cast<double>(W1 * (r.OutletTemperature - 25) / (W2 * (95 - 40))), 1, 0.005);
    EXPECT_NEAR(static_cast<double>(r.HeatFlow / 3600 / (W1 * (r.OutletTemperature - 25))), 1,
                0.005);
    // the 1-2 effectiveness (Incropera & DeWitt, eq. 11.31a) with the reported K
    const Real C = W2 / W1,
               NTU = r.OverallCoefficient * installedSurface(rig.session.Problem.Design) / W2;
    const Real root = std::sqrt(1 + C * C), e = std::exp(-NTU * root);
    const Real eps = 2 / (1 + C + root * (1 + e) / (1 - e));
    EXPECT_NEAR(static_cast<double>(r.HeatFlow / 3600 / (eps * W2 * 70)), 1, 0.005);
    // every iteration showed the profile of 13 points and 3 curves
    ASSERT_FALSE(rig.dialogs.graphs.empty());
    EXPECT_EQ(rig.dialogs.graphs.back().positions.size(), 13u);
    EXPECT_EQ(rig.dialogs.graphs.back().curves.size(), 3u);
    EXPECT_EQ(rig.dialogs.graphs.size(), static_cast<std::size_t>(r.Iterations));
}

// Two parallel flows of 40 000 kg/h are two exchangers of 20 000 kg/h each.
TEST(THeatCoolObj, ParallelFlowsAreUnitsOfTheirShareOfTheFlow) {
    PairRig one, two;
    waterWater(one);
    waterWater(two);
    one.session.Problem.TubeStream.FlowRate = 20000;
    two.session.Problem.Design.ParallelFlows = 2;
    for (PairRig* rig : {&one, &two}) {
        rig->dialogs.expect("iteration.initial_approximation", false);
        ASSERT_TRUE(run(*rig));
        expectSelfConsistent(*rig);
    }
    const RunResults &a = one.session.Results, &b = two.session.Results;
    EXPECT_NEAR(static_cast<double>(b.OutletTemperature), static_cast<double>(a.OutletTemperature),
                2e-3);
    EXPECT_NEAR(static_cast<double>(b.OverallCoefficient / a.OverallCoefficient), 1, 1e-4);
    EXPECT_NEAR(static_cast<double>(b.TubeCoefficient / a.TubeCoefficient), 1, 1e-4);
    EXPECT_NEAR(static_cast<double>(b.HeatFlow / a.HeatFlow), 2, 2e-4);
    EXPECT_NEAR(static_cast<double>(b.Surface / a.Surface), 2, 2e-4);
    EXPECT_NEAR(static_cast<double>(two.session.ShellFlow / one.session.ShellFlow), 2, 2e-4);
}

// Laminar tube flow whose Rayleigh number lies in the band between the
// viscous and the viscous-gravitational forms: the tube film changes by a
// quarter within a tenth of a kelvin of wall temperature, and the state is
// still one (the substitution alone swings there).
TEST(THeatCoolObj, AFilmInItsRegimeBandStillGivesOneState) {
    PairRig rig;
    waterWater(rig);
    rig.session.Problem.TubeStream.FlowRate = 4000;
    rig.dialogs.expect("iteration.initial_approximation", false);
    ASSERT_TRUE(run(rig));
    expectSelfConsistent(rig);
}

TEST(THeatCoolObj, LeavingForTheMenuEndsWithoutResults) {
    PairRig rig;
    waterWater(rig);
    rig.dialogs.onTechnological = [](TechnologicalDialogModel&) { return false; };
    // a start above the hot inlet: the first step stays outside the interval
    rig.dialogs.expect("iteration.initial_approximation", true)
        .expect("iteration.initial_approximation", InputAnswer{false, false, 120, 0, "120"})
        .expect("iteration.out_of_interval", AlternAnswer{0, 'y'});
    EXPECT_FALSE(run(rig));
    EXPECT_FALSE(rig.session.Results.produced);
    EXPECT_NE(rig.session.Report.text().find("without results"), std::string::npos);
    EXPECT_EQ(rig.dialogs.asked.back(), "technological");
}

// A heating-cooling calculation that ends without results leaves both flows
// as they were given, whether its iteration fails or the person leaves it
// for the data: neither is left at the value of some intermediate outlet.
TEST(THeatCoolObj, ACalculationWithoutResultsLeavesBothFlowsAsGiven) {
    {
        PairRig rig;
        waterWater(rig);
        rig.tube().FlowRate = 1234;    // to be found
        rig.shell().FlowRate = 60000;  // more than the surface can cool to 40 degC
        rig.flowSide = 1;
        rig.dialogs.expect("iteration.initial_approximation", false);
        EXPECT_FALSE(run(rig));
        ASSERT_FALSE(rig.dialogs.messages.empty());
        EXPECT_EQ(rig.dialogs.messages.back().id, "calculation.error");
        EXPECT_GT(rig.dialogs.graphs.size(), 0u);  // it failed after iterating
        EXPECT_EQ(rig.session.TubeFlow, 1234);
        EXPECT_EQ(rig.session.ShellFlow, 60000);
    }
    {
        PairRig rig;
        waterWater(rig);
        rig.shell().FlowRate = 777;  // to be found
        rig.dialogs.onTechnological = [](TechnologicalDialogModel&) { return false; };
        rig.dialogs.expect("iteration.initial_approximation", true)
            .expect("iteration.initial_approximation", InputAnswer{false, false, 120, 0, "120"})
            .expect("iteration.out_of_interval", AlternAnswer{0, 'y'});
        EXPECT_FALSE(run(rig));
        EXPECT_EQ(rig.session.TubeFlow, 40000);
        EXPECT_EQ(rig.session.ShellFlow, 777);
    }
}

// A typed start outside the interval still asks; the constant typed then,
// tiny or large (the slow-convergence advice), neither stalls the iteration
// nor throws it out of the interval: false position takes over.
TEST(THeatCoolObj, AnyConstantConvergesWithoutFurtherQuestions) {
    for (Real constant : {0.001L, 5.0L}) {
        PairRig rig;
        waterWater(rig);
        rig.dialogs.expect("iteration.initial_approximation", true)
            .expect("iteration.initial_approximation", InputAnswer{false, false, 120, 0, "120"})
            .expect("iteration.out_of_interval", AlternAnswer{1, 'y'})
            .expect("iteration.out_of_interval", InputAnswer{false, false, constant, 0, "c"})
            .expect("iteration.initial_approximation", false);
        ASSERT_TRUE(run(rig));
        expectSelfConsistent(rig);
        EXPECT_LT(rig.session.Results.Iterations, 40) << static_cast<double>(constant);
    }
}

TEST(THeatCoolObj, OutsideTheModelIsAClearError) {
    {
        PairRig odd;
        waterWater(odd);
        odd.session.Problem.Design.TubePasses = 1;
        EXPECT_FALSE(run(odd));
        EXPECT_NE(odd.dialogs.messages.at(0).text.find("even number of tube passes"),
                  std::string::npos);
    }
    PairRig cold;
    waterWater(cold);
    cold.session.Problem.ShellStream.Temperature =
        35;  // a cooled medium entering below the fixed 40 degC outlet
    EXPECT_FALSE(run(cold));
    ASSERT_FALSE(cold.dialogs.messages.empty());
    EXPECT_EQ(cold.dialogs.messages[0].id, "calculation.error");
    EXPECT_NE(cold.dialogs.messages[0].text.find("40 degr.C"), std::string::npos);
    // the heated medium entering above the fixed 40 degC shell outlet: the
    // shell medium would have to leave colder than the medium that cools it
    PairRig warm;
    waterWater(warm);
    warm.session.Problem.TubeStream.Temperature = 45;
    EXPECT_FALSE(run(warm));
    ASSERT_FALSE(warm.dialogs.messages.empty());
    EXPECT_NE(warm.dialogs.messages[0].text.find("must enter below it (tube inlet 45"),
              std::string::npos)
        << warm.dialogs.messages[0].text;
    EXPECT_FALSE(warm.session.Results.produced);
}

// A shell flow that the surface cannot bring to 40 degC, however much flows
// in the tubes, ends the Run with that message and no results, and the flow
// to be found keeps its value (formerly the outlet crept to the tube inlet
// and an enormous tube flow was reported).
TEST(THeatCoolObj, AnImpossibleDutyEndsWithItsReason) {
    PairRig rig;
    waterWater(rig);
    rig.session.Problem.TubeStream.FlowRate = 0;
    rig.session.Problem.ShellStream.FlowRate =
        60000;  // ten times what the surface can cool to 40 degC
    rig.flowSide = 1;
    rig.dialogs.expect("iteration.initial_approximation", false);
    EXPECT_FALSE(run(rig));
    EXPECT_FALSE(rig.session.Results.produced);
    ASSERT_FALSE(rig.dialogs.messages.empty());
    EXPECT_EQ(rig.dialogs.messages.back().id, "calculation.error");
    EXPECT_NE(rig.dialogs.messages.back().text.find("cannot pass the heat of the given flow"),
              std::string::npos)
        << rig.dialogs.messages.back().text;
    EXPECT_EQ(rig.session.TubeFlow, 0);
    // the same flow given in the tube space is an ordinary duty
    PairRig given;
    waterWater(given);
    given.session.Problem.ShellStream.FlowRate = 5870;
    given.session.Problem.TubeStream.FlowRate = 0;
    given.flowSide = 1;
    given.dialogs.expect("iteration.initial_approximation", false);
    ASSERT_TRUE(run(given));
    expectSelfConsistent(given);
    EXPECT_NEAR(static_cast<double>(given.session.TubeFlow / 40000), 1, 0.02);
}

}  // namespace
}  // namespace vexamo
