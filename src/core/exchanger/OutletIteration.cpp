#include "exchanger/OutletIteration.h"

#include <cmath>

#include "common/Errors.h"
#include "common/NumberFormat.h"
#include "dialogs/Dialogs.h"
#include "exchanger/ExchangerTexts.h"
#include "exchanger/PressureLossTexts.h"

namespace vexamo {

namespace {

std::string general4(Real v) { return formatGeneral(v, 4, 2); }

}  // namespace

TOutletIterationObj::TOutletIterationObj(const ExchangerArguments& a, Setup setup)
    : THexObj(a), m_setup(std::move(setup)) {
    const TechnSet& phaseChange = m_setup.phaseChangeInTubes ? a.tube : a.shell;
    const TechnSet& singlePhase = m_setup.phaseChangeInTubes ? a.shell : a.tube;
    SaturationTemperature = phaseChange.Temperature;
    SinglePhaseInlet = singlePhase.Temperature;
    FlowSideCopy = a.flowSide;
    NotchWanted = a.shell.SinglePhase != 0;
    // A medium condensing in the shell space brings its own air correction.
    if (m_setup.film == FilmKind::CondensationOnBundle)
        m_context.condensationCorrection = a.shell.AirFactor;
    // The single-phase medium in the shell space flows through the segment notch.
    if (m_setup.phaseChangeInTubes) {
        ReportText = "\r\n";
        if (NotchWanted) ComputeSegmentNotch(a.design.ShellDiameter);
    }
}

PropertySet TOutletIterationObj::singlePhaseMixture(Real t) {
    return m_setup.phaseChangeInTubes ? shellMixture(t) : tubeMixture(t);
}

PropertySet TOutletIterationObj::phaseChangeMixture(Real t) {
    return m_setup.phaseChangeInTubes ? tubeMixture(t) : shellMixture(t);
}

Real TOutletIterationObj::phaseChangeFactor(Real wall) {
    const Real Ts = SaturationTemperature;
    const CorrelationContext c = correlationContext();
    switch (m_setup.film) {
        case FilmKind::CondensationInTubes:
            return CondensationCoefficient(HorizontalBundle, TubeComponentCount, TubeComponents,
                                           TubeComposition, wall, Ts, InnerDiameter, TubeLength,
                                           c) *
                   m_context.condensationCorrection;
        case FilmKind::CondensationOnBundle:
            return BundleCondensationCoefficient(RowsOnVertical, StaggeredTubes, HorizontalBundle,
                                                 ShellComposition, ShellComponents,
                                                 ShellComponentCount, wall, Ts, OuterDiameter,
                                                 TubeLength, c) *
                   m_context.condensationCorrection;
        case FilmKind::Boiling:
            return m_setup.phaseChangeInTubes
                       ? BoilingCoefficient(TubeComponentCount, TubeComponents, TubeComposition, Ts,
                                            TubePressure, c)
                       : BoilingCoefficient(ShellComponentCount, ShellComponents, ShellComposition,
                                            Ts, ShellPressure, c);
    }
    return 0;
}

bool TOutletIterationObj::evaluate(End end, Real t, Real spWall, Real pcWall, Real difference,
                                   Real G1, Real G2, FilmState& s) {
    const CorrelationContext c = correlationContext();
    if (m_setup.phaseChangeInTubes) {
        s.shell =
            ShellSideCoefficient(HorizontalBundle, ShellComposition, ShellComponents,
                                 ShellComponentCount, StaggeredTubes, spWall, t,
                                 G2 / (NotchArea * ParallelFlows), OuterDiameter, TubeLength, c);
        s.singlePhaseAlpha = s.shell.alpha;
    } else {
        s.tube = TubeSideCoefficient(
            TubeComponents, TubeComposition, TubeComponentCount, 1, HorizontalBundle, spWall, t,
            TubePasses * G1 / (ParallelFlows * TubeCount), InnerDiameter, TubeLength, c);
        s.singlePhaseAlpha = s.tube.alpha;
    }
    const Real factor = phaseChangeFactor(pcWall);
    const Real Rw = WallResistance;
    // The film of the phase change: alpha = factor * q^m.
    const Real m = m_setup.film == FilmKind::Boiling                ? 2.0L / 3.0L
                   : m_setup.film == FilmKind::CondensationOnBundle ? -1.0L / 3.0L
                   : HorizontalBundle                               ? 0.5L
                                                                    : -1.0L / 3.0L;
    Real q = -1;
    try {
        if (m_setup.film == FilmKind::CondensationOnBundle) {
            const Real x =
                SolveFluxBalanceQuartic(difference, 0, 1 / s.singlePhaseAlpha + Rw, 1 / factor, c);
            q = x < 0 ? x : x * x * x;
        } else {
            q = SolveFluxBalance(0, m, difference, Rw, 1 / s.singlePhaseAlpha, 1 / factor, c);
        }
    } catch (const NumericalError&) {
        if (m_setup.failure[end] == Failure::Throw) throw;
        q = -1;
    }
    if (!(q > 0) || !std::isfinite(q)) {
        if (m_setup.failure[end] == Failure::EndWithMessage) {
            m_dialogs.message({"flux_balance.error", MessageKind::Error, m_setup.failureText[end]});
            return false;
        }
        throw NumericalError(outletIterationTexts::fluxBalanceUnsolved(end, difference));
    }
    s.q = q;
    s.phaseChangeAlpha = factor * std::pow(q, m);
    s.phaseChangeDrop = m_setup.film == FilmKind::CondensationOnBundle
                            ? std::pow(q, 4.0L / 3.0L) / factor
                            : q / s.phaseChangeAlpha;
    s.singlePhaseDrop = difference - s.phaseChangeDrop - Rw * q;
    return true;
}

void TOutletIterationObj::drivingForceCheck(Real difference) {
    if (!(difference < m_setup.drivingForceLimit)) return;
    const Real Ts = SaturationTemperature, Tin = SinglePhaseInlet;
    if (difference >= 0)
        IterationLog = exchangerTexts::drivingForceTooSmall(m_lang, difference);
    else
        IterationLog = m_setup.negativeLead + general4(Tin) + m_setup.negativeMiddle +
                       general4(Ts) + m_setup.negativeTail;
    ReportText = outletIterationTexts::incorrectMode(m_lang) + IterationLog + "\r\n" +
                 m_setup.recommendation;
    m_dialogs.message({"calculation.driving_force", MessageKind::Warning, ReportText});
}

outletIterationTexts::Duty TOutletIterationObj::duty() const {
    return {heated(), phaseChangeFlowGiven(), m_setup.drivingForceLimit, SaturationTemperature,
            SinglePhaseInlet};
}

void TOutletIterationObj::explainOutside(Real T, bool nearSaturation) {
    m_dialogs.message({"iteration.outside_interval", MessageKind::Warning,
                       outletIterationTexts::outsideInterval(m_lang, duty(), T, nearSaturation)});
}

bool TOutletIterationObj::filmPass(Real T, Real cpIn, Real latent_kJ, const WallEstimates& w,
                                   WallEstimates& next, Real& G1, Real& G2, OutletState& s) {
    const Real Ts = SaturationTemperature, Tin = SinglePhaseInlet;
    const Real sign = signOfChange();
    const bool inTubes = m_setup.phaseChangeInTubes;
    Real& phaseChangeFlow = inTubes ? G1 : G2;
    Real& singlePhaseFlow = inTubes ? G2 : G1;
    const Real dIn = sign * (Ts - Tin);
    s.dOut = sign * (Ts - T);

    // Heat flow and the flow that was not given: the heat of the
    // single-phase medium is its mean heat capacity times its change.
    const PropertySet outlet = singlePhaseMixture(T);
    (inTubes ? ShellProps : TubeProps) = outlet;
    const Real cpOut = outlet.HeatCapacity;
    const Real sensible = (cpIn + cpOut) / 2 * (sign * (T - Tin));  // J/kg
    if (phaseChangeFlowGiven()) {
        s.heatFlow = phaseChangeFlow * latent_kJ * 1000;
        singlePhaseFlow = s.heatFlow / sensible;
    } else {
        s.heatFlow = singlePhaseFlow * sensible;
        phaseChangeFlow = 0.001L * s.heatFlow / latent_kJ;
    }

    // Inlet end.
    if (!evaluate(InletEnd, Tin, w.spWallIn, w.pcWallIn, dIn, G1, G2, Inlet)) return false;
    next.spWallIn = Tin + sign * Inlet.singlePhaseDrop;
    next.pcWallIn = Ts - sign * Inlet.phaseChangeDrop;
    // Outlet end.
    if (!evaluate(OutletEnd, T, T + sign * w.spDropOut, Ts - sign * w.pcDropOut, s.dOut, G1, G2,
                  Outlet))
        return false;
    next.spDropOut = Outlet.singlePhaseDrop;
    next.pcDropOut = Outlet.phaseChangeDrop;
    s.spWallOut = T + sign * next.spDropOut;
    // Mean state.
    s.dLog = LogMeanDifference(dIn, s.dOut);
    const Real spDropLog = LogMeanDifference(Inlet.singlePhaseDrop, Outlet.singlePhaseDrop);
    const Real Tm = (T + Tin) / 2;
    if (!evaluate(MeanState, Tm, Tm + sign * spDropLog, Ts - sign * w.pcDropMean, s.dLog, G1, G2,
                  Mean))
        return false;
    next.pcDropMean = Mean.phaseChangeDrop;

    // Installed over required surface.
    s.balance = 3600 * Mean.q * InstalledSurface() / s.heatFlow;
    if (!std::isfinite(s.balance) || !(s.balance > 0))
        throw NumericalError(outletIterationTexts::surfaceRatioNotANumber(m_lang));
    return true;
}

bool TOutletIterationObj::settledState(Real T, Real cpIn, Real latent_kJ, WallEstimates& w,
                                       Real& G1, Real& G2, OutletState& s) {
    // The wall temperatures enter the film coefficients through property
    // corrections and free convection; the passes go on until the walls a
    // pass assumes are those it gives, within 1e-5 of the inlet driving force.
    const Real tolerance = 1e-5L * std::fabs(SaturationTemperature - SinglePhaseInlet);
    auto difference = [](const WallEstimates& a, const WallEstimates& b) {
        return WallEstimates{a.spWallIn - b.spWallIn, a.pcWallIn - b.pcWallIn,
                             a.spDropOut - b.spDropOut, a.pcDropOut - b.pcDropOut,
                             a.pcDropMean - b.pcDropMean};
    };
    WallEstimates next, lastStep;
    Real omega = 1;
    for (int pass = 1; pass <= kWallPasses; ++pass) {
        if (!filmPass(T, cpIn, latent_kJ, w, next, G1, G2, s)) return false;
        WallPasses = pass;
        const WallEstimates step = difference(next, w);
        const Real change =
            std::fmax(std::fmax(std::fabs(step.spWallIn), std::fabs(step.pcWallIn)),
                      std::fmax(std::fmax(std::fabs(step.spDropOut), std::fabs(step.pcDropOut)),
                                std::fabs(step.pcDropMean)));
        if (change <= tolerance) {
            w = next;
            return true;
        }
        // Where a film coefficient depends steeply on its own wall (free
        // convection across a regime band) the passes swing from side to
        // side: once they have not settled by themselves, every swing halves
        // the step they take.
        if (pass >= 8) {
            const Real turn =
                step.spWallIn * lastStep.spWallIn + step.pcWallIn * lastStep.pcWallIn +
                step.spDropOut * lastStep.spDropOut + step.pcDropOut * lastStep.pcDropOut +
                step.pcDropMean * lastStep.pcDropMean;
            if (turn < 0) omega = std::fmax(omega / 2, 1.0L / 1024);
        }
        lastStep = step;
        w.spWallIn += omega * step.spWallIn;
        w.pcWallIn += omega * step.pcWallIn;
        w.spDropOut += omega * step.spDropOut;
        w.pcDropOut += omega * step.pcDropOut;
        w.pcDropMean += omega * step.pcDropMean;
    }
    return true;  // the last pass stands
}

void TOutletIterationObj::reportImpossibleDuty(bool atSaturation, Real installed, RunResults& r) {
    const std::string text =
        outletIterationTexts::impossibleDuty(m_lang, duty(), atSaturation, installed);
    m_dialogs.message({"iteration.impossible_duty", MessageKind::Error, text});
    r.produced = false;
    r.reason = text;
}

void TOutletIterationObj::requireCalculableData(Real G1, Real G2) const {
    const bool inTubes = m_setup.phaseChangeInTubes;
    const Real phaseChangeFlow = inTubes ? G1 : G2;
    const Real singlePhaseFlow = inTubes ? G2 : G1;
    if (!(TubeCount > 0) || !(ParallelFlows > 0) || !(TubePasses > 0) || !(TubeLength > 0) ||
        !(InnerDiameter > 0) || !(OuterDiameter > 0))
        throw CalculationAborted(outletIterationTexts::designNeeded(m_lang));
    if (inTubes && !(NotchArea > 0))
        throw CalculationAborted(exchangerTexts::casingDiameterNeeded(m_lang));
    if (!((phaseChangeFlowGiven() ? phaseChangeFlow : singlePhaseFlow) > 0))
        throw CalculationAborted(exchangerTexts::givenFlowNotPositive(m_lang));
}

void TOutletIterationObj::startApproximation(Search& s) {
    const Real Ts = SaturationTemperature, Tin = SinglePhaseInlet;
    const Real sign = signOfChange();
    IterationCount = 0;
    drivingForceCheck(s.dIn);
    BalanceTolerance = 0.0001L;
    OutletApproximation = (Ts + Tin) / 2;
    // Where the midpoint lies closer to saturation than the driving-force
    // limit, the program starts from the middle of what is admissible.
    const bool someAdmissible = s.dIn > 0 && s.xLow <= s.xHigh;
    if (someAdmissible && !s.admissible(sign * (OutletApproximation - Tin)))
        OutletApproximation = Tin + sign * ((s.xLow + s.xHigh) / 2);
    AskInitialApproximation(OutletApproximation);
    WallEstimates& w = s.walls;
    w.spWallIn = w.pcWallIn = (Ts + Tin) / 2;
    w.spDropOut = w.pcDropOut = std::fabs(Ts - OutletApproximation) / 2;
    w.pcDropMean = std::fabs(Ts - (OutletApproximation + Tin) / 2) / 2;
    s.cpIn = singlePhaseMixture(Tin).HeatCapacity;
    s.latent_kJ = phaseChangeMixture(Ts).LatentHeat;
    if (!(s.latent_kJ > 0) || !std::isfinite(s.latent_kJ))
        throw CalculationAborted(outletIterationTexts::latentHeatNotPositive(m_lang, Ts));
}

bool TOutletIterationObj::outsideStart(Search& s, RunResults& r) {
    ++IterationCount;
    ++s.totalIterations;
    s.T = OutletApproximation;
    showIterationProgress(m_setup.progressLabel, s.T);
    explainOutside(s.T,
                   !(signOfChange() * (SaturationTemperature - s.T) >= m_setup.drivingForceLimit));
    if (HandleOutOfInterval(ConvergenceConstant)) {
        leaveForInitialData(r);
        return false;
    }
    requireIterationWithin(s.totalIterations, kIterationLimit);
    return true;
}

bool TOutletIterationObj::evaluateAt(Search& s, Real x, Real& G1, Real& G2) {
    requireIterationWithin(++s.totalIterations, kIterationLimit);
    ++IterationCount;
    s.T = OutletApproximation = SinglePhaseInlet + signOfChange() * x;
    showIterationProgress(m_setup.progressLabel, s.T);
    if (!settledState(s.T, s.cpIn, s.latent_kJ, s.walls, G1, G2, s.state)) return false;
    BalanceRatio = s.state.balance;
    return true;
}

namespace {

bool opposite(Real f1, Real f2) { return (f1 < 0) != (f2 < 0); }

// Regula falsi on BalanceRatio - 1 between two changes of opposite balance
// (b the newer end) with the Illinois halving; bisection when the false
// position falls outside or the bracket stops halving.
struct Bracket {
    Real xa = 0, fa = 0, xb = 0, fb = 0;
    Real widths[3] = {0, 0, 0};  // bracket widths of the last steps
    int steps = 0;

