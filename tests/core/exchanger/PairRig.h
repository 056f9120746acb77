#pragma once
// A Run of one process-pair class (or of an exchanger object made for a
// test) on records built in the test: water or a listed substance on both
// sides, a phase-change medium given by its saturation temperature, a
// scripted port. Every pair test runs its pair on this rig.
#include <memory>
#include <string>
#include <vector>

#include "control/RunContexts.h"
#include "control/Session.h"
#include "properties/PropertyFunctions.h"
#include "support/FakeDialogs.h"

namespace vexamo::test {

// A medium of built-in substances (0 ethanol, 1 water, 2 methanol, 3 ethyl
// acetate) with mass percentages; `temperature` is the inlet temperature of a
// heated or cooled medium, the saturation temperature of a condensing or
// boiling one.
inline TechnSet medium(const SubstanceData& data, ProcessCode process, Real temperature, Real flow,
                       std::vector<std::pair<int, Real>> parts = {{1, 100}}) {
    TechnSet t;
    t.ComponentCount = static_cast<std::uint16_t>(parts.size());
    for (std::size_t i = 0; i < parts.size(); ++i) {
        t.ComponentIndex[i] = static_cast<std::uint16_t>(parts[i].first);
        t.Components[i] = data.SubstanceTable.at(static_cast<std::size_t>(parts[i].first));
        t.Concentration[i] = parts[i].second;
    }
    t.ProcessCode = static_cast<std::uint8_t>(process);
    const bool phaseChange =
        process == ProcessCode::Condensation || process == ProcessCode::Boiling;
    t.GivenState = phaseChange ? 'p' : 't';
    t.PhaseChange = process == ProcessCode::Condensation ? 'x'
                    : process == ProcessCode::Boiling    ? 'y'
                                                         : 0;
    t.SinglePhase = phaseChange ? 0 : 1;
    t.Temperature = temperature;
    // A condensing or boiling medium is under its saturation pressure at that
    // temperature (Raoult's law over the mole fractions of a mixture).
    if (phaseChange) {
        Real moles = 0, pressure = 0;
        for (const auto& [index, percent] : parts)
            moles += percent / data.SubstanceTable.at(static_cast<std::size_t>(index)).MolarMass;
        for (const auto& [index, percent] : parts) {
            const Pro& p = data.SubstanceTable.at(static_cast<std::size_t>(index));
            pressure += percent / p.MolarMass / moles *
                        VapourPressure(data, p.EnglishName, (temperature + 273.15L) / 273.15L);
        }
        t.Pressure = pressure;
    }
    t.FlowRate = flow;
    t.AirFactor = 1;
    return t;
}

// 120 steel tubes 25 x 2 mm, 3 m, two tube passes, casing 0.6 m, staggered,
// horizontal: an installed surface of 120 pi 0.023 3 = 26.01 m2.
inline DesignRecord heaterDesign() {
    DesignRecord d;
    d.TubeCount = 120;
    d.TubeLength = 3;
    d.OuterDiameter = 0.025L;
    d.InnerDiameter = 0.021L;
    d.TubePasses = 2;
    d.ShellPasses = 1;
    d.RowsOnVertical = 12;
    d.ParallelFlows = 1;
    d.ShellDiameter = 0.6L;
    d.MaterialIndex = 4;
    d.WallResistance = wallResistance(d.OuterDiameter, d.InnerDiameter, 46.5L);
    d.Surface = heatExchangeSurface(1, 120, d.OuterDiameter, d.InnerDiameter, d.TubeLength);
    d.StaggeredTubes = 1;
    d.HorizontalBundle = 1;
    return d;
}

// The questions of the tube-side loss in turbulent flow: sharp tube ends, a
// roughness of 0.1 mm typed.
inline void expectTubeLossAnswers(FakeDialogs& dialogs) {
    dialogs.expect("tube_loss.ends", AlternAnswer{0, 'x'})
        .expect("tube_loss.roughness", InputAnswer{false, false, 0.1L, 0, "0.1"});
}

struct PairRig {
    Session session;
    FakeDialogs dialogs;
    std::uint8_t flowSide = 0;
    std::vector<std::string> progress;  // the last report line after every change

    PairRig() {
        session.Problem.Design = heaterDesign();
        session.Report.setListener([this] {
            if (session.Report.lineCount()) progress.push_back(session.Report.lines().back());
        });
    }
    TechnSet& tube() { return session.Problem.TubeStream; }
    TechnSet& shell() { return session.Problem.ShellStream; }
    DesignRecord& design() { return session.Problem.Design; }
    const RunResults& results() const { return session.Results; }
    // The last progress line written (English or Russian).
    std::string lastProgressLine() const {
        for (auto it = progress.rbegin(); it != progress.rend(); ++it)
            if (it->rfind(" Number of iteration ", 0) == 0 || it->rfind(" Число итераций ", 0) == 0)
                return *it;
        return {};
    }

