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

namespace {

// A root of f between a and b, where f(a) and f(b) differ in sign, by false
// position with the Illinois modification (bisection where rounding puts the
// point outside); ends when |f| <= fTolerance or the ends are closer than
// xTolerance, and returns the last point evaluated.
template <typename F>
Real falsePosition(F&& f, Real a, Real fa, Real b, Real fb, Real xTolerance, Real fTolerance) {
    int retained = 0;  // which end was kept last: -1 a, +1 b
    Real x = b;
    for (int k = 0; k < 200 && std::fabs(b - a) > xTolerance; ++k) {
        x = b - fb * (b - a) / (fb - fa);
        if (!(x > std::min(a, b) && x < std::max(a, b))) x = (a + b) / 2;
        const Real fx = f(x);
        if (std::fabs(fx) <= fTolerance) return x;
        if ((fx < 0) == (fb < 0)) {
            b = x, fb = fx;
            if (retained == -1) fa /= 2;
            retained = -1;
        } else {
            a = x, fa = fx;
            if (retained == +1) fb /= 2;
            retained = +1;
        }
    }
    return x;
}

}  // namespace

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
    const TubeSideResult tube = TubeSideCoefficient(TubeComponents, TubeComposition, TubeComponentCount, 1,
                                                    HorizontalBundle, t + b, t, G1 * TubePasses / TubeCount,
                                                    InnerDiameter, TubeLength, context);
    const ShellSideResult shell =
        ShellSideCoefficient(HorizontalBundle, ShellComposition, ShellComponents, ShellComponentCount, StaggeredTubes,
                             t + c + a, t + c, G2 / NotchArea, OuterDiameter, TubeLength, context);
    f.alpha1 = tube.alpha;
    f.alpha2 = shell.alpha;
    f.velocity1 = tube.velocity;
    f.reynolds1 = tube.reynolds;
    f.velocity2 = shell.velocity;
    f.reynolds2 = shell.reynolds;
    f.K = 1 / (1 / f.alpha1 + 1 / f.alpha2 + WallResistance);
    return f;
}

