#include "exchanger/OutletIteration.h"

#include <cmath>

#include "common/Errors.h"
#include "common/NumberFormat.h"
#include "control/Session.h"
#include "dialogs/Dialogs.h"

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
        m_session.CondensationCorrection = a.shell.AirFactor;
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
                   m_session.CondensationCorrection;
        case FilmKind::CondensationOnBundle:
            return BundleCondensationCoefficient(RowsOnVertical, StaggeredTubes, HorizontalBundle,
                                                 ShellComposition, ShellComponents,
                                                 ShellComponentCount, wall, Ts, OuterDiameter,
                                                 TubeLength, c) *
                   m_session.CondensationCorrection;
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
        s.shell = ShellSideCoefficient(HorizontalBundle, ShellComposition, ShellComponents, ShellComponentCount,
                                       StaggeredTubes, spWall, t, G2 / (NotchArea * ParallelFlows), OuterDiameter,
                                       TubeLength, c);
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
        static const char* const where[] = {"at the inlet end", "at the outlet end",
                                            "at the mean state"};
        throw NumericalError(std::string("the heat-flux balance across the wall has no solution ") +
                             where[end] + " (temperature difference " + formatShortest(difference) +
                             " K)");
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
        IterationLog = tr(m_lang, "driving force of process of heat transfer ",
                          "Движущая сила процесса теплопередачи ") +
                       general4(difference) +
                       tr(m_lang, " degr.C is too small.", " град.С слишком мала.");
    else
        IterationLog = m_setup.negativeLead + general4(Tin) + m_setup.negativeMiddle +
                       general4(Ts) + m_setup.negativeTail;
    ReportText = tr(m_lang, "    ATTENTION! Incorrect technological mode!\r\n",
                    "    ВНИМАНИЕ! Некорректный технологический режим!\r\n") +
                 IterationLog + "\r\n" + m_setup.recommendation;
    m_dialogs.message({"calculation.driving_force", MessageKind::Warning, ReportText});
}

void TOutletIterationObj::explainOutside(Real T, bool nearSaturation, bool phaseChangeFlowGiven) {
    const bool up = heated();
    std::string text;
    if (nearSaturation) {
        text = m_lang == kEnglish
                   ? std::string(" The outlet temperature of the ") + (up ? "heated" : "cooled") +
                         " medium, " + formatShortest(T) + " degr.C, comes within " +
                         formatShortest(m_setup.drivingForceLimit) + " degr.C of the " +
                         (up ? "condensation" : "boiling") + " temperature " +
                         formatShortest(SaturationTemperature) +
                         " degr.C: the surface is too large for the given flow (or the convergence "
                         "constant too large)."
                   : std::string(" Температура ") + (up ? "нагреваемого" : "охлаждаемого") +
                         " теплоносителя на выходе, " + formatShortest(T) + " град.С, ближе " +
                         formatShortest(m_setup.drivingForceLimit) + " град.С к температуре " +
                         (up ? "конденсации " : "кипения ") +
                         formatShortest(SaturationTemperature) +
                         " град.С: поверхность слишком велика для заданного расхода (или слишком "
                         "велика константа "
                         "сходимости).";
    } else {
        text =
            m_lang == kEnglish
                ? std::string(" The outlet temperature of the ") + (up ? "heated" : "cooled") +
                      " medium, " + formatShortest(T) +
                      " degr.C, hardly differs from its inlet temperature " +
                      formatShortest(SinglePhaseInlet) +
                      (phaseChangeFlowGiven
                           ? std::string(" degr.C: the surface cannot pass the heat of the given "
                                         "flow of the ") +
                                 (up ? "condensing" : "boiling") + " medium."
                           : std::string(
                                 " degr.C: the surface is too small for the given flow of the ") +
                                 (up ? "heated" : "cooled") + " medium.")
                : std::string(" Температура ") + (up ? "нагреваемого" : "охлаждаемого") +
                      " теплоносителя на выходе, " + formatShortest(T) +
                      " град.С, почти не отличается от температуры на входе " +
                      formatShortest(SinglePhaseInlet) +
                      (phaseChangeFlowGiven
                           ? std::string(" град.С: поверхность не может передать теплоту заданного "
                                         "расхода ") +
                                 (up ? "конденсирующегося" : "кипящего") + " теплоносителя."
                           : std::string(
                                 " град.С: поверхность слишком мала для заданного расхода ") +
                                 (up ? "нагреваемого" : "охлаждаемого") + " теплоносителя.");
    }
    m_dialogs.message({"iteration.outside_interval", MessageKind::Warning, text});
}

