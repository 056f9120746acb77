#include "exchanger/HeatCoolExchanger.h"

#include <cmath>

#include "common/Constants.h"
#include "common/Errors.h"
#include "common/NumberFormat.h"
#include "control/Session.h"
#include "dialogs/Dialogs.h"
#include "exchanger/Correlations.h"

namespace vexamo {

Real Sinh(Real x) { return (std::exp(x) - std::exp(-x)) / 2; }
Real Cosh(Real x) { return (std::exp(x) + std::exp(-x)) / 2; }
Real Coth(Real x) {
    if (x > 20) return 1;
    return (1 + std::exp(-2 * x)) / (1 - std::exp(-2 * x));
}

MultipassSolution multipassConstants(Real V, Real X, int n) {
    MultipassSolution c;
    const Real nX = n * X;
    c.s = std::sqrt(nX * nX + V * V);
    c.E = 1 - std::exp(-2 * n * V);
    c.D = 1 + c.E * (nX + c.s * Coth(c.s) - V * Coth(V)) / (2 * n * V);
    c.Y = c.E / (2 * n * V * c.D);
    return c;
}

MeanTemperatures MultipassMeanTemperatures(Real V, Real X, int passes, Real T2in, Real T1in) {
    const int n = passes / 2;
    if (n < 1) throw NumericalError("the multipass solution needs at least two tube passes");
    const MultipassSolution c = multipassConstants(V, X, n);
    const Real s = c.s, E = c.E, D = c.D, Y = c.Y;
    const Real nX = n * X;
    const Real delta = T2in - T1in;
    const Real eV = std::exp(-V);
    const Real B = std::exp(-nX) * (V - 2 * nX) * s / (V * V * Sinh(s)) - (eV - 1) * (s * Coth(s) + nX + V) / V -
                   Coth(s) * s / V;
    const Real G = 2 * X * n * s * Coth(s) / (V * V) + B - (s / V) * (s / V);
    MeanTemperatures m;
    m.passes.assign(static_cast<std::size_t>(2 * n), 0);
    m.passes[0] = T2in + delta * ((eV - 1) / V + Y * (G + nX / V - (nX / V) * (nX / V) - 2 * nX));
    const Real H = (1 - eV) / Sinh(V) - (2 * nX + V) * s / (V * V) * (std::exp(-nX) / Sinh(s) - Coth(s)) -
                   (nX + V) * nX / (V * V) - (s / V) * (s / V);
    m.passes[1] = T2in + delta * ((H - 2 * nX) * Y - (1 - eV) * eV / (D * V));
    for (int i = 1; i < n; ++i) {
        const Real R = delta * (1 - std::exp(-2 * V * i)) / D;
        m.passes[static_cast<std::size_t>(2 * i)] = m.passes[0] - (eV - 1) * R / V;
        m.passes[static_cast<std::size_t>(2 * i + 1)] = m.passes[1] + (std::exp(V) - 1) * std::exp(-2 * V) * R / V;
    }
    Real sum = 0;
    for (Real p : m.passes) sum += p;
    m.tube = sum / passes;
    const Real C = std::exp(-s) * (s + nX) / (2 * V * V) + std::exp(s) / (2 * (nX + s)) -
                   std::exp(-nX) * s / (V * V) - Sinh(s);
    m.shell = T2in + E * delta * X * C / (Sinh(s) * D * V);
    return m;
}

ProfilePointTemperatures MultipassProfile(Real V, Real X, int passes, Real T2in, Real T1in, Real x) {
    const int n = passes / 2;
    if (n < 1) throw NumericalError("the multipass solution needs at least two tube passes");
    const MultipassSolution c = multipassConstants(V, X, n);
    const Real s = c.s, E = c.E, D = c.D;
    const Real nX = n * X;
    const Real delta = T2in - T1in;
    const Real F = std::exp(-nX * x);
    const Real u = 1 - x;
    const Real M = 2 * n * V * D;
    ProfilePointTemperatures p;
    p.passes.assign(static_cast<std::size_t>(2 * n), 0);
    p.passes[0] = T2in - delta * ((F / Sinh(s) * (Cosh(u * s) * s + Sinh(u * s) * (V - nX)) + 2 * nX -
                                   V * std::exp(V * u) / Sinh(V)) *
                                      E / M +
                                  std::exp(-V * x) / D);
    p.passes[1] = T2in - delta * ((F / Sinh(s) * (Cosh(u * s) * s - Sinh(u * s) * (V + nX)) + 2 * nX -
                                   V * std::exp(-V * u) / Sinh(V)) *
                                      E / M +
                                  std::exp(V * (x - 2)) / D);
    for (int i = 1; i < n; ++i) {
        const Real S = delta * (1 - std::exp(-2 * V * i)) / D;
        p.passes[static_cast<std::size_t>(2 * i)] = p.passes[0] + std::exp(-V * x) * S;
        p.passes[static_cast<std::size_t>(2 * i + 1)] = p.passes[1] + std::exp(V * (x - 2)) * S;
    }
    p.shell = T2in + (std::exp(-x * nX) * Sinh((1 - x) * s) / Sinh(s) - 1) * E * X * delta / (V * D);
    return p;
}

EndDifferencePair EndDifferences(int passes, Real T1in, Real T2in, Real T1out, Real T2out) {
    return {T2in - T1in, passes % 2 != 0 ? T2out - T1out : T2in - T1out};
}

FilmDrops WallDifferences(int passes, Real A1, Real R1, Real R2, Real A2, Real T2out, Real T2in) {
    const int n = passes / 2;
    const Real shellDrop = (T2in - T2out) / (2 * n * A2);
    const Real tubeDrop = R1 * A2 * shellDrop / (A1 * R2);
    return {tubeDrop, shellDrop};
}

THeatCoolObj::THeatCoolObj(const ExchangerArguments& a) : THexObj(a) {
    TubeInlet = a.tube.Temperature;
    ShellInlet = a.shell.Temperature;
    NotchWanted = a.shell.SinglePhase != 0;
    FlowSideCopy = a.flowSide;
    ShellProcess = a.shell.ProcessCode;
    ReportText = "\r\n";
    if (NotchWanted) ComputeSegmentNotch(a.design.ShellDiameter);
}


THeatCoolObj::Film THeatCoolObj::FilmCoefficients(Real a, Real b, Real c, Real t, Real G1, Real G2) {
    const CorrelationContext context = correlationContext();
    Film f;
    f.alpha1 = TubeSideCoefficient(TubeComponents, TubeComposition, TubeComponentCount, 1, HorizontalBundle, t + b,
                                   t, G1 * TubePasses / TubeCount, InnerDiameter, TubeLength, context)
                   .alpha;
    f.alpha2 = ShellSideCoefficient(HorizontalBundle, ShellComposition, ShellComponents, ShellComponentCount,
                                    StaggeredTubes, t + c + a, t + c, G2 / NotchArea, OuterDiameter, TubeLength,
                                    context)
                   .alpha;
    f.K = 1 / (1 / f.alpha1 + 1 / f.alpha2 + WallResistance);
    return f;
}

void THeatCoolObj::Calculate(Real& G1, Real& G2, RunResults& r) {
    const Real T1in = TubeInlet, T2in = ShellInlet;
    // The model: one shell pass against an even number of tube passes.
    if (TubePasses < 2 || TubePasses % 2 != 0)
        throw CalculationAborted(tr(m_lang,
                                    "The heating-cooling calculation needs an even number of tube passes (2 or 4); "
                                    "the design data give ",
                                    "Расчет нагрева-охлаждения требует четного числа ходов в трубах (2 или 4); "
                                    "в конструктивных данных ") +
                                 std::to_string(TubePasses) + ".");
    if (!(NotchArea > 0))
        throw CalculationAborted(tr(m_lang, "The inner diameter of the casing is needed for the shell-side flow.",
                                    "Для потока в межтрубном пространстве нужен внутренний диаметр кожуха."));
    if (!(TubeCount > 0) || !(FlowSideCopy == 1 ? G2 > 0 : G1 > 0))
        throw CalculationAborted(tr(m_lang, "The given flow rate must be positive.",
                                    "Заданный расход должен быть положительным."));

    ConvergenceConstant = 0.5L;
    ShellOutlet = 40.0L;
    BalanceTolerance = 0.00001L;
    const Real T2out = ShellOutlet;
    // The shell outlet is fixed at 40 degC: it must lie downstream of the inlet
    // for the shell medium's process, or the balance gives a negative flow.
    const bool shellCooled = ShellProcess == static_cast<int>(ProcessCode::Cooling);
    if (shellCooled ? !(T2in > T2out) : !(T2in < T2out))
        throw CalculationAborted(
            tr(m_lang, "The shell-side outlet temperature of this calculation is 40 degr.C: a ",
               "Температура на выходе из межтрубного пространства в этом расчете 40 град.С: ") +
            std::string(shellCooled ? tr(m_lang, "cooled medium must enter above it", "охлаждаемый теплоноситель должен входить выше нее")
                                    : tr(m_lang, "heated medium must enter below it", "нагреваемый теплоноситель должен входить ниже нее")) +
            tr(m_lang, " (shell inlet ", " (вход в межтрубное пространство ") + formatShortest(T2in) +
            tr(m_lang, " degr.C).", " град.С)."));
    if (T1in == T2in)
        throw CalculationAborted(tr(m_lang, "The two media enter at the same temperature: no heat is exchanged.",
                                    "Теплоносители входят с одинаковой температурой: теплообмена нет."));

    const int passes = TubePasses;
    const Real Thot = std::max(T1in, T2in), Tcold = std::min(T1in, T2in);
    int totalIterations = 0;
    Real T1out = 0, HeatFlow = 0, q = 0, Km = 0;
    Real TubeCoefficient = 0, ShellCoefficient = 0;
    MeanTemperatures mean;
    auto passBox = [&](const char* id) {
        std::string text;
        for (int i = 1; i <= passes; ++i)
            text += " Art[" + std::to_string(i) + "] = " + formatShortest(mean.passes[static_cast<std::size_t>(i - 1)]);
        m_dialogs.message({id, MessageKind::Warning, text});
    };

    for (;;) {  // step 2: (re)start
        IterationCount = 0;
        OutletApproximation = (Thot + Tcold) / 2;
        AskInitialApproximation(OutletApproximation);
        Real w1in = (T2in - T1in) / 4, w1out = w1in, w2in = -w1in, w2out = -w1in;
        const Real cp1in = tubeMixture(T1in).HeatCapacity;
        const Real cp2in = shellMixture(T2in).HeatCapacity;
        bool restart = false;
        for (;;) {  // step 4: iteration
            if (++totalIterations > kIterationLimit)
                throw CalculationAborted(tr(m_lang, "The iteration did not converge within ",
                                            "Итерации не сошлись за ") +
                                         std::to_string(kIterationLimit) + tr(m_lang, " steps.", " шагов."));
            ++IterationCount;
            T1out = OutletApproximation;
            const EndDifferencePair ends = EndDifferences(passes, T1in, T2in, T1out, T2out);
            IterationLog = m_lang == kEnglish
                               ? " Number of iteration " + std::to_string(IterationCount) + "; Temperature of the heat-carrier on output from trumpet space = " + formatGeneral(T1out, 10, 2) + " degr.C;"
                               : " Число итераций " + std::to_string(IterationCount) + "; Темпеpатура теплоносителя на выходе из тpубного пpостpанства = " + formatGeneral(T1out, 8, 2) + " град.С;";
            WriteProgressLine();

            TubeProps = tubeMixture(T1out);
            ShellProps = shellMixture(T2out);
            const Real cp1out = TubeProps.HeatCapacity, cp2out = ShellProps.HeatCapacity;
            // Heat of each stream: mean heat capacity times the change of temperature.
            if (FlowSideCopy == 1) {
                HeatFlow = (cp2in + cp2out) / 2 * (T2out - T2in) * G2;
                G1 = HeatFlow / ((cp1in + cp1out) / 2 * (T1in - T1out));
            } else {
                HeatFlow = (cp1in + cp1out) / 2 * (T1out - T1in) * G1;
                G2 = HeatFlow / ((cp2in + cp2out) / 2 * (T2in - T2out));
            }
            if (!(G1 > 0) || !(G2 > 0) || !std::isfinite(G1) || !std::isfinite(G2))
                throw CalculationAborted(tr(m_lang, "The heat balance gives no positive flow rate at the outlet temperature ",
                                            "Тепловой баланс не дает положительного расхода при температуре на выходе ") +
                                         formatShortest(T1out) + tr(m_lang, " degr.C.", " град.С."));

            const Film in = FilmCoefficients(w2in, w1in, ends.in, T1in, G1, G2);
            w1in = in.K * ends.in / in.alpha1;
            w2in = -in.K * ends.in / in.alpha2;
            const Film out = FilmCoefficients(w2out, w1out, ends.out, T1out, G1, G2);
            w1out = out.K * ends.out / out.alpha1;
            w2out = -out.K * ends.out / out.alpha2;

            const Real sigma = in.K + out.K;
            const Real S = kPi * (InnerDiameter + OuterDiameter) / 4 * TubeLength * TubeCount * 3600;
            const Real X = sigma * S / (passes * (cp2in + cp2out) * G2 / 2);
            const Real V = sigma * S / (passes * G1 * (cp1in + cp1out) / 2);
            const Real A2 = (in.alpha2 + out.alpha2) * X / sigma;
            const Real A1 = (in.alpha1 + out.alpha1) * V / sigma;
            const Real R2 = 2 * X / (sigma * WallResistance);
            const Real R1 = 2 * V / (sigma * WallResistance);

            mean = MultipassMeanTemperatures(V, X, passes, T2in, T1in);
            const FilmDrops drops = WallDifferences(passes, A1, R1, R2, A2, T2out, T2in);
            passBox("heatcool.pass_temperatures");

            ProfileGraphRequest graph;
            graph.language = m_lang;
            graph.curves.assign(static_cast<std::size_t>(passes + 1), {});
            for (int j = 0; j <= 12; ++j) {
                const Real x = static_cast<Real>(j) / 12;
                graph.positions.push_back(x);
                const ProfilePointTemperatures p = MultipassProfile(V, X, passes, T2in, T1in, x);
                graph.curves[0].push_back(p.shell);
                for (int i = 1; i <= passes; ++i)
                    graph.curves[static_cast<std::size_t>(i)].push_back(p.passes[static_cast<std::size_t>(i - 1)]);
            }
            m_dialogs.showProfileGraph(graph);

            const Film m = FilmCoefficients(-drops.DeltaB, drops.DeltaA, mean.shell - mean.tube, mean.tube, G1, G2);
            TubeCoefficient = m.alpha1;
            ShellCoefficient = m.alpha2;
            Km = m.K;
            q = (mean.shell - mean.tube) * Km;
            BalanceRatio = TubeCoefficient * drops.DeltaA / q;
            if (!std::isfinite(BalanceRatio))
                throw NumericalError(tr(m_lang, "the heat balance of the films is not a number",
                                        "тепловой баланс пленок не является числом"));

            const Real Tb = T1in;
            OutletApproximation += (BalanceRatio - 1) * ConvergenceConstant * (Tb - OutletApproximation);
            if (OutletApproximation > Thot || OutletApproximation < Tcold) {
                if (HandleOutOfInterval(ConvergenceConstant)) {
                    r.produced = false;
                    return;  // left for the data dialogs
                }
                restart = true;
                break;
            }
            if (IterationCount > 160) {
                HandleSlowConvergence(ConvergenceConstant, IterationCount, ContinueIteration);
                if (!ContinueIteration) break;
            }
            if (std::fabs(BalanceRatio - 1) < BalanceTolerance) break;
        }
        if (!restart) break;
    }

    // Finish: the boxes of the last iteration are always shown.
    passBox("heatcool.pass_temperatures_final");
    m_dialogs.message({"heatcool.mean_state", MessageKind::Warning,
                       " deltaT =" + formatShortest(mean.shell - mean.tube) + " Tmid2 = " + formatShortest(mean.shell) + " Tmid1 = " +
                           formatShortest(mean.tube) + " Tout2 = " + formatShortest(T2out) + " Tout1 = " + formatShortest(T1out) +
                           " Qu =" + formatShortest(q)});
    TubeOutlet = T1out;
    r.produced = true;
    r.converged = std::fabs(BalanceRatio - 1) < BalanceTolerance;
    r.BalanceRatio = BalanceRatio;
    r.Iterations = totalIterations;
    r.TubeCoefficient = TubeCoefficient;
    r.ShellCoefficient = ShellCoefficient;
    // Magnitudes, whatever the direction of the heat and the side whose flow is given.
    r.HeatFlux = std::fabs(q);
    r.OverallCoefficient = q / (mean.shell - mean.tube);
    r.HeatFlow = std::fabs(HeatFlow);
    r.Speed = 0;
    r.hasOutlet = true;
    r.outletSide = 1;
    r.OutletTemperature = T1out;
    r.OtherOutletTemperature = T2out;
}

}  // namespace vexamo