THeatCoolObj::State THeatCoolObj::evaluate(Real T, Real cp1in, Real cp2in, Real cp2out) {
    const Real T1in = TubeInlet, T2in = ShellInlet, T2out = ShellOutlet;
    State st;
    st.T1out = T;
    TubeProps = tubeMixture(T);
    // Heat of each stream: mean heat capacity times the change of temperature;
    // HeatFlow is the heat the tube medium takes up.
    const Real cp1 = (cp1in + TubeProps.HeatCapacity) / 2, cp2 = (cp2in + cp2out) / 2;
    if (FlowSideCopy == 1) {
        st.G2 = m_givenFlow;
        st.HeatFlow = cp2 * (T2in - T2out) * st.G2;
        st.G1 = st.HeatFlow / (cp1 * (T - T1in));
    } else {
        st.G1 = m_givenFlow;
        st.HeatFlow = cp1 * (T - T1in) * st.G1;
        st.G2 = st.HeatFlow / (cp2 * (T2in - T2out));
    }
    if (!(st.G1 > 0) || !(st.G2 > 0) || !std::isfinite(st.G1) || !std::isfinite(st.G2))
        throw CalculationAborted(tr(m_lang, "The heat balance gives no positive flow rate at the outlet temperature ",
                                    "Тепловой баланс не дает положительного расхода при температуре на выходе ") +
                                 formatShortest(T) + tr(m_lang, " degr.C.", " град.С."));

    // One parallel flow through one bundle: its films and its transfer units.
    const Real P = ParallelFlows;
    const Real G1u = st.G1 / P, G2u = st.G2 / P;
    const Real area = kPi * (InnerDiameter + OuterDiameter) / 2 * TubeLength * TubeCount;  // m2 of one bundle
    const Real W1 = cp1 * G1u, W2 = cp2 * G2u;                                           // J/(hour K)
    const int passes = TubePasses;

    // The field depends on K and K on the mean temperatures of the field and
    // the wall temperatures of its films: settle the two together.
    auto field = [&](Real k) {
        st.V = k * area * 3600 / (passes * W1);
        st.X = k * area * 3600 / (passes * W2);
        st.mean = MultipassMeanTemperatures(st.V, st.X, passes, T2in, T1in);
    };
    constexpr Real kSettled = 1e-9L;  // the correlations' own solvers are not finer
    Real K = m_lastK;
    if (!(K > 0)) {
        const Real t1 = (T1in + T) / 2, t2 = (T2in + T2out) / 2;
        K = FilmCoefficients(m_shellOffset, m_tubeOffset, t2 - t1, t1, G1u, G2u).K;
    }
    // Usually a few substitutions settle it.
    Real Kmin = K, Kmax = K;
    bool settled = false;
    for (int k = 0; k < 30 && !settled; ++k) {
        field(K);
        const Real d = st.mean.shell - st.mean.tube;
        const Film f = FilmCoefficients(m_shellOffset, m_tubeOffset, d, st.mean.tube, G1u, G2u);
        if (!std::isfinite(f.K) || !(f.K > 0))
            throw NumericalError(tr(m_lang, "the overall heat transfer coefficient is not a positive number",
                                    "коэффициент теплопередачи не является положительным числом"));
        m_tubeOffset = f.K * d / f.alpha1;
        m_shellOffset = -f.K * d / f.alpha2;
        settled = std::fabs(f.K - K) <= kSettled * K;
        K = f.K;
        st.film = f;
        Kmin = std::min(Kmin, K), Kmax = std::max(Kmax, K);
    }
    if (!settled) {
        // Where a film changes its regime with the wall temperature (the
        // Rayleigh band of laminar tube flow) the substitution swings from one
        // side to the other. Then the film drops are solved for the heat flux
        // of each trial K, and K by false position between trials whose films
        // give more and less than they were given.
        const CorrelationContext context = correlationContext();
        auto consistent = [&](Real k) {
            field(k);
            const Real d = st.mean.shell - st.mean.tube;
            const Real sign = d < 0 ? -1 : 1, q = k * std::fabs(d);
            // u alpha(u) = q over the drop u of one film, 0 <= u <= |d|
            auto drop = [&](auto alphaAt) {
                Real u = std::fabs(d);
                const Real atFull = u * alphaAt(u) - q;
                if (atFull <= 0) return u;
                const Real found = falsePosition([&](Real x) { return x * alphaAt(x) - q; }, 0, -q, u, atFull,
                                                 1e-12L * u, 1e-12L * q);
                return found;
            };
            const Real tubeDrop = drop([&](Real u) {
                return TubeSideCoefficient(TubeComponents, TubeComposition, TubeComponentCount, 1, HorizontalBundle,
                                           st.mean.tube + sign * u, st.mean.tube, G1u * TubePasses / TubeCount,
                                           InnerDiameter, TubeLength, context)
                    .alpha;
            });
            const Real shellDrop = drop([&](Real u) {
                return ShellSideCoefficient(HorizontalBundle, ShellComposition, ShellComponents, ShellComponentCount,
                                            StaggeredTubes, st.mean.shell - sign * u, st.mean.shell,
                                            G2u / NotchArea, OuterDiameter, TubeLength, context)
                    .alpha;
            });
            m_tubeOffset = sign * tubeDrop;
            m_shellOffset = -sign * shellDrop;
            st.film = FilmCoefficients(m_shellOffset, m_tubeOffset, d, st.mean.tube, G1u, G2u);
            return st.film.K - k;
        };
        Real lo = Kmin / 2, hi = Kmax * 2;
        if (WallResistance > 0) hi = std::min(hi, (1 - 1e-9L) / WallResistance);
        const Real hLo = consistent(lo), hHi = consistent(hi);
        if (!(hLo > 0) || !(hHi < 0))
            throw NumericalError(tr(m_lang, "the overall coefficient of the mean state does not settle at the outlet temperature ",
                                    "коэффициент теплопередачи среднего состояния не устанавливается при температуре на выходе ") +
                                 formatShortest(T) + tr(m_lang, " degr.C", " град.С"));
        K = falsePosition(consistent, lo, hLo, hi, hHi, kSettled * Kmax, 0);
        consistent(K);
        K = st.film.K;
    }
    field(K);
    m_lastK = K;
    st.q = K * (st.mean.shell - st.mean.tube);
    st.tubeDrop = m_tubeOffset;
    st.shellDrop = m_shellOffset;
    st.ratio = st.HeatFlow / (3600 * st.q * InstalledSurface());
    if (!std::isfinite(st.ratio) || !(st.ratio > 0))
        throw NumericalError(tr(m_lang, "the heat balance of the surface is not a number",
                                "тепловой баланс поверхности не является числом"));
    return st;
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
    if (!(TubeCount > 0) || !(ParallelFlows > 0) || !(TubeLength > 0) || !(InnerDiameter > 0) ||
        !(OuterDiameter > 0))
        throw CalculationAborted(
            tr(m_lang, "The design data need tubes, parallel flows, a tube length and tube diameters above zero.",
               "В конструктивных данных число труб, параллельных потоков, длина и диаметры труб должны быть больше нуля."));
    if (!(FlowSideCopy == 1 ? G2 > 0 : G1 > 0))
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
    // ... and the tube medium must enter on the other side of it: a medium is
    // never cooled below (or heated above) the inlet of the one it meets.
    if (shellCooled ? !(T1in < T2out) : !(T1in > T2out))
        throw CalculationAborted(
            tr(m_lang, "The shell-side outlet temperature of this calculation is 40 degr.C: the ",
               "Температура на выходе из межтрубного пространства в этом расчете 40 град.С: ") +
            std::string(shellCooled
                            ? tr(m_lang, "heated medium in the tube space must enter below it (tube inlet ",
                                 "нагреваемый теплоноситель в трубном пространстве должен входить ниже нее (вход в трубное пространство ")
                            : tr(m_lang, "cooled medium in the tube space must enter above it (tube inlet ",
                                 "охлаждаемый теплоноситель в трубном пространстве должен входить выше нее (вход в трубное пространство ")) +
            formatShortest(T1in) +
            std::string(shellCooled
                            ? tr(m_lang, " degr.C), since the shell medium cannot leave colder than the medium that cools it.",
                                 " град.С): теплоноситель межтрубного пространства не может выйти холоднее того, который его охлаждает.")
                            : tr(m_lang, " degr.C), since the shell medium cannot leave hotter than the medium that heats it.",
                                 " град.С): теплоноситель межтрубного пространства не может выйти горячее того, который его нагревает.")));

    // Without results the flow that was to be found keeps the value it came with.
    const FlowKeeper keeper{G1, G2, r};
    m_givenFlow = FlowSideCopy == 1 ? G2 : G1;

    const int passes = TubePasses;
    const Real installed = InstalledSurface();
    const Real Thot = std::max(T1in, T2in), Tcold = std::min(T1in, T2in);
    // The admissible outlets: from just beyond the tube inlet up to the shell inlet.
    const Real nearInlet = T1in + kLeastChange * (T2in - T1in), farEnd = T2in;
    auto admissible = [&](Real T) { return (T - nearInlet) * (T - farEnd) <= 0; };
    const Real cp1in = tubeMixture(T1in).HeatCapacity;
    const Real cp2in = shellMixture(T2in).HeatCapacity;
    ShellProps = shellMixture(T2out);
    const Real cp2out = ShellProps.HeatCapacity;

    int totalIterations = 0;
    State st;
    auto passBox = [&](const char* id) {
        std::string text;
        for (int i = 1; i <= passes; ++i)
            text += " Art[" + std::to_string(i) + "] = " + formatShortest(st.mean.passes[static_cast<std::size_t>(i - 1)]);
        m_dialogs.message({id, MessageKind::Warning, text, true});
    };
    auto showGraph = [&] {
        ProfileGraphRequest graph;
        graph.language = m_lang;
        graph.curves.assign(static_cast<std::size_t>(passes + 1), {});
        for (int j = 0; j <= 12; ++j) {
            const Real x = static_cast<Real>(j) / 12;
            graph.positions.push_back(x);
            const ProfilePointTemperatures p = MultipassProfile(st.V, st.X, passes, T2in, T1in, x);
            graph.curves[0].push_back(p.shell);
            for (int i = 1; i <= passes; ++i)
                graph.curves[static_cast<std::size_t>(i)].push_back(p.passes[static_cast<std::size_t>(i - 1)]);
        }
        m_dialogs.showProfileGraph(graph);
    };
    auto noBalance = [&]() -> CalculationAborted {
        if (FlowSideCopy == 1)
            return CalculationAborted(
                tr(m_lang, "The installed surface of ", "Установленная поверхность ") + formatGeneral(installed, 6, 2) +
                tr(m_lang,
                   " m^2 cannot pass the heat of the given flow in the intertrumpet space: even an unbounded flow in "
                   "the trumpet space would not bring its outlet to 40 degr.C. Give a larger surface or a smaller flow.",
                   " м^2 не может передать теплоту заданного расхода в межтрубном пространстве: даже неограниченный "
                   "расход в трубном пространстве не доведет температуру на выходе из него до 40 град.С. Задайте "
                   "большую поверхность или меньший расход."));
        return CalculationAborted(
            tr(m_lang, "No outlet temperature of the trumpet space between ",
               "Никакая температура на выходе из трубного пространства между ") +
            formatShortest(T1in) + tr(m_lang, " and ", " и ") + formatShortest(T2in) +
            tr(m_lang, " degr.C balances the heat of both media over the installed surface of ",
               " град.С не сводит тепловой баланс обоих теплоносителей на установленной поверхности ") +
            formatGeneral(installed, 6, 2) + tr(m_lang, " m^2.", " м^2."));
    };

    struct Point {
        Real T = 0, f = 0;  // outlet and BalanceRatio - 1 there
    };
    auto opposite = [](const Point& a, const Point& b) { return (a.f < 0) != (b.f < 0); };
    for (;;) {  // (re)start
        IterationCount = 0;
        OutletApproximation = (Thot + Tcold) / 2;
        AskInitialApproximation(OutletApproximation);
        m_tubeOffset = (T2in - T1in) / 4;
        m_shellOffset = -m_tubeOffset;
        m_lastK = 0;
        // a, b: outlets with balances of opposite sign, once known; between them
        // lies the outlet sought. Relaxation goes on while it stays inside and
        // converges; after a change of sign, a step that would leave them, or
        // a step that hardly shrinks, the outlet is found by false position
        // with the Illinois modification.
        Point a, b, previous;
        bool bracketed = false, bracketing = false, havePrevious = false;
        int retained = 0;  // which end false position kept last time: -1 a, +1 b
        Real lastStep = 0;  // of the relaxation
        bool restart = false;
        for (;;) {
            if (++totalIterations > kIterationLimit)
                throw CalculationAborted(tr(m_lang, "The iteration did not converge within ",
                                            "Итерации не сошлись за ") +
                                         std::to_string(kIterationLimit) + tr(m_lang, " steps.", " шагов."));
            ++IterationCount;
            const Real T = OutletApproximation;
            IterationLog = m_lang == kEnglish
                               ? " Number of iteration " + std::to_string(IterationCount) + "; Temperature of the heat-carrier on output from trumpet space = " + formatGeneral(T, 10, 2) + " degr.C;"
                               : " Число итераций " + std::to_string(IterationCount) + "; Темпеpатура теплоносителя на выходе из тpубного пpостpанства = " + formatGeneral(T, 8, 2) + " град.С;";
            WriteProgressLine();
            if (!admissible(T)) {  // only a start typed by the person can be outside
                if (HandleOutOfInterval(ConvergenceConstant)) {
                    r.produced = false;
                    r.reason = "left for the initial data";
                    return;
                }
                restart = true;
                break;
            }

            st = evaluate(T, cp1in, cp2in, cp2out);
            BalanceRatio = st.ratio;
            passBox("heatcool.pass_temperatures");
            showGraph();
            if (std::fabs(BalanceRatio - 1) < BalanceTolerance) break;

            const Point p{T, BalanceRatio - 1};
            if (bracketed) {
                // successive steps of opposite sign: the root lies between them
                if (!bracketing && opposite(p, previous)) bracketing = true, retained = 0;
                // the new outlet takes the place of the end on its side
                if (opposite(p, a)) {
                    b = p;
                    if (bracketing && retained == -1) a.f /= 2;
                    retained = -1;
                } else {
                    a = p;
                    if (bracketing && retained == +1) b.f /= 2;
                    retained = +1;
                }
            } else if (havePrevious && opposite(p, previous)) {
                a = previous, b = p;
                bracketed = bracketing = true;
            } else {
                // The relaxation heads for the tube inlet when the balance
                // needs more surface than is installed, else for the shell
                // inlet: that end must show the opposite balance, or no outlet
                // on this side balances the two media.
                // Close to the tube inlet one flow becomes tiny and a film may
                // leave its data: then the probe moves towards the outlet.
                Point e;
                for (const Real share : {Real(1), 0.01L, 0.1L, 0.5L}) {
                    const Real end = p.f > 0 ? (share == 1 ? nearInlet : T1in + share * (T - T1in)) : farEnd;
                    try {
                        e = {end, evaluate(end, cp1in, cp2in, cp2out).ratio - 1};
                        break;
                    } catch (const CalculationAborted&) {
                        if (p.f <= 0 || share == 0.5L) throw;
                    }
                }
                if (std::fabs(e.f) >= BalanceTolerance && !opposite(p, e)) throw noBalance();
                a = p, b = e;
                bracketed = true;
            }
            havePrevious = true;
            previous = p;

            Real next = T + (BalanceRatio - 1) * ConvergenceConstant * (T1in - T);
            const Real lo = std::min(a.T, b.T), hi = std::max(a.T, b.T);
            // False position also takes over from a relaxation that leaves the
            // bracket or that does not at least halve its step each time.
            const Real step = next - T;
            if (!bracketing && (!(next > lo && next < hi) || (lastStep != 0 && std::fabs(step) > std::fabs(lastStep) / 2)))
                bracketing = true;
            lastStep = step;
            if (bracketing) {
                if (hi - lo <= 1e-12L * std::fabs(T2in - T1in)) {
                    // the balance jumps across 1 between two outlets that no
                    // longer differ: the last state is the result
                    break;
                }
                next = b.T - b.f * (b.T - a.T) / (b.f - a.f);
                if (!(next > lo && next < hi)) next = (lo + hi) / 2;
            }
            OutletApproximation = next;
            if (IterationCount > 160) {
                HandleSlowConvergence(ConvergenceConstant, IterationCount, ContinueIteration);
                if (!ContinueIteration) break;
            }
        }
        if (!restart) break;
    }

    // Finish: the boxes of the last iteration are always shown.
    const Real T1out = st.T1out;
    passBox("heatcool.pass_temperatures_final");
    m_dialogs.message({"heatcool.mean_state", MessageKind::Warning,
                       " deltaT =" + formatShortest(st.mean.shell - st.mean.tube) + " Tmid2 = " + formatShortest(st.mean.shell) +
                           " Tmid1 = " + formatShortest(st.mean.tube) + " Tout2 = " + formatShortest(T2out) +
                           " Tout1 = " + formatShortest(T1out) + " Qu =" + formatShortest(st.q),
                       true});
    TubeOutlet = T1out;
    G1 = st.G1;
    G2 = st.G2;
    r.produced = true;
    r.converged = std::fabs(BalanceRatio - 1) < BalanceTolerance;
    r.BalanceRatio = BalanceRatio;
    r.Iterations = totalIterations;
    r.TubeCoefficient = st.film.alpha1;
    r.ShellCoefficient = st.film.alpha2;
    // Magnitudes, whatever the direction of the heat.
    r.HeatFlux = std::fabs(st.q);
    r.OverallCoefficient = st.q / (st.mean.shell - st.mean.tube);
    r.HeatFlow = std::fabs(st.HeatFlow);
    r.InstalledSurface = installed;
    r.Speed = 0;
    r.hasOutlet = true;
    r.outletSide = 1;
    r.OutletTemperature = T1out;
    r.OtherOutletTemperature = T2out;
    r.TubeSide.velocity = st.film.velocity1;
    r.TubeSide.reynolds = st.film.reynolds1;
    r.ShellSide.velocity = st.film.velocity2;
    r.ShellSide.reynolds = st.film.reynolds2;
}

}  // namespace vexamo