    template <typename Obj>
    std::unique_ptr<Obj> make() {
        return std::make_unique<Obj>(ExchangerArguments{tube(), shell(), flowSide, design(), true,
                                                        exchangerContext(session), dialogs});
    }
    // Builds the object, runs ReportResults and keeps the object for inspection.
    template <typename Obj>
    bool run(std::unique_ptr<Obj>& object) {
        object = make<Obj>();
        return object->ReportResults(tube().FlowRate, shell().FlowRate);
    }
    // The same when the object itself is of no interest.
    template <typename Obj>
    bool run() {
        std::unique_ptr<Obj> object;
        return run(object);
    }
};

}  // namespace vexamo::test

#include <gtest/gtest.h>

#include <cmath>

#include "common/Constants.h"
#include "exchanger/Correlations.h"
#include "exchanger/OutletIteration.h"

namespace vexamo::test {

inline Real relative(Real a, Real b) { return std::fabs(a - b) / std::fabs(b); }

inline PropertySet mixtureOf(const TechnSet& t, Real temperature) {
    return MixtureAt(t.Components, t.Concentration, t.ComponentCount, temperature);
}

// The surface of the tubes, from the design record alone.
inline Real tubeSurface(const DesignRecord& d) {
    return d.ParallelFlows * d.TubeCount * kPi * (d.OuterDiameter + d.InnerDiameter) / 2 *
           d.TubeLength;
}

// What every result of a pair with one single-phase medium must satisfy,
// checked from the records and independent property evaluations: the outlet
// between the inlet and saturation (at least `limit` from it), both media
// carrying the heat flow, the required surface equal to the installed one,
// the log-mean law over the installed surface, and the overall coefficient
// as the film and wall resistances in series.
inline void expectSaturationPairPhysics(PairRig& rig, const TOutletIterationObj& hx,
                                        bool phaseChangeInTubes, Real limit) {
    const RunResults& r = rig.results();
    ASSERT_TRUE(r.produced);
    EXPECT_TRUE(r.converged);
    const Real Ts = hx.SaturationTemperature, Tin = hx.SinglePhaseInlet, Tout = r.OutletTemperature;
    const bool heated = Ts > Tin;
    if (heated) {
        EXPECT_GT(Tout, Tin);
        EXPECT_LE(Tout, Ts - limit);
    } else {
        EXPECT_LT(Tout, Tin);
        EXPECT_GE(Tout, Ts + limit);
    }
    EXPECT_EQ(r.outletSide, phaseChangeInTubes ? 2 : 1);
    const TechnSet& phaseChange = phaseChangeInTubes ? rig.tube() : rig.shell();
    const TechnSet& singlePhase = phaseChangeInTubes ? rig.shell() : rig.tube();
    const Real Gpc = phaseChangeInTubes ? rig.session.TubeFlow : rig.session.ShellFlow;
    const Real Gsp = phaseChangeInTubes ? rig.session.ShellFlow : rig.session.TubeFlow;
    EXPECT_GT(Gpc, 0);
    EXPECT_GT(Gsp, 0);
    const Real latent = mixtureOf(phaseChange, Ts).LatentHeat;
    const Real cpMean =
        (mixtureOf(singlePhase, Tin).HeatCapacity + mixtureOf(singlePhase, Tout).HeatCapacity) / 2;
    EXPECT_LT(relative(Gpc * latent * 1000, r.HeatFlow), 1e-12L) << "phase-change medium";
    EXPECT_LT(relative(Gsp * cpMean * std::fabs(Tout - Tin), r.HeatFlow), 1e-12L)
        << "single-phase medium";
    const Real installed = tubeSurface(rig.design());
    EXPECT_LT(relative(r.InstalledSurface, installed), 1e-15L);
    EXPECT_LT(relative(r.Surface, installed), 2e-4L)
        << "required " << static_cast<double>(r.Surface);
    const Real dIn = std::fabs(Ts - Tin), dOut = std::fabs(Ts - Tout);
    const Real lmtd = (dIn - dOut) / std::log(dIn / dOut);
    EXPECT_LT(relative(r.HeatFlow / 3600, r.OverallCoefficient * installed * lmtd), 2e-4L);
    EXPECT_LT(relative(1 / r.OverallCoefficient, 1 / r.TubeCoefficient + 1 / r.ShellCoefficient +
                                                     rig.design().WallResistance),
              1e-6L);
}

}  // namespace vexamo::test
