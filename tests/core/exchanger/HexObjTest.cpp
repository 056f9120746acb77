#include <gtest/gtest.h>

#include <limits>

#include "PairRig.h"
#include "common/Errors.h"
#include "control/Session.h"
#include "exchanger/HexObj.h"

namespace vexamo {
namespace {

// A pair whose calculation is scripted by the test.
class ScriptedObj : public THexObj {
public:
    using THexObj::THexObj;
    std::function<void(ScriptedObj&, Real& tubeFlow, Real& shellFlow, RunResults&)> script;

protected:
    void Calculate(Real& G1, Real& G2, RunResults& r) override { script(*this, G1, G2, r); }
};

// The scripted pair on the pair rig.
struct Frame {
    test::PairRig rig;
    std::unique_ptr<ScriptedObj> made = rig.make<ScriptedObj>();
    ScriptedObj& object = *made;
    Session& session = rig.session;
    test::FakeDialogs& dialogs = rig.dialogs;
};

TEST(THexObj, InitialApproximationAndSlowConvergenceDialogs) {
    Frame f;
    f.dialogs.expect("iteration.initial_approximation", false)
        .expect("iteration.initial_approximation", true)
        .expect("iteration.initial_approximation", InputAnswer{false, false, 55.5L, 0, "55.5"})
        .expect("iteration.slow_convergence", true)
        .expect("iteration.slow_convergence", InputAnswer{false, false, 0.75L, 0, "0.75"})
        .expect("iteration.slow_convergence", false);
    Real T = 42.125L;
    f.object.AskInitialApproximation(T);
    EXPECT_EQ(T, 42.125L);  // No keeps the program's value
    f.object.AskInitialApproximation(T);
    EXPECT_EQ(T, 55.5L);
    EXPECT_EQ(f.dialogs.inputRequests.at(0).initialText, "42.125") << "preset to the current value";

    Real C = 0.5L;
    std::uint16_t count = 161;
    bool goOn = false;
    f.object.HandleSlowConvergence(C, count, goOn);
    EXPECT_EQ(C, 0.75L);
    EXPECT_EQ(count, 0);  // the next question only after the limit again
    EXPECT_TRUE(goOn);
    count = 161;
    f.object.HandleSlowConvergence(C, count, goOn);
    EXPECT_FALSE(goOn);
    EXPECT_EQ(count, 161);
    EXPECT_EQ(C, 0.75L);
}

TEST(THexObj, SpeedWarningOnlyAboveTwoAndAHalf) {
    for (Real speed : {2.5L, 2.5000001L}) {
        Frame f;
        f.object.script = [speed](ScriptedObj&, Real&, Real&, RunResults& r) {
            r.produced = true;
            r.HeatFlow = 3600 * 1000;
            r.HeatFlux = 100;
            r.OverallCoefficient = 500;
            r.Speed = speed;
        };
        EXPECT_TRUE(f.object.ReportResults(1000, 2000));
        EXPECT_EQ(f.session.Results.Surface, 10);
        EXPECT_EQ(f.dialogs.messages.size(), speed > 2.5L ? 1u : 0u);
        EXPECT_NE(f.session.Report.text().find(
                      "  Surface of heat exchange:                          10 m^2;"),
                  std::string::npos);
    }
}

// A Run that fails says so in the report, with the reason: the report of a
// failed Run no longer stops at its initial data.
TEST(THexObj, AFailedCalculationWritesWhyThereAreNoResults) {
    Frame f;
    f.object.script = [](ScriptedObj&, Real&, Real&, RunResults&) {
        throw NumericalError("division by zero");
    };
    EXPECT_FALSE(f.object.ReportResults(1, 1));
    const std::string report = f.session.Report.text();
    EXPECT_NE(report.find("without results (the initial data are to be checked)"),
              std::string::npos)
        << report;
    EXPECT_NE(report.find("division by zero"), std::string::npos) << report;
    EXPECT_EQ(f.session.Results.reason, "division by zero");
    ASSERT_EQ(f.dialogs.messages.size(), 1u);
    EXPECT_EQ(f.dialogs.messages[0].text, "Error\r\ndivision by zero");
}

// Results that cannot be reported (no heat flux, so no surface; a flow
// beyond any exchanger) end the Run without results, and the flows the
// calculation wrote are put back as they were given.
TEST(THexObj, ResultsThatCannotBeReportedLeaveTheFlowsAsGiven) {
    for (Real heatFlux : {0.0L, 100.0L}) {
        Frame f;
        f.object.script = [heatFlux](ScriptedObj&, Real& G1, Real& G2, RunResults& r) {
            G1 = 2500;
            G2 = heatFlux > 0 ? std::numeric_limits<Real>::infinity() : 3000;
            r.produced = true;
            r.HeatFlow = 3600 * 1000;
            r.HeatFlux = heatFlux;
            r.OverallCoefficient = 500;
        };
        EXPECT_FALSE(f.object.ReportResults(1000, 2000));
        EXPECT_FALSE(f.session.Results.produced);
        ASSERT_EQ(f.dialogs.messages.size(), 1u);
        EXPECT_EQ(f.dialogs.messages[0].id, "calculation.error");
        EXPECT_EQ(f.session.TubeFlow, 1000) << static_cast<double>(heatFlux);
        EXPECT_EQ(f.session.ShellFlow, 2000) << static_cast<double>(heatFlux);
    }
}

}  // namespace
}  // namespace vexamo