    void open(Real x1, Real f1, Real x2, Real f2) {
        xa = x1, fa = f1, xb = x2, fb = f2;
        steps = 0;
    }
    // The new point becomes the newer end; the older end is the former newer
    // one when the balance changed side, else it is kept with half its value.
    void take(Real x, Real f) {
        if (opposite(f, fb))
            xa = xb, fa = fb;
        else
            fa /= 2;
        xb = x, fb = f;
    }
    Real next() {
        const Real width = std::fabs(xb - xa);
        Real c = xb - fb * (xb - xa) / (fb - fa);
        const bool stalled = steps >= 3 && width > widths[(steps - 3) % 3] / 2;
        if (!std::isfinite(c) || !(c > std::fmin(xa, xb)) || !(c < std::fmax(xa, xb)) || stalled)
            c = (xa + xb) / 2;
        widths[steps % 3] = width;
        ++steps;
        return c;
    }
};

}  // namespace

bool TOutletIterationObj::searchBalance(Search& s, Real x, Real& G1, Real& G2, RunResults& r) {
    const Real Ts = SaturationTemperature, Tin = SinglePhaseInlet;
    const Real sign = signOfChange();
    bool haveLast = false;
    Real xLast = 0, fLast = 0;
    Bracket bracket;
    int relaxationSteps = 0;
    auto converged = [&](Real f) { return std::fabs(f) < BalanceTolerance; };
    auto openBracket = [&](Real x1, Real f1, Real x2, Real f2) {
        bracket.open(x1, f1, x2, f2);
        Bracketed = true;
    };
    for (;;) {
        if (!evaluateAt(s, x, G1, G2)) return false;
        const Real f = BalanceRatio - 1;
        if (converged(f)) return true;
        Real next = 0;
        if (Bracketed) {
            bracket.take(x, f);
            if (!(std::fabs(bracket.xb - bracket.xa) > 1e-12L * s.dIn))
                throw NumericalError(outletIterationTexts::balanceJumps(m_lang, s.T));
            next = bracket.next();
        } else if (haveLast && opposite(f, fLast)) {
            openBracket(xLast, fLast, x, f);
            next = bracket.next();
        } else {
            // The outlet the log-mean law gives for the installed surface.
            const Real T = s.T;
            const Real dOut = sign * (Ts - T);
            const Real target = Ts - sign * s.dIn * std::pow(dOut / s.dIn, BalanceRatio);
            next = sign * (T + ConvergenceConstant * (target - T) - Tin);
            ++relaxationSteps;
            if (!s.admissible(next) || relaxationSteps > kRelaxationSteps) {
                // Try the bound the balance points to: a bracket, or no solution.
                const Real bound = f > 0 ? s.xHigh : s.xLow;
                if (x != bound) {
                    if (!evaluateAt(s, bound, G1, G2)) return false;
                    if (converged(BalanceRatio - 1)) return true;
                }
                if (x == bound || !opposite(BalanceRatio - 1, f)) {
                    reportImpossibleDuty(f > 0, s.installed, r);
                    return false;
                }
                openBracket(x, f, bound, BalanceRatio - 1);
                next = bracket.next();
            }
        }
        haveLast = true;
        xLast = x, fLast = f;
        x = next;
        if (IterationCount > m_setup.slowConvergenceLimit) {
            HandleSlowConvergence(ConvergenceConstant, IterationCount, ContinueIteration);
            if (!ContinueIteration) return true;  // the last evaluation stands, unbalanced
        }
    }
}

void TOutletIterationObj::Calculate(Real& G1, Real& G2, RunResults& r) {
    requireCalculableData(G1, G2);

    Search s;
    s.installed = InstalledSurface();
    s.dIn = signOfChange() * (SaturationTemperature - SinglePhaseInlet);
    ConvergenceConstant = 1.0L;
    s.xLow = kLeastChange * s.dIn;
    s.xHigh = s.dIn - m_setup.drivingForceLimit;
    Bracketed = false;
    for (;;) {  // (re)start
        startApproximation(s);
        // A start outside the admissible interval (typed, or no interval at
        // all) is the case of the out-of-interval question.
        const Real x = signOfChange() * (OutletApproximation - SinglePhaseInlet);
        if (s.admissible(x)) {
            if (!searchBalance(s, x, G1, G2, r)) return;
            break;
        }
        if (!outsideStart(s, r)) return;
    }

    // Finish: the results belong to the outlet temperature T of the last evaluation.
    Outlet_T = s.T;
    r.Speed = m_setup.phaseChangeInTubes ? 0 : Mean.tube.velocity;
    addPressureLoss(s, G2, r);
    showTemperatureProfile(s);
    fillResults(s, r);
}

void TOutletIterationObj::addPressureLoss(const Search& s, Real G2, RunResults& r) {
    const bool inTubes = m_setup.phaseChangeInTubes;
    const Real Tin = SinglePhaseInlet, T = s.T;
    // The pressure loss comes after the thermal results: when it cannot be
    // computed (its data, an answer, a geometry its correlations do not
    // cover) the thermal results stand and the report says why it is missing.
    try {
        if (inTubes) {
            ShellLossArguments loss;
            loss.shellPasses = ShellPasses;
            loss.tubeCount = TubeCount;
            loss.staggered = StaggeredTubes;
            loss.wallTemperature = (s.state.spWallOut + s.walls.spWallIn) / 2;
            loss.mediumTemperature = (T + Tin) / 2;
            loss.tubeLength = TubeLength;
            loss.notchHeight = SegmentNotchHeight;
            loss.flow_kg_h = G2 / ParallelFlows;
            loss.tubeDiameter = OuterDiameter;
            loss.casingDiameter = NotchDiameter;
            const std::optional<Real> dp = ShellSidePressureLoss(loss, ReportText);
            if (dp && m_setup.pressureLossBox)
                m_dialogs.message(
                    {"shell_loss.dp", MessageKind::Warning, "dp = " + formatShortest(*dp)});
        } else {
            TubeLossArguments loss;
            loss.passes = TubePasses;
            loss.meanTemperature = (Tin + T) / 2;
            loss.inletTemperature = Tin;
            loss.rayleighIn = Inlet.tube.rayleigh;
            loss.rayleighMean = Mean.tube.rayleigh;
            loss.prandtlRatioMean = Mean.tube.prandtlRatio;
            loss.viscosityRatioIn = Inlet.tube.viscosityRatio;
            loss.viscosityRatioMean = Mean.tube.viscosityRatio;
            loss.speed = r.Speed;
            loss.innerDiameter = InnerDiameter;
            loss.length = TubeLength;
            TubeSidePressureLoss(loss);
        }
    } catch (const std::exception& e) {
        const std::string reason = describeError(e, m_lang);
        (inTubes ? r.ShellSide : r.TubeSide).lossReason = reason;
        ExtraReport += pressureLossTexts::lossNotComputedLine(m_lang, inTubes, reason);
        m_dialogs.message({"calculation.pressure_loss", MessageKind::Warning,
                           pressureLossTexts::lossNotComputedWarning(m_lang, reason)});
    }
}

void TOutletIterationObj::showTemperatureProfile(const Search& s) {
    // The temperature profile along the surface passed by the single-phase
    // medium: the saturation line and the log-mean law between the ends.
    const Real Ts = SaturationTemperature, sign = signOfChange();
    const Real dIn = s.dIn, dOut = s.state.dOut;
    const bool inTubes = m_setup.phaseChangeInTubes;
    showProfile(2, [&](Real x) {
        const Real single = Ts - sign * dIn * std::pow(dOut / dIn, x);
        return std::vector<Real>{inTubes ? single : Ts, inTubes ? Ts : single};
    });
}

void TOutletIterationObj::fillResults(const Search& s, RunResults& r) {
    const bool inTubes = m_setup.phaseChangeInTubes;
    const Real q = Mean.q;
    r.produced = true;
    r.converged = std::fabs(BalanceRatio - 1) < BalanceTolerance;
    r.BalanceRatio = BalanceRatio;
    r.Iterations = s.totalIterations;
    r.TubeCoefficient = inTubes ? Mean.phaseChangeAlpha : Mean.singlePhaseAlpha;
    r.ShellCoefficient = inTubes ? Mean.singlePhaseAlpha : Mean.phaseChangeAlpha;
    r.HeatFlux = q;
    r.OverallCoefficient = q / s.state.dLog;
    r.HeatFlow = std::fabs(s.state.heatFlow);
    r.InstalledSurface = s.installed;
    r.hasOutlet = true;
    r.outletSide = inTubes ? 2 : 1;
    r.OutletTemperature = s.T;
    r.OtherOutletTemperature = SaturationTemperature;
    if (inTubes) {
        r.ShellSide.velocity = Mean.shell.velocity;
        r.ShellSide.reynolds = Mean.shell.reynolds;
    } else {
        r.TubeSide.velocity = Mean.tube.velocity;
        r.TubeSide.reynolds = Mean.tube.reynolds;
    }
}

}  // namespace vexamo