bool TOutletIterationObj::filmPass(Real T, Real cpIn, Real latent_kJ, const WallEstimates& w,
                                   WallEstimates& next, Real& G1, Real& G2, OutletState& s) {
    const Real Ts = SaturationTemperature, Tin = SinglePhaseInlet;
    const Real sign = heated() ? 1 : -1;
    const bool inTubes = m_setup.phaseChangeInTubes;
    Real& phaseChangeFlow = inTubes ? G1 : G2;
    Real& singlePhaseFlow = inTubes ? G2 : G1;
    const bool phaseChangeFlowGiven = inTubes ? FlowSideCopy == 0 : FlowSideCopy == 1;
    const Real dIn = sign * (Ts - Tin);
    s.dOut = sign * (Ts - T);

    // Heat flow and the flow that was not given: the heat of the
    // single-phase medium is its mean heat capacity times its change.
    const PropertySet outlet = singlePhaseMixture(T);
    (inTubes ? ShellProps : TubeProps) = outlet;
    const Real cpOut = outlet.HeatCapacity;
    const Real sensible = (cpIn + cpOut) / 2 * (sign * (T - Tin));  // J/kg
    if (phaseChangeFlowGiven) {
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
        throw NumericalError(
            tr(m_lang, "the ratio of the installed to the required surface is not a number",
               "отношение установленной поверхности к требуемой не является числом"));
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

void TOutletIterationObj::reportImpossibleDuty(bool atSaturation, bool phaseChangeFlowGiven,
                                               Real installed, RunResults& r) {
    const bool up = heated();
    const std::string surface = formatGeneral(installed, 6, 2);
    std::string text;
    if (m_lang == kEnglish) {
        const std::string singlePhase = up ? "heated" : "cooled";
        const std::string phaseChange = up ? "condensing" : "boiling";
        text = " The duty cannot be met: ";
        if (atSaturation)
            text += "with the installed surface of " + surface + " m^2 the " + singlePhase +
                    " medium would leave within " + formatShortest(m_setup.drivingForceLimit) +
                    " degr.C of the " + (up ? "condensation" : "boiling") + " temperature " +
                    formatGeneral(SaturationTemperature, 6, 2) + " degr.C; the given flow of the " +
                    (phaseChangeFlowGiven ? phaseChange : singlePhase) +
                    " medium is too small for this surface.";
        else if (phaseChangeFlowGiven)
            text += "the installed surface of " + surface +
                    " m^2 cannot pass the heat of the given flow of the " + phaseChange +
                    " medium, however large the flow of the " + singlePhase + " medium.";
        else
            text += "the installed surface of " + surface +
                    " m^2 is too small for the given flow of the " + singlePhase +
                    " medium: its temperature would hardly change.";
        text += " The calculation ends without results.";
    } else {
        const std::string singlePhase = up ? "нагреваемого" : "охлаждаемого";
        const std::string phaseChange = up ? "конденсирующегося" : "кипящего";
        text = " Режим невыполним: ";
        if (atSaturation)
            text += "при установленной поверхности " + surface + " м^2 температура " + singlePhase +
                    " теплоносителя на выходе была бы ближе " +
                    formatShortest(m_setup.drivingForceLimit) + " град.С к температуре " +
                    (up ? "конденсации " : "кипения ") +
                    formatGeneral(SaturationTemperature, 6, 2) + " град.С; заданный расход " +
                    (phaseChangeFlowGiven ? phaseChange : singlePhase) +
                    " теплоносителя слишком мал для этой поверхности.";
        else if (phaseChangeFlowGiven)
            text += "установленная поверхность " + surface +
                    " м^2 не может передать теплоту заданного расхода " + phaseChange +
                    " теплоносителя при сколь угодно большом расходе " + singlePhase +
                    " теплоносителя.";
        else
            text += "установленная поверхность " + surface +
                    " м^2 слишком мала для заданного расхода " + singlePhase +
                    " теплоносителя: его температура почти не изменилась бы.";
        text += " Расчет закончен без результатов.";
    }
    m_dialogs.message({"iteration.impossible_duty", MessageKind::Error, text});
    r.produced = false;
    r.reason = text;
}

void TOutletIterationObj::Calculate(Real& G1, Real& G2, RunResults& r) {
    const Real Ts = SaturationTemperature, Tin = SinglePhaseInlet;
    const Real sign = heated() ? 1 : -1;  // the single-phase medium moves towards Ts
    const bool inTubes = m_setup.phaseChangeInTubes;
    Real& phaseChangeFlow = inTubes ? G1 : G2;
    Real& singlePhaseFlow = inTubes ? G2 : G1;
    const bool phaseChangeFlowGiven = inTubes ? FlowSideCopy == 0 : FlowSideCopy == 1;

    if (!(TubeCount > 0) || !(ParallelFlows > 0) || !(TubePasses > 0) || !(TubeLength > 0) ||
        !(InnerDiameter > 0) || !(OuterDiameter > 0))
        throw CalculationAborted(
            tr(m_lang,
               "The design data need tubes, passes, parallel flows and tube diameters above zero.",
               "В конструктивных данных число труб, ходов, параллельных потоков и диаметры труб "
               "должны быть больше нуля."));
    if (inTubes && !(NotchArea > 0))
        throw CalculationAborted(
            tr(m_lang, "The inner diameter of the casing is needed for the shell-side flow.",
               "Для потока в межтрубном пространстве нужен внутренний диаметр кожуха."));
    if (!((phaseChangeFlowGiven ? phaseChangeFlow : singlePhaseFlow) > 0))
        throw CalculationAborted(tr(m_lang, "The given flow rate must be positive.",
                                    "Заданный расход должен быть положительным."));

    // Without results the flow that was to be found keeps the value it came with.
    const FlowKeeper keeper{G1, G2, r};

    const Real installed = InstalledSurface();
    const Real limit = m_setup.drivingForceLimit;
    const Real dIn = sign * (Ts - Tin);
    ConvergenceConstant = 1.0L;
    int totalIterations = 0;
    // The outlet is iterated as its change x = sign (T - Tin); the admissible
    // changes lie between xLow and xHigh (empty when the driving force is too small).
    const Real xLow = kLeastChange * dIn, xHigh = dIn - limit;
    const bool someAdmissible = dIn > 0 && xLow <= xHigh;
    auto outletAt = [&](Real x) { return Tin + sign * x; };
    auto admissible = [&](Real x) { return x >= xLow && x <= xHigh; };  // false for NaN
    Real T = 0;
    OutletState state;
    WallEstimates walls;
    Bracketed = false;

    for (;;) {  // (re)start
        IterationCount = 0;
        drivingForceCheck(dIn);
        BalanceTolerance = 0.0001L;
        OutletApproximation = (Ts + Tin) / 2;
        // Where the midpoint lies closer to saturation than the driving-force
        // limit, the program starts from the middle of what is admissible.
        if (someAdmissible && !admissible(sign * (OutletApproximation - Tin)))
            OutletApproximation = outletAt((xLow + xHigh) / 2);
        AskInitialApproximation(OutletApproximation);
        walls.spWallIn = walls.pcWallIn = (Ts + Tin) / 2;
        walls.spDropOut = walls.pcDropOut = std::fabs(Ts - OutletApproximation) / 2;
        walls.pcDropMean = std::fabs(Ts - (OutletApproximation + Tin) / 2) / 2;
        const Real cpIn = singlePhaseMixture(Tin).HeatCapacity;
        const Real r_kJ = phaseChangeMixture(Ts).LatentHeat;
        if (!(r_kJ > 0) || !std::isfinite(r_kJ))
            throw CalculationAborted(
                tr(m_lang, "The latent heat of the medium that changes phase is not above zero at ",
                   "Теплота фазового перехода теплоносителя не больше нуля при ") +
                formatShortest(Ts) + tr(m_lang, " degr.C.", " град.С."));

        // One approximation: the progress line and the settled state at x.
        auto evaluateAt = [&](Real x) -> bool {
            if (++totalIterations > kIterationLimit)
                throw CalculationAborted(tr(m_lang, "The iteration did not converge within ",
                                            "Итерации не сошлись за ") +
                                         std::to_string(kIterationLimit) +
                                         tr(m_lang, " steps.", " шагов."));
            ++IterationCount;
            T = OutletApproximation = outletAt(x);
            IterationLog = m_lang == kEnglish
                               ? " Number of iteration " + std::to_string(IterationCount) +
                                     m_setup.progressLabel + formatGeneral(T, 10, 2) + " degr.C;"
                               : " Число итераций " + std::to_string(IterationCount) +
                                     m_setup.progressLabel + formatGeneral(T, 8, 2) + " град.С;";
            WriteProgressLine();
            if (!settledState(T, cpIn, r_kJ, walls, G1, G2, state)) return false;
            BalanceRatio = state.balance;
            return true;
        };

        // A start outside the admissible interval (typed, or no interval at
        // all) is the case of the out-of-interval question.
        Real x = sign * (OutletApproximation - Tin);
        if (!admissible(x)) {
            ++IterationCount;
            ++totalIterations;
            T = OutletApproximation;
            IterationLog = m_lang == kEnglish
                               ? " Number of iteration " + std::to_string(IterationCount) +
                                     m_setup.progressLabel + formatGeneral(T, 10, 2) + " degr.C;"
                               : " Число итераций " + std::to_string(IterationCount) +
                                     m_setup.progressLabel + formatGeneral(T, 8, 2) + " град.С;";
            WriteProgressLine();
            explainOutside(T, !(sign * (Ts - T) >= limit), phaseChangeFlowGiven);
            if (HandleOutOfInterval(ConvergenceConstant)) {
                r.produced = false;
                r.reason = "left for the initial data";
                return;
            }
            if (totalIterations > kIterationLimit)
                throw CalculationAborted(tr(m_lang, "The iteration did not converge within ",
                                            "Итерации не сошлись за ") +
                                         std::to_string(kIterationLimit) +
                                         tr(m_lang, " steps.", " шагов."));
            continue;
        }

        // Relaxation until the balance changes side, then regula falsi on
        // BalanceRatio - 1 between the last iterates on either side.
        bool haveLast = false;
        Real xLast = 0, fLast = 0;
        Real xa = 0, fa = 0, xb = 0, fb = 0;  // the bracket; b the newer end
        Real widths[3] = {0, 0, 0};           // bracket widths of the last steps
        int relaxationSteps = 0, bracketSteps = 0;
        auto converged = [&](Real f) { return std::fabs(f) < BalanceTolerance; };
        auto opposite = [](Real f1, Real f2) { return (f1 < 0) != (f2 < 0); };
        // The next point inside the bracket: the false position with the
        // Illinois halving, bisection when it falls outside or the bracket
        // stops halving.
        auto insideBracket = [&]() {
            const Real width = std::fabs(xb - xa);
            Real c = xb - fb * (xb - xa) / (fb - fa);
            const bool stalled = bracketSteps >= 3 && width > widths[(bracketSteps - 3) % 3] / 2;
            if (!std::isfinite(c) || !(c > std::fmin(xa, xb)) || !(c < std::fmax(xa, xb)) ||
                stalled)
                c = (xa + xb) / 2;
            widths[bracketSteps % 3] = width;
            ++bracketSteps;
            return c;
        };
        auto openBracket = [&](Real x1, Real f1, Real x2, Real f2) {
            xa = x1, fa = f1, xb = x2, fb = f2;
            Bracketed = true;
            bracketSteps = 0;
        };
        for (;;) {
            if (!evaluateAt(x)) return;
            const Real f = BalanceRatio - 1;
            if (converged(f)) break;
            Real next = 0;
            if (Bracketed) {
                if (opposite(f, fb))
                    xa = xb, fa = fb;
                else
                    fa /= 2;
                xb = x, fb = f;
                if (!(std::fabs(xb - xa) > 1e-12L * dIn))
                    throw NumericalError(
                        tr(m_lang,
                           "the heat balance changes side without passing through balance at the "
                           "outlet temperature ",
                           "тепловой баланс меняет знак, не проходя через равновесие, при "
                           "температуре на выходе ") +
                        formatShortest(T) + tr(m_lang, " degr.C", " град.С"));
                next = insideBracket();
            } else if (haveLast && opposite(f, fLast)) {
                openBracket(xLast, fLast, x, f);
                next = insideBracket();
            } else {
                // The outlet the log-mean law gives for the installed surface.
                const Real dOut = sign * (Ts - T);
                const Real target = Ts - sign * dIn * std::pow(dOut / dIn, BalanceRatio);
                next = sign * (T + ConvergenceConstant * (target - T) - Tin);
                ++relaxationSteps;
                if (!admissible(next) || relaxationSteps > kRelaxationSteps) {
                    // Try the bound the balance points to: a bracket, or no solution.
                    const Real bound = f > 0 ? xHigh : xLow;
                    if (x != bound) {
                        if (!evaluateAt(bound)) return;
                        if (converged(BalanceRatio - 1)) break;
                    }
                    if (x == bound || !opposite(BalanceRatio - 1, f)) {
                        reportImpossibleDuty(f > 0, phaseChangeFlowGiven, installed, r);
                        return;
                    }
                    openBracket(x, f, bound, BalanceRatio - 1);
                    next = insideBracket();
                }
            }
            haveLast = true;
            xLast = x, fLast = f;
            x = next;
            if (IterationCount > m_setup.slowConvergenceLimit) {
                HandleSlowConvergence(ConvergenceConstant, IterationCount, ContinueIteration);
                if (!ContinueIteration) break;  // the last evaluation stands, unbalanced
            }
        }
        break;
    }

    const Real HeatFlow = state.heatFlow, dOut = state.dOut, dLog = state.dLog;
    const Real spWallIn = walls.spWallIn, spWallOut = state.spWallOut;

    // Finish: the results belong to the outlet temperature T of the last evaluation.
    Outlet_T = T;
    const Real q = Mean.q;
    const Real tubeAlpha = inTubes ? Mean.phaseChangeAlpha : Mean.singlePhaseAlpha;
    const Real shellAlpha = inTubes ? Mean.singlePhaseAlpha : Mean.phaseChangeAlpha;
    r.Speed = inTubes ? 0 : Mean.tube.velocity;

    // The pressure loss comes after the thermal results: when it cannot be
    // computed (its data, an answer, a geometry its correlations do not
    // cover) the thermal results stand and the report says why it is missing.
    try {
        if (inTubes) {
            ShellLossArguments loss;
            loss.shellPasses = ShellPasses;
            loss.tubeCount = TubeCount;
            loss.staggered = StaggeredTubes;
            loss.wallTemperature = (spWallOut + spWallIn) / 2;
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
        ExtraReport += (inTubes ? tr(m_lang, "  Losses of pressure in intertrumpet space:             ",
                                     "  Потери давления в межтрубном пространстве:            ")
                                : tr(m_lang, "  Losses of pressure in trumpet space:             ",
                                     "  Потери давления в трубном пространстве:            ")) +
                       std::string(tr(m_lang, "not computed: ", "не рассчитаны: ")) + reason + "\r\n";
        m_dialogs.message({"calculation.pressure_loss", MessageKind::Warning,
                           tr(m_lang, "The pressure loss is not computed: ", "Потери давления не рассчитаны: ") +
                               reason});
    }

    // The temperature profile along the surface passed by the single-phase
    // medium: the saturation line and the log-mean law between the ends.
    ProfileGraphRequest graph;
    graph.language = m_lang;
    graph.curves.assign(2, {});
    for (int j = 0; j <= 12; ++j) {
        const Real x = static_cast<Real>(j) / 12;
        graph.positions.push_back(x);
        const Real single = Ts - sign * dIn * std::pow(dOut / dIn, x);
        graph.curves[0].push_back(inTubes ? single : Ts);
        graph.curves[1].push_back(inTubes ? Ts : single);
    }
    m_dialogs.showProfileGraph(graph);

    r.produced = true;
    r.converged = std::fabs(BalanceRatio - 1) < BalanceTolerance;
    r.BalanceRatio = BalanceRatio;
    r.Iterations = totalIterations;
    r.TubeCoefficient = tubeAlpha;
    r.ShellCoefficient = shellAlpha;
    r.HeatFlux = q;
    r.OverallCoefficient = q / dLog;
    r.HeatFlow = std::fabs(HeatFlow);
    r.InstalledSurface = installed;
    r.hasOutlet = true;
    r.outletSide = inTubes ? 2 : 1;
    r.OutletTemperature = T;
    r.OtherOutletTemperature = Ts;
    if (inTubes) {
        r.ShellSide.velocity = Mean.shell.velocity;
        r.ShellSide.reynolds = Mean.shell.reynolds;
    } else {
        r.TubeSide.velocity = Mean.tube.velocity;
        r.TubeSide.reynolds = Mean.tube.reynolds;
    }
}

}  // namespace vexamo
