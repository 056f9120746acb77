#include "exchanger/PressureLoss.h"

#include <array>
#include <cmath>

#include "common/Constants.h"
#include "common/Errors.h"
#include "common/NumberFormat.h"
#include "dialogs/Dialogs.h"
#include "exchanger/Correlations.h"
#include "exchanger/HexObj.h"
#include "exchanger/PressureLossTexts.h"

namespace vexamo {

namespace {

// Relative bend radius R/Din and the loss coefficient A of one U-bend.
constexpr std::array<Real, 7> kBendRadius = {1, 2, 4, 6, 15, 30, 50};
constexpr std::array<Real, 7> kBendCoefficient = {0.21L, 0.15L, 0.11L, 0.09L, 0.06L, 0.04L, 0.03L};

// Height of the wall asperities of the tube materials, mm.
constexpr std::array<Real, 7> kRoughness_mm = {0.02L, 0.04L, 0.04L, 0.15L, 0.2L, 0.015L, 0.0015L};

Real positiveFinite(Real value, const char* what) {
    if (!(value > 0) || !std::isfinite(value))
        throw NumericalError(std::string(what) + " is " + formatShortest(value) +
                             ": the pressure loss cannot be computed");
    return value;
}

}  // namespace

// --- Tube space -----------------------------------------------------------

Real UBendCoefficient(Real ratio) {
    if (std::isnan(ratio)) throw NumericalError("the relative bend radius is not a number");
    if (ratio <= kBendRadius.front()) return kBendCoefficient.front();
    if (ratio >= kBendRadius.back()) return kBendCoefficient.back();
    std::size_t i = 1;
    while (kBendRadius[i] < ratio) ++i;
    const Real w = (ratio - kBendRadius[i - 1]) / (kBendRadius[i] - kBendRadius[i - 1]);
    return kBendCoefficient[i - 1] + w * (kBendCoefficient[i] - kBendCoefficient[i - 1]);
}

Real TubeRoughness_mm(int row) {
    if (row < 0 || row >= static_cast<int>(kRoughness_mm.size()))
        throw CalculationAborted("no tube material row " + std::to_string(row));
    return kRoughness_mm[static_cast<std::size_t>(row)];
}

bool TubeFlowTurbulent(Real reynoldsIn) { return reynoldsIn >= 2300; }

Real TubeFrictionFactor(const TubeFrictionState& s) {
    Real lambda = 0;
    if (TubeFlowTurbulent(s.reynoldsIn)) {
        const Real delta = s.roughness_mm;
        if (2 * delta / (1000 * s.innerDiameter) >= 5 / std::sqrt(s.reynoldsMean)) {
            const Real a = 2 * std::log10(1000 * s.innerDiameter / delta) + 1.14L;
            lambda = 1 / (a * a);
        } else {
            const Real a = 1.82L * std::log10(s.viscosityRatioMean * s.reynoldsMean) - 1.64L;
            lambda = 1 / (a * a);
        }
    } else if (s.rayleighIn >= 800000) {
        lambda = 64 / s.reynoldsMean * std::pow(s.prandtlRatioMean, -1.0L / 3.0L) *
                 (1 + 0.22L * std::pow(s.rayleighMean / s.reynoldsMean, 0.15L));
    } else {
        const Real X = s.innerDiameter * s.pecletIn / (s.length * s.passes);
        const Real C = X > 1500 ? 0.535L : 2.3L;
        const Real m = X > 1500 ? -0.1L : -0.3L;
        const Real n = C * std::pow(X, m) * std::pow(s.viscosityRatioIn, 0.062L);
        lambda = std::pow(s.viscosityRatioIn, -n) * 64 / s.reynoldsIn;
    }
    return positiveFinite(lambda, "the friction factor of the tube space");
}

Real TubePressureLoss_kPa(Real W, Real L, int z, Real lambda, Real Din, Real zetaEnds,
                          Real zetaBend, Real density) {
    return W * W * (L * z * lambda / Din + zetaEnds + zetaBend) * density / 2 * 0.001L;
}

Real THexObj::TubeSidePressureLoss(const TubeLossArguments& a) {
    namespace texts = pressureLossTexts;
    const int z = a.passes;
    const LanguageFlagType lang = m_lang;

    // 1. Tube ends; the U-tube box only with more than one pass.
    const AlternRequest ends = texts::tubeEndsRequest(lang, z != 1);
    const AlternAnswer endsAnswer = m_dialogs.ask(ends);
    Real zetaEnds = endsAnswer.index == 0 ? 0.5L * z : endsAnswer.index == 1 ? 0.2L * z : 0;
    Real zetaBend = 0;

    // 2. U-tubes: half the ends, and the bends.
    if (ends.showCheckBoxes && endsAnswer.letter == 'y') {
        zetaEnds = zetaEnds / 2;
        const InputAnswer answer = m_dialogs.ask(texts::bendRadiusRequest(lang));
        if (answer.cancelled || answer.isDefault || !(answer.real > 0))
            throw CalculationAborted(texts::bendRadiusRefused(lang));
        zetaBend = 1.4L * z * UBendCoefficient(answer.real / a.innerDiameter) / 2;
    }

    // 3. Properties at the inlet and at the mean temperature.
    const PropertySet inlet = tubeMixture(a.inletTemperature);
    const PropertySet mean = tubeMixture(a.meanTemperature);
    TubeFrictionState state;
    state.reynoldsIn = a.speed * a.innerDiameter * inlet.Density / inlet.Viscosity;
    state.pecletIn = state.reynoldsIn * inlet.Prandtl;
    state.reynoldsMean = a.speed * a.innerDiameter * mean.Density / mean.Viscosity;
    state.rayleighIn = a.rayleighIn;
    state.rayleighMean = a.rayleighMean;
    state.prandtlRatioMean = a.prandtlRatioMean;
    state.viscosityRatioIn = a.viscosityRatioIn;
    state.viscosityRatioMean = a.viscosityRatioMean;
    state.innerDiameter = a.innerDiameter;
    state.length = a.length;
    state.passes = z;

    // 4. Turbulent flow: the roughness, typed or from the material.
    if (TubeFlowTurbulent(state.reynoldsIn)) state.roughness_mm = askTubeRoughness_mm();

    // 5-6. Friction and the loss.
    const Real lambda = TubeFrictionFactor(state);
    const Real dp = TubePressureLoss_kPa(a.speed, a.length, z, lambda, a.innerDiameter, zetaEnds,
                                         zetaBend, mean.Density);
    positiveFinite(dp, "the pressure loss of the tube space");
    TubeLoss = {true, lambda, state.reynoldsIn, zetaEnds, zetaBend, state.roughness_mm, dp};

    // 7. The report line.
    ExtraReport += texts::tubeLossLine(lang, dp);
    return dp;
}

Real THexObj::askTubeRoughness_mm() {
    namespace texts = pressureLossTexts;
    const InputAnswer typed = m_dialogs.ask(texts::roughnessRequest(m_lang));
    // Cancel leaves the edit as it was shown: "Default".
    if (!typed.cancelled && !typed.isDefault) {
        if (!(typed.real > 0)) throw CalculationAborted(texts::roughnessRefused(m_lang));
        return typed.real;
    }
    const AlternAnswer chosen = m_dialogs.ask(texts::tubeMaterialRequest(m_lang));
    if (chosen.index < 0 || chosen.index >= static_cast<int>(kRoughness_mm.size()))
        throw CalculationAborted(texts::noTubeMaterial(m_lang));
    return TubeRoughness_mm(chosen.index);
}

// --- Shell space ----------------------------------------------------------

Real ShellLeakageCorrection(Real Ssb, Real Stb, Real Sm) {
    const Real rlm = (Ssb + Stb) / (1e6L * Sm);
    const Real rs = Ssb / (Ssb + Stb);
    const Real p = 0.8L - 0.15L * (1 + rs);
    return std::exp(-1.33L * (1 + rs) * std::pow(rlm, p));
}

Real ShellBypassCorrection(Real Re, Real Fsbp, Real Nss, Real Nc) {
    const Real rss = Nss / Nc;
    const Real Cbh = Re > 100 ? 3.7L : 4.5L;
    // From one strip pair per two rows on the bypass is closed: the factor
    // stays at 1 (the root would make it exceed the ideal bank).
    const Real open = 1 - std::cbrt(2 * rss);
    return open > 0 ? std::exp(-Cbh * Fsbp * open) : 1;
}

Real ShellEndCorrection(Real Re, Real Lbc, Real Lbi, Real Lbo) {
    const Real n = Re >= 100 ? 0.2L : 1;
    return std::pow(Lbc / (Lbi / 1000), 2 - n) + std::pow(Lbc / (Lbo / 1000), 2 - n);
}

Real ShellWindowLoss(Real Re, Real RL, int Nb, Real Ncw, Real Gw, Real rho, Real mu, Real t, Real d,
                     Real Lbc, Real Dw) {
    if (Re >= 100) return RL * Nb * (2 + 0.6L * Ncw) * Gw * Gw / (2 * rho) * 0.001L;
    return RL * Nb *
           (26 * Gw * mu / rho * (Ncw / (t - d) + Lbc / (Dw * Dw)) + 2 * Gw * Gw / (2 * rho)) *
           0.001L;
}

ShellLossBreakdown ShellSideLoss(const ShellLossInput& in) {
    if (in.shellPasses < 2)
        throw NumericalError("the stream analysis needs at least two baffle compartments");
    ShellLossBreakdown b;
    const Real Dc = in.casingDiameter, d = in.tubeDiameter, t = in.gap.pitch;
    const Real Lbb = in.bundleClearance_mm;
    const int Nsp = in.shellPasses;
    positiveFinite(Dc, "the casing diameter");
    positiveFinite(t - d, "the pitch minus the tube diameter");
    positiveFinite(in.notchHeight, "the height of the segment notch");

    // Geometry.
    b.Lbc = in.tubeLength / Nsp;
    b.Bc = 100 * in.notchHeight / Dc;
    b.Pn = in.staggered ? 0.707L * t : t;
    b.Pp = in.staggered ? 0.707L * t : t;
    b.Nc = std::round(Dc / b.Pp * (1 - 2 * b.Bc / 100));
    b.Dctl = Dc - Lbb / 1000 - d;
    b.Ncw = std::round(0.8L / b.Pp * (Dc * b.Bc / 100 - (Dc - b.Dctl) / 2));
    // Cross-flow area: the gaps t - d between neighbouring tubes, one per
    // normal pitch (for the staggered bank these are the diagonal gaps).
    b.Sm = (b.Dctl / b.Pn * (t - d) + Lbb / 1000) * b.Lbc;
    b.Sb = (Dc - (b.Dctl + d) + (t - d) / 2) * b.Lbc;
    positiveFinite(b.Nc, "the number of tube rows crossed between the baffle tips");
    positiveFinite(b.Sm, "the cross-flow area");
    b.Gc = in.flow_kg_h / (b.Sm * 3600);

    // Ideal bank.
    b.Re = d * b.Gc / in.viscosity;
    BundleFriction f;
    if (!BundleFrictionConstants(in.staggered, b.Re, f))
        throw NumericalError("the Reynolds number of the cross flow is " + formatShortest(b.Re));
    const Real bExp = f.b3 / (1 + 0.14L * std::pow(b.Re, f.b4));
    const Real friction = f.b1 * std::pow(1.33L * d / t, bExp) * std::pow(b.Re, f.b2);
    b.idealBank = 0.002L * friction * b.Nc * b.Gc * b.Gc / in.density *
                  std::pow(in.wallViscosity / in.viscosity, 0.14L);

    // Windows and leakage areas.
    const Real cut = 1 - 2 * b.Bc / 100;
    b.thetaDs = 2 * std::acos(cut) * 180 / kPi;
    b.Ssb = (360 - b.thetaDs) / 360 * kPi * (1000 * Dc) * in.gap.casingGap / 2;
    b.Swg = (b.thetaDs / 360 - std::sin(b.thetaDs * kPi / 180) / (2 * kPi)) * kPi * Dc * Dc / 4;
    b.thetaCtl = 2 * std::acos(Dc / b.Dctl * cut) * 180 / kPi;
    b.Fw = b.thetaCtl / 360 - std::sin(b.thetaCtl * kPi / 180) / (2 * kPi);
    b.Sw = b.Swg - d * d * in.tubeCount * b.Fw * kPi / 4;
    positiveFinite(b.Sw, "the window flow area");
    b.Dw = 4 * b.Sw / (kPi * d * in.tubeCount * b.Fw + kPi * Dc * b.thetaDs / 360);
    b.Gw = in.flow_kg_h / (std::sqrt(b.Sm * b.Sw) * 3600);
    const Real dmm = 1000 * d;
    b.Stb = ((dmm + in.gap.holeClearance) * (dmm + in.gap.holeClearance) - dmm * dmm) * kPi / 4 *
            in.tubeCount * (1 - b.Fw);

    // Corrections.
    b.RL = ShellLeakageCorrection(b.Ssb, b.Stb, b.Sm);
    b.RB = ShellBypassCorrection(b.Re, b.Sb / b.Sm, in.gap.sealingStrips, b.Nc);
    b.RS = ShellEndCorrection(b.Re, b.Lbc, in.gap.inletDistance, in.gap.outletDistance);

    // Losses.
    const int Nb = Nsp - 1;
    b.crossFlow = (Nsp - 2) * b.idealBank * b.RB * b.RL;
    b.windows =
        ShellWindowLoss(b.Re, b.RL, Nb, b.Ncw, b.Gw, in.density, in.viscosity, t, d, b.Lbc, b.Dw);
    b.ends = (1 + b.Ncw / b.Nc) * b.idealBank * b.RB * b.RS;
    b.total = b.crossFlow + b.windows + b.ends;
    positiveFinite(b.total, "the pressure loss of the shell space");
    return b;
}

std::optional<Real> THexObj::ShellSidePressureLoss(const ShellLossArguments& a,
                                                   std::string& report) {
    namespace texts = pressureLossTexts;
    const LanguageFlagType lang = m_lang;
    if (a.shellPasses < 2) {
        ExtraReport += texts::shellLossNeedsCompartments(lang);
        return std::nullopt;
    }

    // 1. The construction data.
    GapCalcRequest request;
    request.tubeDiameter = a.tubeDiameter;
    request.baffleSpacing = a.tubeLength / a.shellPasses;
    const GapCalcAnswer answer = m_dialogs.ask(request);
    ShellLossInput in;
    const DialogCheck check = checkGapCalc(request, answer, lang, in.gap);
    if (!check.accepted) throw CalculationAborted(check.message);
    CorrelationContext context;
    context.languageFlag = lang;
    context.dialogs = &m_dialogs;
    if (!BundleClearance(in.gap.headType, 1000 * a.casingDiameter, in.bundleClearance_mm, context))
        throw CalculationAborted("Wrong parameter v = " + std::to_string(in.gap.headType));

    // 2. The geometry lines.
    report +=
        texts::shellGeometryLines(lang, in.gap.pitch, in.bundleClearance_mm, in.gap.casingGap);

    // 3-8. Properties and the stream analysis.
    const PropertySet wall = shellMixture(a.wallTemperature);
    const PropertySet medium = shellMixture(a.mediumTemperature);
    in.shellPasses = a.shellPasses;
    in.tubeCount = a.tubeCount;
    in.staggered = a.staggered;
    in.tubeLength = a.tubeLength;
    in.notchHeight = a.notchHeight;
    in.flow_kg_h = a.flow_kg_h;
    in.tubeDiameter = a.tubeDiameter;
    in.casingDiameter = a.casingDiameter;
    in.viscosity = medium.Viscosity;
    in.wallViscosity = wall.Viscosity;
    in.density = medium.Density;
    const ShellLossBreakdown b = ShellSideLoss(in);
    ShellLoss = b;

    // 9. The report line.
    ExtraReport += texts::shellLossLine(lang, b.total);
    return b.total;
}

}  // namespace vexamo
