// The condensation and boiling examples, run headless with their answers,
// checked by their physics rather than by their digits: both media carry the
// same heat, the outlet of a heated or cooled medium lies between its inlet
// and the saturation temperature, an iterated exchanger needs exactly the
// surface that is installed, and the log-mean law holds over it.
#include <gtest/gtest.h>

#include <cmath>
#include <sstream>

#include "cli/Answers.h"
#include "cli/CliDialogs.h"
#include "cli/ProblemIo.h"
#include "common/Constants.h"
#include "control/RunDriver.h"
#include "exchanger/Correlations.h"

namespace vexamo::cli {
namespace {

std::string example(const std::string& name) {
    return std::string(VEXAMO_SOURCE_DIR) + "/examples/" + name;
}

Real relative(Real a, Real b) { return std::fabs(a - b) / std::fabs(b); }

PropertySet mixtureOf(const TechnSet& t, Real temperature) {
    return MixtureAt(t.Components, t.Concentration, t.ComponentCount, temperature);
}

bool changesPhase(const TechnSet& t) {
    return t.ProcessCode == static_cast<std::uint8_t>(ProcessCode::Condensation) ||
           t.ProcessCode == static_cast<std::uint8_t>(ProcessCode::Boiling);
}

struct ExampleRun {
    Session session;
    AnswerBook answers;
    std::ostringstream log;
    CliDialogs dialogs;
    RunOutcome outcome;
    explicit ExampleRun(const std::string& name)
        : answers(AnswerBook::fromFile(example("answers/" + name + ".json"))),
          dialogs(session, answers, log, true) {
        session.Problem = loadProblem(example(name + ".json"), session.Data, kEnglish);
        session.DataLoaded = 1;
        session.TechnoPending = session.DesignPending = false;
        session.TechnoEntered = session.DesignEntered = false;
        outcome = runCalculation(session, dialogs);
    }
};

class PhaseChangeExample : public ::testing::TestWithParam<const char*> {};

TEST_P(PhaseChangeExample, BalancesItsHeatOverTheSurface) {
    ExampleRun run(GetParam());
    ASSERT_EQ(run.outcome, RunOutcome::Results) << run.log.str();
    const RunResults& r = run.session.Results;
    const TechnSet& tube = run.session.Problem.TubeStream;
    const TechnSet& shell = run.session.Problem.ShellStream;
    const DesignRecord& d = run.session.Problem.Design;
    const Real G1 = run.session.TubeFlow, G2 = run.session.ShellFlow;
    ASSERT_TRUE(r.produced);
    EXPECT_TRUE(r.converged);
    EXPECT_GT(G1, 0);
    EXPECT_GT(G2, 0);
    EXPECT_FALSE(run.dialogs.graphs().empty()) << "--plot needs the profile";
    const Real installed = d.ParallelFlows * d.TubeCount * kPi *
                           (d.OuterDiameter + d.InnerDiameter) / 2 * d.TubeLength;
    EXPECT_LT(relative(r.InstalledSurface, installed), 1e-15L);
    EXPECT_LT(relative(r.Surface, r.HeatFlow / (r.HeatFlux * 3600)), 1e-15L);

    if (changesPhase(tube) && changesPhase(shell)) {
        // Boiling against condensation: one latent heat each, at its own
        // saturation temperature, the whole difference of the saturation
        // temperatures across the two films.
        const bool boilingInTubes =
            tube.ProcessCode == static_cast<std::uint8_t>(ProcessCode::Boiling);
        const Real Tb = boilingInTubes ? tube.Temperature : shell.Temperature;
        const Real Tc = boilingInTubes ? shell.Temperature : tube.Temperature;
        ASSERT_GT(Tc, Tb + 1);
        const Real r1 = mixtureOf(tube, tube.Temperature).LatentHeat;
        const Real r2 = mixtureOf(shell, boilingInTubes ? Tc : Tb).LatentHeat;
        EXPECT_LT(relative(G1 * r1 * 1000, r.HeatFlow), 1e-9L);
        EXPECT_LT(relative(G2 * r2 * 1000, r.HeatFlow), 1e-9L);
        EXPECT_LT(relative(r.OverallCoefficient * (Tc - Tb), r.HeatFlux), 1e-15L);
        EXPECT_LT(relative(1 / r.OverallCoefficient,
                           1 / r.TubeCoefficient + 1 / r.ShellCoefficient + d.WallResistance),
                  1e-6L);
        // A sensible design: the surface needed lies within the one installed.
        EXPECT_LT(r.Surface, installed);
        EXPECT_GT(r.Surface, 0.5L * installed);
        return;
    }

    const bool phaseChangeInTubes = changesPhase(tube);
    const TechnSet& phaseChange = phaseChangeInTubes ? tube : shell;
    const TechnSet& singlePhase = phaseChangeInTubes ? shell : tube;
    const Real Ts = phaseChange.Temperature, Tin = singlePhase.Temperature,
               Tout = r.OutletTemperature;
    const bool boiling = phaseChange.ProcessCode == static_cast<std::uint8_t>(ProcessCode::Boiling);
    const Real limit = boiling && phaseChangeInTubes ? 5 : 1;
    ASSERT_TRUE(r.hasOutlet);
    EXPECT_EQ(r.outletSide, phaseChangeInTubes ? 2 : 1);
    if (boiling) {
        EXPECT_LT(Tout, Tin);
        EXPECT_GE(Tout, Ts + limit);
    } else {
        EXPECT_GT(Tout, Tin);
        EXPECT_LE(Tout, Ts - limit);
    }
    const Real Gpc = phaseChangeInTubes ? G1 : G2, Gsp = phaseChangeInTubes ? G2 : G1;
    const Real cpMean =
        (mixtureOf(singlePhase, Tin).HeatCapacity + mixtureOf(singlePhase, Tout).HeatCapacity) / 2;
    EXPECT_LT(relative(Gpc * mixtureOf(phaseChange, Ts).LatentHeat * 1000, r.HeatFlow), 1e-9L);
    EXPECT_LT(relative(Gsp * cpMean * std::fabs(Tout - Tin), r.HeatFlow), 1e-9L);
    EXPECT_LT(relative(r.Surface, installed), 2e-4L);
    const Real dIn = std::fabs(Ts - Tin), dOut = std::fabs(Ts - Tout);
    EXPECT_LT(relative(r.HeatFlow / 3600,
                       r.OverallCoefficient * installed * (dIn - dOut) / std::log(dIn / dOut)),
              2e-4L);
}

INSTANTIATE_TEST_SUITE_P(Examples, PhaseChangeExample,
                         ::testing::Values("steam-kettle-reboiler", "ethanol-water-condenser",
                                           "steam-thermosiphon-reboiler", "hot-water-reboiler",
                                           "steam-water-heater", "hot-water-kettle"));

}  // namespace
}  // namespace vexamo::cli
