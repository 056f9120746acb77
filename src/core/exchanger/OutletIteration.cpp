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
        s.singlePhaseAlpha =
            ShellSideCoefficient(HorizontalBundle, ShellComposition, ShellComponents,
                                 ShellComponentCount, StaggeredTubes, spWall, t,
                                 G2 / (NotchArea * ParallelFlows), OuterDiameter, TubeLength, c)
                .alpha;
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
    Real T = 0, HeatFlow = 0, dOut = 0, dLog = 0;
    Real spWallIn = 0, spWallOut = 0;

    for (;;) {  // (re)start
        spWallIn = (Ts + Tin) / 2;
        Real pcWallIn = spWallIn;
        IterationCount = 0;
        drivingForceCheck(dIn);
        BalanceTolerance = 0.0001L;
        OutletApproximation = (Ts + Tin) / 2;
        AskInitialApproximation(OutletApproximation);
        Real spDropOut = std::fabs(Ts - OutletApproximation) / 2;
        Real pcDropOut = spDropOut;
        Real pcDropMean = std::fabs(Ts - (OutletApproximation + Tin) / 2) / 2;
        const Real cpIn = singlePhaseMixture(Tin).HeatCapacity;
        const Real r_kJ = phaseChangeMixture(Ts).LatentHeat;
        if (!(r_kJ > 0) || !std::isfinite(r_kJ))
            throw CalculationAborted(
                tr(m_lang, "The latent heat of the medium that changes phase is not above zero at ",
                   "Теплота фазового перехода теплоносителя не больше нуля при ") +
                formatShortest(Ts) + tr(m_lang, " degr.C.", " град.С."));
        bool restart = false, finished = false;
        for (;;) {
            if (++totalIterations > kIterationLimit)
                throw CalculationAborted(tr(m_lang, "The iteration did not converge within ",
                                            "Итерации не сошлись за ") +
                                         std::to_string(kIterationLimit) +
                                         tr(m_lang, " steps.", " шагов."));
            ++IterationCount;
            T = OutletApproximation;
            dOut = sign * (Ts - T);
            IterationLog = m_lang == kEnglish
                               ? " Number of iteration " + std::to_string(IterationCount) +
                                     m_setup.progressLabel + formatGeneral(T, 10, 2) + " degr.C;"
                               : " Число итераций " + std::to_string(IterationCount) +
                                     m_setup.progressLabel + formatGeneral(T, 8, 2) + " град.С;";
            WriteProgressLine();

            // The admissible interval: at least the driving-force limit from
            // saturation, and a change of the single-phase medium's temperature.
            const bool nearSaturation = !(dOut >= limit);
            if (nearSaturation || !(sign * (T - Tin) >= kLeastChange * dIn)) {
                explainOutside(T, nearSaturation, phaseChangeFlowGiven);
                if (HandleOutOfInterval(ConvergenceConstant)) {
                    r.produced = false;
                    r.reason = "left for the initial data";
                    return;
                }
                restart = true;
                break;
            }

            // Heat flow and the flow that was not given: the heat of the
            // single-phase medium is its mean heat capacity times its change.
            const PropertySet outlet = singlePhaseMixture(T);
            (inTubes ? ShellProps : TubeProps) = outlet;
            const Real cpOut = outlet.HeatCapacity;
            const Real sensible = (cpIn + cpOut) / 2 * (sign * (T - Tin));  // J/kg
            if (phaseChangeFlowGiven) {
                HeatFlow = phaseChangeFlow * r_kJ * 1000;
                singlePhaseFlow = HeatFlow / sensible;
            } else {
                HeatFlow = singlePhaseFlow * sensible;
                phaseChangeFlow = 0.001L * HeatFlow / r_kJ;
            }

            // Inlet end.
            if (!evaluate(InletEnd, Tin, spWallIn, pcWallIn, dIn, G1, G2, Inlet)) return;
            spWallIn = Tin + sign * Inlet.singlePhaseDrop;
            pcWallIn = Ts - sign * Inlet.phaseChangeDrop;
            // Outlet end.
            if (!evaluate(OutletEnd, T, T + sign * spDropOut, Ts - sign * pcDropOut, dOut, G1, G2,
                          Outlet))
                return;
            spDropOut = Outlet.singlePhaseDrop;
            pcDropOut = Outlet.phaseChangeDrop;
            spWallOut = T + sign * spDropOut;
            // Mean state.
            dLog = LogMeanDifference(dIn, dOut);
            const Real spDropLog = LogMeanDifference(Inlet.singlePhaseDrop, Outlet.singlePhaseDrop);
            const Real Tm = (T + Tin) / 2;
            if (!evaluate(MeanState, Tm, Tm + sign * spDropLog, Ts - sign * pcDropMean, dLog, G1,
                          G2, Mean))
                return;
            pcDropMean = Mean.phaseChangeDrop;

            // Installed over required surface; the next outlet is the one the
            // log-mean law gives for the installed surface.
            BalanceRatio = 3600 * Mean.q * installed / HeatFlow;
            if (!std::isfinite(BalanceRatio) || !(BalanceRatio > 0))
                throw NumericalError(
                    tr(m_lang, "the ratio of the installed to the required surface is not a number",
                       "отношение установленной поверхности к требуемой не является числом"));
            const Real target = Ts - sign * dIn * std::pow(dOut / dIn, BalanceRatio);
            OutletApproximation += ConvergenceConstant * (target - OutletApproximation);

            if (std::fabs(BalanceRatio - 1) < BalanceTolerance) {
                finished = true;
                break;
            }
            if (IterationCount > m_setup.slowConvergenceLimit) {
                HandleSlowConvergence(ConvergenceConstant, IterationCount, ContinueIteration);
                if (!ContinueIteration) {
                    finished = true;
                    break;
                }
            }
        }
        if (finished || !restart) break;
    }

    // Finish: the results belong to the outlet temperature T of the last evaluation.
    Outlet_T = T;
    const Real q = Mean.q;
    const Real tubeAlpha = inTubes ? Mean.phaseChangeAlpha : Mean.singlePhaseAlpha;
    const Real shellAlpha = inTubes ? Mean.singlePhaseAlpha : Mean.phaseChangeAlpha;
    r.Speed = inTubes ? 0 : Mean.tube.velocity;

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
}

}  // namespace vexamo
