#include <gtest/gtest.h>

#include <cmath>

#include "PairRig.h"
#include "common/Errors.h"
#include "common/NumberFormat.h"
#include "exchanger/CondensationExchangers.h"

namespace vexamo {
namespace {

using test::expectSaturationPairPhysics;
using test::medium;
using test::PairRig;
using test::relative;

// Steam at 133 degC (about 3 kgf/cm2) condensing in the horizontal tubes,
// water heated in the shell space from 20 degC; four shell passes. Side 0:
// 1500 kg/h of steam given; side 1: 20000 kg/h of water given.
void steamInTubes(PairRig& rig, int side) {
    rig.flowSide = static_cast<std::uint8_t>(side);
    rig.tube() = medium(rig.session.Data, ProcessCode::Condensation, 133, side == 0 ? 1500 : 0);
    rig.shell() = medium(rig.session.Data, ProcessCode::Heating, 20, side == 1 ? 20000 : 0);
    rig.design().ShellPasses = 4;
}

// The steam heater: water heated in the tubes from 20 degC, steam at 104.25
// degC (1.2 kgf/cm2) condensing on the bundle. Side 0: 25000 kg/h of water
// given; side 1: 2700 kg/h of steam given.
void steamHeater(PairRig& rig, int side) {
    rig.flowSide = static_cast<std::uint8_t>(side);
    rig.tube() = medium(rig.session.Data, ProcessCode::Heating, 20, side == 0 ? 25000 : 0);
    rig.shell() =
        medium(rig.session.Data, ProcessCode::Condensation, 104.25L, side == 1 ? 2700 : 0);
}

TEST(TConHeatObj, SteamInTubesHeatsWaterForEitherGivenFlow) {
    for (int side : {0, 1}) {
        PairRig rig;
        steamInTubes(rig, side);
        rig.dialogs.expect("iteration.initial_approximation", false)
            .expect("shell_loss", GapCalcAnswer{});
        std::unique_ptr<TConHeatObj> hx;
        ASSERT_TRUE(rig.run(hx)) << "side " << side;
        expectSaturationPairPhysics(rig, *hx, true, 1);
        const RunResults& r = rig.results();
        EXPECT_LT(r.Iterations, 20);
        EXPECT_EQ(r.Speed, 0);  // no speed warning from this class
        // Steam condensing in horizontal tubes: several thousand W/(m2 K);
        // water across the bundle: about a thousand.
        EXPECT_GT(r.TubeCoefficient, 4000);
        EXPECT_LT(r.TubeCoefficient, 20000);
        EXPECT_GT(r.ShellCoefficient, 500);
        EXPECT_LT(r.ShellCoefficient, 5000);
        // The shell-side loss: its geometry heads the block, the loss line and the "dp = " box.
        const std::string report = rig.session.Report.text();
        EXPECT_NE(report.find("  Height of segment notch:"), std::string::npos);
        EXPECT_NE(report.find("  Step of pipe column:                                0.035 m;"),
                  std::string::npos);
        EXPECT_NE(report.find("  Losses of pressure in intertrumpet space:             "),
                  std::string::npos);
        EXPECT_EQ(rig.dialogs.messageCount("shell_loss.dp"), 1u);
        EXPECT_GT(hx->ShellLoss.total, 0);
        EXPECT_NE(report.find("  Outlet temperature in intertrumpet space:               " +
                              formatGeneral(r.OutletTemperature, 8, 2) + " degr.C;"),
                  std::string::npos);
        EXPECT_NE(report.find("  Installed surface of heat exchange:                     " +
                              formatGeneral(r.InstalledSurface, 8, 2) + " m^2;"),
                  std::string::npos);
        // The results belong to the temperature of the last evaluation, the
        // one the progress line shows.
        EXPECT_EQ(hx->Outlet_T, r.OutletTemperature);
        EXPECT_NE(
            rig.lastProgressLine().find(formatGeneral(r.OutletTemperature, 10, 2) + " degr.C;"),
            std::string::npos)
            << rig.lastProgressLine();
        // The profile: shell medium from the inlet to the outlet, steam level.
        ASSERT_EQ(rig.dialogs.graphs.size(), 1u);
        const ProfileGraphRequest& g = rig.dialogs.graphs[0];
        EXPECT_EQ(g.positions.size(), 13u);
        EXPECT_EQ(g.curves.at(0).front(), 20);
        EXPECT_LT(relative(g.curves.at(0).back(), r.OutletTemperature), 1e-15L);
        EXPECT_EQ(g.curves.at(1).front(), 133);
    }
}

TEST(THeatConObj, SteamHeaterForEitherGivenFlow) {
    for (int side : {0, 1}) {
        PairRig rig;
        steamHeater(rig, side);
        rig.dialogs.expect("iteration.initial_approximation", false);
        expectTubeLossAnswers(rig.dialogs);
        std::unique_ptr<THeatConObj> hx;
        ASSERT_TRUE(rig.run(hx)) << "side " << side;
        expectSaturationPairPhysics(rig, *hx, false, 1);
        const RunResults& r = rig.results();
        EXPECT_LT(r.Iterations, 25);
        // Water about 0.33 m/s in 60 tubes per pass (the correlation's own pi).
        const Real rho = test::mixtureOf(rig.tube(), (20 + r.OutletTemperature) / 2).Density;
        EXPECT_LT(relative(r.Speed, rig.session.TubeFlow * 2 / 120 / 3600 / rho /
                                        (0.021L * 0.021L * 3.1416L / 4)),
                  1e-12L);
        // A steam heater of 26 m2 heats 25 t/h of water by some 60 K.
        if (side == 0) {
            EXPECT_GT(r.OutletTemperature, 70);
            EXPECT_LT(r.OutletTemperature, 90);
        }
        EXPECT_GT(r.ShellCoefficient, 5000);  // film condensation of steam on a bundle
        EXPECT_GT(hx->TubeLoss.loss, 0.2L);
        EXPECT_LT(hx->TubeLoss.loss, 2);
        EXPECT_NE(
            rig.session.Report.text().find("  Losses of pressure in trumpet space:             "),
            std::string::npos);
        EXPECT_EQ(rig.dialogs.messageCount("shell_loss.dp"), 0u);
    }
}

TEST(THeatConObj, MixtureCondenserOfEthanolAndWater) {
    // 60 % ethanol, 40 % water condensing on the bundle at its dew point
    // (about 82 degC at 1 atm), cooling water heated in the tubes; the
    // condensate flow given.
    PairRig rig;
    rig.flowSide = 1;
    rig.tube() = medium(rig.session.Data, ProcessCode::Heating, 25, 0);
    rig.shell() = medium(rig.session.Data, ProcessCode::Condensation, 82, 1200, {{0, 60}, {1, 40}});
    rig.dialogs.expect("iteration.initial_approximation", false);
    expectTubeLossAnswers(rig.dialogs);
    std::unique_ptr<THeatConObj> hx;
    ASSERT_TRUE(rig.run(hx));
    expectSaturationPairPhysics(rig, *hx, false, 1);
}

// Wherever in the interval the iteration starts, it ends at the same
// outlet within a few iterations and never asks about slow convergence.
TEST(CondensationPairs, ConvergeFromStartsAcrossTheInterval) {
    for (int cls : {0, 1})
        for (int side : {0, 1}) {
            Real first = 0;
            for (Real f : {0.01L, 0.2L, 0.5L, 0.8L, 0.99L}) {
                PairRig rig;
                cls == 0 ? steamInTubes(rig, side) : steamHeater(rig, side);
                const Real Tin = cls == 0 ? rig.shell().Temperature : rig.tube().Temperature;
                const Real Ts = cls == 0 ? rig.tube().Temperature : rig.shell().Temperature;
                const Real start = Tin + f * (Ts - 1 - Tin);
                rig.dialogs.expect("iteration.initial_approximation", true)
                    .expect("iteration.initial_approximation",
                            InputAnswer{false, false, start, 0, "start"});
                if (cls == 0)
                    rig.dialogs.expect("shell_loss", GapCalcAnswer{});
                else
                    expectTubeLossAnswers(rig.dialogs);
                std::unique_ptr<TOutletIterationObj> hx;
                bool done = false;
                if (cls == 0) {
                    std::unique_ptr<TConHeatObj> c;
                    done = rig.run(c);
                    hx = std::move(c);
                } else {
                    std::unique_ptr<THeatConObj> h;
                    done = rig.run(h);
                    hx = std::move(h);
                }
                ASSERT_TRUE(done);
                const RunResults& r = rig.results();
                EXPECT_TRUE(r.converged);
                EXPECT_LE(r.Iterations, 30) << "class " << cls << " side " << side << " start "
                                            << static_cast<double>(start);
                if (first == 0) first = r.OutletTemperature;
                EXPECT_NEAR(static_cast<double>(r.OutletTemperature), static_cast<double>(first),
                            0.05);
                expectSaturationPairPhysics(rig, *hx, cls == 0, 1);
            }
        }
}

TEST(CondensationPairs, DrivingForceWarnings) {
    struct Case {
        Real inlet;
        const char* text;  // nullptr: no warning
    };
    const Real Tc = 104.25L;
    for (const Case& c :
         {Case{Tc - 1, nullptr},
          Case{Tc, "driving force of process of heat transfer 0 degr.C is too small."},
          Case{Tc - 0.5L, "driving force of process of heat transfer 0.5 degr.C is too small."},
          Case{110,
               "     Temperature of the heat-transfer medium on the input of tubal space of the "
               "heat\r\n"
               "exchanger 110 degr.C exceeds temperature in a zone of condensation 104.3 "
               "degr.C."}}) {
        PairRig rig;
        steamHeater(rig, 0);
        rig.tube().Temperature = c.inlet;
        rig.dialogs.onTechnological = [](TechnologicalDialogModel&) { return false; };
        // No outlet lies 1 K from saturation and above the inlet: the interval is left at once.
        rig.dialogs.expect("iteration.initial_approximation", false)
            .expect("iteration.out_of_interval", AlternAnswer{0, 'y'});
        std::unique_ptr<THeatConObj> hx;
        EXPECT_FALSE(rig.run(hx));
        EXPECT_EQ(rig.dialogs.messageCount("calculation.driving_force"), c.text ? 1u : 0u);
        if (!c.text) continue;
        const std::string expected =
            std::string("    ATTENTION! Incorrect technological mode!\r\n") + c.text +
            "\r\n    It is recommended to reduce temperature on the input of tubal space of the "
            "heat\r\n"
            "exchanger or to increase pressure in a zone of condensation or to increase the "
            "contents\r\n"
            "of high-boiling components in a condensed mix";
        EXPECT_EQ(rig.dialogs.messages.at(0).text, expected);
        // The warning heads the results block.
        EXPECT_NE(rig.session.Report.text().find(expected), std::string::npos);
    }
}

// A duty that no outlet in the interval meets ends the calculation with a
// message that says why, without a question and without results: too little
// steam for 26 m2 (the water would leave within 1 K of the steam), too much
// (no finite water flow condenses it).
TEST(CondensationPairs, ImpossibleDutiesEndWithAMessage) {
    struct Case {
        Real steam;
        LanguageFlagType lang;
        const char* why;
    };
    for (const Case& c :
         {Case{300, kEnglish,
               " The duty cannot be met: with the installed surface of 26.0124 m^2 the heated "
               "medium would leave within 1 degr.C of the condensation temperature 104.25 degr.C; "
               "the given flow of the condensing medium is too small for this surface. The "
               "calculation ends without results."},
          Case{9000, kEnglish,
               " The duty cannot be met: the installed surface of 26.0124 m^2 cannot pass the heat "
               "of the given flow of the condensing medium, however large the flow of the heated "
               "medium. The calculation ends without results."},
          Case{300, kRussian,
               " Режим невыполним: при установленной поверхности 26.0124 м^2 температура "
               "нагреваемого теплоносителя на выходе была бы ближе 1 град.С к температуре "
               "конденсации 104.25 град.С; заданный расход конденсирующегося теплоносителя "
               "слишком мал для этой поверхности. Расчет закончен без результатов."}}) {
        PairRig rig;
        rig.session.LanguageFlag = c.lang;
        steamHeater(rig, 1);
        rig.shell().FlowRate = c.steam;
        rig.dialogs.expect("iteration.initial_approximation", false);
        std::unique_ptr<THeatConObj> hx;
        EXPECT_FALSE(rig.run(hx));
        ASSERT_EQ(rig.dialogs.messageCount("iteration.impossible_duty"), 1u);
        EXPECT_EQ(rig.dialogs.messageCount("iteration.outside_interval"), 0u);
        const MessageRequest& m = rig.dialogs.messages.back();
        EXPECT_EQ(m.kind, MessageKind::Error);
        EXPECT_EQ(m.text, c.why);
        EXPECT_FALSE(rig.results().produced);
        EXPECT_EQ(rig.results().reason, c.why);
        // No intermediate flow is left behind, and the report has no numbers.
        EXPECT_EQ(rig.session.TubeFlow, 0);
        EXPECT_EQ(rig.session.ShellFlow, c.steam);
        EXPECT_EQ(rig.session.Report.text().find("Surface of heat exchange"), std::string::npos);
    }
}

// Where the duty turns impossible the last possible outlet lies at the bound
// of the interval: between a steam flow whose duty is met and one whose duty
// is not there is no flow for which the calculation neither converges nor
// says why, and the outlet reaches the bound (1 K below the steam)
// continuously. (One shell pass: the shell-side loss asks nothing.)
TEST(CondensationPairs, TheImpossibleDutyStartsAtTheBoundOfTheInterval) {
    auto run = [](Real steam, RunResults& results) {
        PairRig rig;
        steamInTubes(rig, 0);
        rig.design().ShellPasses = 1;
        rig.tube().FlowRate = steam;
        rig.dialogs.expect("iteration.initial_approximation", false);
        std::unique_ptr<TConHeatObj> hx;
        const bool produced = rig.run(hx);
        results = rig.results();
        if (produced)
            expectSaturationPairPhysics(rig, *hx, true, 1);
        else
            EXPECT_EQ(rig.dialogs.messageCount("iteration.impossible_duty"), 1u);
        return produced;
    };
    Real low = 20, high = 1500;  // impossible, possible
    RunResults r;
    ASSERT_FALSE(run(low, r));
    for (int i = 0; i < 40 && high - low > 1e-4L; ++i) {
        const Real middle = (low + high) / 2;
        (run(middle, r) ? high : low) = middle;
    }
    ASSERT_TRUE(run(high, r));
    EXPECT_NEAR(static_cast<double>(r.OutletTemperature), 133 - 1, 0.01);
}

// A larger convergence constant makes the relaxation overshoot; the steps
// then bracket the outlet and the iteration ends inside the interval instead
// of leaving it. The constant is typed after a start outside the interval,
// which is still the case of the out-of-interval question.
TEST(CondensationPairs, ALargerConstantNoLongerLeavesTheInterval) {
    for (Real constant : {1.9L, 3.0L, 8.0L}) {
        PairRig rig;
        steamHeater(rig, 0);
        rig.dialogs.expect("iteration.initial_approximation", true)
            .expect("iteration.initial_approximation", InputAnswer{false, false, 150, 0, "150"})
            .expect("iteration.out_of_interval", AlternAnswer{1, 'y'})
            .expect("iteration.out_of_interval", InputAnswer{false, false, constant, 0, "c"})
            .expect("iteration.initial_approximation", false);
        expectTubeLossAnswers(rig.dialogs);
        std::unique_ptr<THeatConObj> hx;
        ASSERT_TRUE(rig.run(hx)) << static_cast<double>(constant);
        EXPECT_EQ(rig.dialogs.messageCount("iteration.outside_interval"), 1u);
        EXPECT_TRUE(hx->Bracketed);
        EXPECT_LE(rig.results().Iterations, 30);
        expectSaturationPairPhysics(rig, *hx, false, 1);
    }
}

TEST(TConHeatObj, ShellLossPerParallelStreamAndWithoutCompartments) {
    {
        PairRig rig;
        steamInTubes(rig, 1);
        rig.design().ParallelFlows = 2;
        rig.dialogs.expect("iteration.initial_approximation", false)
            .expect("shell_loss", GapCalcAnswer{});
        std::unique_ptr<TConHeatObj> hx;
        ASSERT_TRUE(rig.run(hx));
        expectSaturationPairPhysics(rig, *hx, true, 1);
        EXPECT_LT(relative(hx->ShellLoss.Gc * hx->ShellLoss.Sm * 3600, rig.session.ShellFlow / 2),
                  1e-15L);
    }
    PairRig rig;
    steamInTubes(rig, 0);
    rig.design().ShellPasses = 1;  // no baffle: nothing asked, the line says why
    rig.dialogs.expect("iteration.initial_approximation", false);
    std::unique_ptr<TConHeatObj> hx;
    ASSERT_TRUE(rig.run(hx));
    expectSaturationPairPhysics(rig, *hx, true, 1);
    EXPECT_NE(rig.session.Report.text().find(
                  "  Losses of pressure in intertrumpet space:             not computed: the "
                  "stream-analysis method "
                  "needs at least two baffle compartments (shell passes).\r\n"),
              std::string::npos);
    EXPECT_EQ(rig.dialogs.messageCount("shell_loss.dp"), 0u);
}

TEST(THeatConObj, RussianTexts) {
    PairRig rig;
    rig.session.LanguageFlag = kRussian;
    steamHeater(rig, 0);
    rig.dialogs.expect("iteration.initial_approximation", false);
    expectTubeLossAnswers(rig.dialogs);
    std::unique_ptr<THeatConObj> hx;
    ASSERT_TRUE(rig.run(hx));
    const std::string report = rig.session.Report.text();
    EXPECT_NE(rig.lastProgressLine().find(
                  "; Темпеpатура теплоносителя на выходе из тpубного пpостpанства = "),
              std::string::npos);
    // Aligned with the Russian labels: 53 characters.
    EXPECT_NE(report.find("  Установленная повеpхность теплообмена:             " +
                          formatGeneral(rig.results().InstalledSurface, 8, 2) + " м^2;"),
              std::string::npos)
        << report;
    EXPECT_NE(report.find("  Потери давления в трубном пространстве:            "),
              std::string::npos);
}

}  // namespace
}  // namespace vexamo
