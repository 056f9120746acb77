#include <gtest/gtest.h>

#include <cmath>

#include "PairRig.h"
#include "common/Constants.h"
#include "common/Errors.h"
#include "common/NumberFormat.h"
#include "control/Session.h"
#include "exchanger/Correlations.h"
#include "exchanger/HexObj.h"
#include "exchanger/PressureLoss.h"
#include "support/FakeDialogs.h"

namespace vexamo {
namespace {

using test::FakeDialogs;

Real relative(Real a, Real b) { return std::fabs(a - b) / std::fabs(b); }

// --- Tube space -----------------------------------------------------------

TEST(TubePressureLoss, UBendTableAndItsEnds) {
    EXPECT_EQ(UBendCoefficient(1), 0.21L);
    EXPECT_EQ(UBendCoefficient(6), 0.09L);
    EXPECT_EQ(UBendCoefficient(50), 0.03L);
    EXPECT_NEAR(static_cast<double>(UBendCoefficient(3)), 0.13, 1e-15);
    EXPECT_NEAR(static_cast<double>(UBendCoefficient(40)), 0.035, 1e-15);
    // Outside the data the end values, never a read outside the table.
    EXPECT_EQ(UBendCoefficient(0.4L), 0.21L);
    EXPECT_EQ(UBendCoefficient(500), 0.03L);
    EXPECT_EQ(TubeRoughness_mm(0), 0.02L);
    EXPECT_EQ(TubeRoughness_mm(6), 0.0015L);
    EXPECT_THROW((void)TubeRoughness_mm(7), CalculationAborted);
}

TubeFrictionState isothermal(Real Re) {
    TubeFrictionState s;
    s.reynoldsIn = s.reynoldsMean = Re;
    s.pecletIn = Re * 5;
    s.prandtlRatioMean = s.viscosityRatioIn = s.viscosityRatioMean = 1;
    s.innerDiameter = 0.021L;
    s.length = 3;
    s.passes = 2;
    s.roughness_mm = 0.02L;
    return s;
}

// The friction factor against the literature in isothermal flow, and the
// regime boundaries of the tube space.
TEST(TubePressureLoss, FrictionFactorRegimes) {
    // Laminar, viscous: Hagen-Poiseuille 64/Re.
    EXPECT_LT(relative(TubeFrictionFactor(isothermal(1000)), 64.0L / 1000), 1e-15L);
    // Smooth turbulent: Blasius 0.3164 Re^-0.25 at Re 1e5 within 2 %.
    EXPECT_LT(relative(TubeFrictionFactor(isothermal(1e5L)), 0.3164L * std::pow(1e5L, -0.25L)),
              0.02L);
    // Fully rough (2 delta/d >= 5/sqrt(Re)): the Nikuradse limit 1/sqrt(l) =
    // 1.14 + 2 lg(d/delta): 0.03789 for d/delta = 100.
    TubeFrictionState rough = isothermal(1e7L);
    rough.roughness_mm = 0.21L;
    EXPECT_NEAR(static_cast<double>(TubeFrictionFactor(rough)),
                1 / std::pow(1.14 + 2 * std::log10(100.0), 2), 1e-12);

    // Re exactly 2300 is turbulent: the smooth form, not 64/Re.
    EXPECT_TRUE(TubeFlowTurbulent(2300));
    EXPECT_FALSE(TubeFlowTurbulent(2299.999L));
    const Real at2300 = TubeFrictionFactor(isothermal(2300));
    EXPECT_NEAR(static_cast<double>(at2300), 1 / std::pow(1.82 * std::log10(2300.0) - 1.64, 2),
                1e-12);

    // Ra exactly 800000 is viscous-gravitational: 64/Re (1 + 0.22 (Ra/Re)^0.15).
    TubeFrictionState gravity = isothermal(1000);
    gravity.rayleighIn = 800000;
    gravity.rayleighMean = 1e6L;
    EXPECT_LT(relative(TubeFrictionFactor(gravity),
                       64.0L / 1000 * (1 + 0.22L * std::pow(1000.0L, 0.15L))),
              1e-15L);
    gravity.rayleighIn = 799999;
    EXPECT_LT(relative(TubeFrictionFactor(gravity), 64.0L / 1000), 1e-15L);

    // X = d Pe/(L z) exactly 1500 takes C = 2.3, m = -0.3: with mu/mu_w = 2 the
    // factor is 2^(-n) 64/Re, n = 2.3 1500^-0.3 2^0.062.
    TubeFrictionState heated = isothermal(1000);
    heated.viscosityRatioIn = 2;
    heated.pecletIn = 1500 * heated.length * heated.passes / heated.innerDiameter;
    const Real n = 2.3L * std::pow(1500.0L, -0.3L) * std::pow(2.0L, 0.062L);
    EXPECT_LT(relative(TubeFrictionFactor(heated), std::pow(2.0L, -n) * 64 / 1000), 1e-14L);
    // A heated liquid (lower viscosity at the wall) has less friction.
    EXPECT_LT(TubeFrictionFactor(heated), 64.0L / 1000);
}

// An exchanger object whose calculation is the tube-side loss of water.
class LossProbe : public THexObj {
public:
    using THexObj::THexObj;

protected:
    void Calculate(Real&, Real&, RunResults&) override {}
};

// The arguments of the tube-side loss for the probe built on the pair rig.
struct TubeLossRig {
    test::PairRig pair;
    Session& session = pair.session;
    FakeDialogs& dialogs = pair.dialogs;
    std::unique_ptr<LossProbe> object;
    explicit TubeLossRig(LanguageFlagType lang = kEnglish) {
        session.LanguageFlag = lang;
        pair.tube() = pair.shell() = test::medium(session.Data, ProcessCode::Heating, 40, 0);
        object = pair.make<LossProbe>();
    }
    // Water at 0.5 m/s in 21 mm tubes, 3 m long, 40 -> 60 degC: Re about 15000.
    Real run(int passes, Real speed = 0.5L) {
        THexObj::TubeLossArguments a;
        a.passes = passes;
        a.meanTemperature = 50;
        a.inletTemperature = 40;
        a.prandtlRatioMean = a.viscosityRatioIn = a.viscosityRatioMean = 1;
        a.speed = speed;
        a.innerDiameter = 0.021L;
        a.length = 3;
        return object->TubeSidePressureLoss(a);
    }
};

TEST(TubePressureLoss, EndsBendsAndRoughnessQuestions) {
    {
        // One pass: the U-tube box is hidden, its letter means nothing.
        TubeLossRig rig;
        rig.dialogs.expect("tube_loss.ends", AlternAnswer{0, 'y'})
            .expect("tube_loss.roughness", InputAnswer{false, false, 0.05L, 0, "0.05"});
        const Real dp = rig.run(1);
        EXPECT_FALSE(rig.dialogs.alternRequests.at(0).showCheckBoxes);
        EXPECT_EQ(rig.object->TubeLoss.zetaBend, 0);
        EXPECT_EQ(rig.object->TubeLoss.zetaEnds, 0.5L);
        EXPECT_EQ(rig.object->TubeLoss.roughness_mm, 0.05L);
        // Darcy with the ends: 0.5^2 (3/0.021 lambda + 0.5) rho/2 with rho of water at 50 degC.
        const std::array<Pro, 1> water = {rig.session.Data.SubstanceTable.at(1)};
        const Real rho = MixtureAt(water, std::array<Real, 7>{100}, 1, 50).Density;
        EXPECT_LT(relative(dp, 0.25L * (3 / 0.021L * rig.object->TubeLoss.lambda + 0.5L) * rho / 2 /
                                   1000),
                  1e-15L);
        EXPECT_EQ(rig.object->ExtraReport, "  Losses of pressure in trumpet space:             " +
                                               formatGeneral(dp, 6, 2) + " kPa.\r\n");
    }
    {
        // Round-edged U-tubes: zeta_ends = 0.1 z; the bend R/d = 4 gives A = 0.11;
        // "Default" roughness asks the material, row "6" (brass, copper).
        TubeLossRig rig;
        rig.dialogs.expect("tube_loss.ends", AlternAnswer{1, 'y'})
            .expect("tube_loss.bend_radius", InputAnswer{false, false, 0.084L, 0, "0.084"})
            .expect("tube_loss.roughness", InputAnswer{false, true, 0, 0, "Default"})
            .expect("tube_loss.material", AlternAnswer{6, 'y'});
        rig.run(4);
        EXPECT_TRUE(rig.dialogs.alternRequests.at(0).showCheckBoxes);
        EXPECT_EQ(rig.dialogs.alternRequests.at(0).checkBoxId, "tube_loss.u_tubes");
        EXPECT_FALSE(rig.dialogs.alternRequests.at(0).defaultCheckBox1);
        EXPECT_NEAR(static_cast<double>(rig.object->TubeLoss.zetaEnds), 0.1 * 4, 1e-15);
        EXPECT_NEAR(static_cast<double>(rig.object->TubeLoss.zetaBend), 1.4 * 4 * 0.11 / 2, 1e-15);
        EXPECT_EQ(rig.object->TubeLoss.roughness_mm, 0.0015L);
        const AlternRequest& material = rig.dialogs.alternRequests.at(1);
        ASSERT_EQ(material.alternatives.size(), 7u);
        EXPECT_EQ(material.keywords.at(6), "6");
        EXPECT_EQ(material.alternatives.at(6), "clear solid-drawn from brass, copper");
    }
    {
        // Laminar flow asks no roughness; a cancelled bend radius ends the calculation.
        TubeLossRig rig(kRussian);
        rig.dialogs.expect("tube_loss.ends", AlternAnswer{0, 'x'});
        rig.run(2, 0.05L);
        EXPECT_EQ(rig.dialogs.inputRequests.size(), 0u);
        EXPECT_EQ(rig.dialogs.alternRequests.at(0).question,
                  "Охарактеризуйте трубы в трубном пучке");
        EXPECT_EQ(rig.object->ExtraReport.rfind(
                      "  Потери давления в трубном пространстве:            ", 0),
                  0u);
        EXPECT_NE(rig.object->ExtraReport.find(" кПа.\r\n"), std::string::npos);

        TubeLossRig cancelled;
        cancelled.dialogs.expect("tube_loss.ends", AlternAnswer{0, 'y'})
            .expect("tube_loss.bend_radius", InputAnswer{true, false, 0, 0, ""});
        EXPECT_THROW(cancelled.run(2), CalculationAborted);
    }
}

// --- Shell space ----------------------------------------------------------

// A 0.6 m casing with 120 tubes of 25 mm at the default pitch 35 mm, water.
ShellLossInput shellCase(bool staggered, int passes) {
    ShellLossInput in;
    in.shellPasses = passes;
    in.tubeCount = 120;
    in.staggered = staggered;
    in.tubeLength = 3;
    in.notchHeight = 0.13L;
    in.flow_kg_h = 60000;
    in.tubeDiameter = 0.025L;
    in.casingDiameter = 0.6L;
    in.viscosity = 0.0006L;
    in.wallViscosity = 0.0004L;
    in.density = 985;
    in.gap.headType = 1;
    in.gap.pitch = 0.035L;
    in.gap.casingGap = 1.6001L;
    in.gap.holeClearance = 0.4L;
    in.gap.sealingStrips = 0;
    in.gap.inletDistance = in.gap.outletDistance = 3000.0L / passes;
    in.bundleClearance_mm = 12;
    return in;
}

TEST(ShellPressureLoss, CorrectionFactorEdges) {
    // R_S = 2 for any n when both nozzle distances equal the central spacing.
    for (Real Re : {50.0L, 100.0L, 5000.0L}) EXPECT_EQ(ShellEndCorrection(Re, 0.75L, 750, 750), 2);
    // Re exactly 100: C_bh = 4.5 (its test is Re > 100), but n = 0.2 and the
    // turbulent window form (their test is Re >= 100).
    EXPECT_LT(relative(ShellBypassCorrection(100, 0.3L, 0, 10), std::exp(-4.5L * 0.3L)), 1e-15L);
    EXPECT_LT(relative(ShellBypassCorrection(100.001L, 0.3L, 0, 10), std::exp(-3.7L * 0.3L)),
              1e-15L);
    EXPECT_LT(relative(ShellEndCorrection(100, 0.5L, 1000, 1000), 2 * std::pow(0.5L, 1.8L)),
              1e-15L);
    EXPECT_LT(relative(ShellEndCorrection(99.999L, 0.5L, 1000, 1000), 2 * 0.5L), 1e-15L);
    auto window = [](Real Re) {
        return ShellWindowLoss(Re, 0.8L, 3, 4, 20, 1000, 1e-3L, 0.035L, 0.025L, 0.75L, 0.05L);
    };
    EXPECT_LT(relative(window(100), 0.8L * 3 * (2 + 0.6L * 4) * 400 / 2000 * 0.001L), 1e-15L);
    EXPECT_GT(relative(window(99.999L), window(100)), 0.05L);  // the viscous form below
    // Nss = 0: R_B = exp(-C_bh F_sbp). Sealing strips reduce the bypass; from
    // one pair per two rows on it is closed (R_B = 1), never above 1.
    EXPECT_LT(relative(ShellBypassCorrection(5000, 0.3L, 0, 10), std::exp(-3.7L * 0.3L)), 1e-15L);
    EXPECT_GT(ShellBypassCorrection(5000, 0.3L, 2, 10), ShellBypassCorrection(5000, 0.3L, 0, 10));
    EXPECT_EQ(ShellBypassCorrection(5000, 0.3L, 5, 10), 1);
    EXPECT_EQ(ShellBypassCorrection(5000, 0.3L, 6, 10), 1);
    // Leakage: no leakage area, no correction.
    EXPECT_EQ(ShellLeakageCorrection(0, 1e-30L, 0.2L), 1);
    EXPECT_LT(ShellLeakageCorrection(20000, 10000, 0.2L), 1);
}

// The geometry of the stream analysis against plane geometry.
TEST(ShellPressureLoss, GeometryOfTheBaffledBundle) {
    for (bool staggered : {true, false}) {
        const ShellLossInput in = shellCase(staggered, 4);
        const ShellLossBreakdown b = ShellSideLoss(in);
        const Real Dc = 0.6L, R = Dc / 2, h = 0.13L, t = 0.035L, d = 0.025L;
        // The window: a circular segment of height h.
        const Real segment =
            R * R * std::acos((R - h) / R) - (R - h) * std::sqrt(2 * R * h - h * h);
        EXPECT_LT(relative(b.Swg, segment), 1e-15L);
        EXPECT_NEAR(static_cast<double>(b.Bc), 100 * 0.13 / 0.6, 1e-13);
        EXPECT_EQ(b.Lbc, 0.75L);
        EXPECT_LT(b.Sw, b.Swg);
        // Cross flow through the bundle: the free share of a row can be no more
        // than the room between the tubes of that row (for the rotated square,
        // tubes sqrt2 t apart in a row): Sm - bypass lane < (1 - d/(row pitch)) Dctl Lbc.
        const Real rowPitch = staggered ? std::sqrt(2.0L) * t : t;
        const Real rowShare = (b.Sm / b.Lbc - in.bundleClearance_mm / 1000) / b.Dctl;
        EXPECT_LE(rowShare, 1 - d / rowPitch + 1e-3L);
        // ... and for the staggered bank the diagonal gaps t - d (two per row pitch) govern.
        if (staggered) {
            EXPECT_NEAR(static_cast<double>(rowShare),
                        2 * (0.035 - 0.025) / (std::sqrt(2.0) * 0.035), 2e-4);
        }
        EXPECT_EQ(b.Nc, std::round(Dc / (staggered ? 0.707L * t : t) * (1 - 2 * b.Bc / 100)));
        EXPECT_EQ(b.Gc, 60000 / (b.Sm * 3600));
        EXPECT_EQ(b.total, b.crossFlow + b.windows + b.ends);
        EXPECT_GT(b.total, 0);
    }
}

TEST(ShellPressureLoss, LossesAndTheViscosityCorrection) {
    const ShellLossBreakdown four = ShellSideLoss(shellCase(true, 4));
    // Two compartments: one baffle, no central cross flow.
    const ShellLossBreakdown two = ShellSideLoss(shellCase(true, 2));
    EXPECT_EQ(two.crossFlow, 0);
    EXPECT_GT(two.windows, 0);
    EXPECT_GT(four.crossFlow, 0);
    // A wall warmer than the liquid (mu_w < mu) lowers the friction of the bank:
    // the ideal-bank loss goes with (mu_w/mu)^0.14.
    ShellLossInput isothermal = shellCase(true, 4);
    isothermal.wallViscosity = isothermal.viscosity;
    const ShellLossBreakdown same = ShellSideLoss(isothermal);
    EXPECT_LT(relative(four.idealBank, same.idealBank * std::pow(0.0004L / 0.0006L, 0.14L)),
              1e-15L);
    EXPECT_LT(four.idealBank, same.idealBank);
    // Doubling the flow raises every term (turbulent, about the square).
    ShellLossInput doubled = shellCase(true, 4);
    doubled.flow_kg_h *= 2;
    const Real ratio = ShellSideLoss(doubled).total / four.total;
    EXPECT_GT(ratio, 3.2L);
    EXPECT_LT(ratio, 4.01L);
    // Geometry without room between the tubes is an error, not a number.
    ShellLossInput tight = shellCase(true, 4);
    tight.gap.pitch = 0.025L;
    EXPECT_THROW((void)ShellSideLoss(tight), NumericalError);
    EXPECT_THROW((void)ShellSideLoss(shellCase(true, 1)), NumericalError);
}

}  // namespace
}  // namespace vexamo
