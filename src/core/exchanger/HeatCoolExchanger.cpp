#include "exchanger/HeatCoolExchanger.h"

#include <cmath>

#include "common/Constants.h"
#include "common/Errors.h"
#include "common/NumberFormat.h"
#include "dialogs/Dialogs.h"
#include "exchanger/Correlations.h"
#include "exchanger/ExchangerTexts.h"
#include "exchanger/HeatCoolTexts.h"

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
    const Real B = std::exp(-nX) * (V - 2 * nX) * s / (V * V * Sinh(s)) -
                   (eV - 1) * (s * Coth(s) + nX + V) / V - Coth(s) * s / V;
    const Real G = 2 * X * n * s * Coth(s) / (V * V) + B - (s / V) * (s / V);
    MeanTemperatures m;
    m.passes.assign(static_cast<std::size_t>(2 * n), 0);
    m.passes[0] = T2in + delta * ((eV - 1) / V + Y * (G + nX / V - (nX / V) * (nX / V) - 2 * nX));
    const Real H = (1 - eV) / Sinh(V) -
                   (2 * nX + V) * s / (V * V) * (std::exp(-nX) / Sinh(s) - Coth(s)) -
                   (nX + V) * nX / (V * V) - (s / V) * (s / V);
    m.passes[1] = T2in + delta * ((H - 2 * nX) * Y - (1 - eV) * eV / (D * V));
    for (int i = 1; i < n; ++i) {
        const Real R = delta * (1 - std::exp(-2 * V * i)) / D;
        m.passes[static_cast<std::size_t>(2 * i)] = m.passes[0] - (eV - 1) * R / V;
        m.passes[static_cast<std::size_t>(2 * i + 1)] =
            m.passes[1] + (std::exp(V) - 1) * std::exp(-2 * V) * R / V;
    }
    Real sum = 0;
    for (Real p : m.passes) sum += p;
    m.tube = sum / passes;
    const Real C = std::exp(-s) * (s + nX) / (2 * V * V) + std::exp(s) / (2 * (nX + s)) -
                   std::exp(-nX) * s / (V * V) - Sinh(s);
    m.shell = T2in + E * delta * X * C / (Sinh(s) * D * V);
    return m;
}

ProfilePointTemperatures MultipassProfile(Real V, Real X, int passes, Real T2in, Real T1in,
                                          Real x) {
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
    p.passes[0] = T2in - delta * ((F / Sinh(s) * (Cosh(u * s) * s + Sinh(u * s) * (V - nX)) +
                                   2 * nX - V * std::exp(V * u) / Sinh(V)) *
                                      E / M +
                                  std::exp(-V * x) / D);
    p.passes[1] = T2in - delta * ((F / Sinh(s) * (Cosh(u * s) * s - Sinh(u * s) * (V + nX)) +
                                   2 * nX - V * std::exp(-V * u) / Sinh(V)) *
                                      E / M +
                                  std::exp(V * (x - 2)) / D);
    for (int i = 1; i < n; ++i) {
        const Real S = delta * (1 - std::exp(-2 * V * i)) / D;
        p.passes[static_cast<std::size_t>(2 * i)] = p.passes[0] + std::exp(-V * x) * S;
        p.passes[static_cast<std::size_t>(2 * i + 1)] = p.passes[1] + std::exp(V * (x - 2)) * S;
    }
    p.shell =
        T2in + (std::exp(-x * nX) * Sinh((1 - x) * s) / Sinh(s) - 1) * E * X * delta / (V * D);
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

THeatCoolObj::Film THeatCoolObj::FilmCoefficients(Real a, Real b, Real c, Real t, Real G1,
                                                  Real G2) {
    const CorrelationContext context = correlationContext();
    Film f;
    const TubeSideResult tube = TubeSideCoefficient(
        TubeComponents, TubeComposition, TubeComponentCount, 1, HorizontalBundle, t + b, t,
        G1 * TubePasses / TubeCount, InnerDiameter, TubeLength, context);
    const ShellSideResult shell = ShellSideCoefficient(
        HorizontalBundle, ShellComposition, ShellComponents, ShellComponentCount, StaggeredTubes,
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

void THeatCoolObj::balanceFlows(State& st, Real cp1, Real cp2) {
    const Real T = st.T1out, T1in = TubeInlet, T2in = ShellInlet, T2out = ShellOutlet;
    // Heat of each stream: mean heat capacity times the change of temperature;
    // HeatFlow is the heat the tube medium takes up.
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
        throw CalculationAborted(heatCoolTexts::noPositiveFlow(m_lang, T));
}

void THeatCoolObj::field(State& st, const Unit& u, Real k) const {
    const int passes = TubePasses;
    st.V = k * u.area * 3600 / (passes * u.W1);
    st.X = k * u.area * 3600 / (passes * u.W2);
    st.mean = MultipassMeanTemperatures(st.V, st.X, passes, ShellInlet, TubeInlet);
}

namespace {

constexpr Real kSettled = 1e-9L;  // the correlations' own solvers are not finer

}  // namespace

bool THeatCoolObj::settleBySubstitution(State& st, const Unit& u, Real& K, Real& Kmin, Real& Kmax) {
    // Usually a few substitutions settle it.
    bool settled = false;
    for (int k = 0; k < 30 && !settled; ++k) {
        field(st, u, K);
        const Real d = st.mean.shell - st.mean.tube;
        const Film f = FilmCoefficients(m_shellOffset, m_tubeOffset, d, st.mean.tube, u.G1, u.G2);
        if (!std::isfinite(f.K) || !(f.K > 0))
            throw NumericalError(heatCoolTexts::coefficientNotPositive(m_lang));
        m_tubeOffset = f.K * d / f.alpha1;
        m_shellOffset = -f.K * d / f.alpha2;
        settled = std::fabs(f.K - K) <= kSettled * K;
        K = f.K;
        st.film = f;
        Kmin = std::min(Kmin, K), Kmax = std::max(Kmax, K);
    }
    return settled;
}

Real THeatCoolObj::settleByFalsePosition(State& st, const Unit& unit, Real Kmin, Real Kmax) {
    // Where a film changes its regime with the wall temperature (the
    // Rayleigh band of laminar tube flow) the substitution swings from one
    // side to the other. Then the film drops are solved for the heat flux
    // of each trial K, and K by false position between trials whose films
    // give more and less than they were given.
    const CorrelationContext context = correlationContext();
    auto consistent = [&](Real k) {
        field(st, unit, k);
        const Real d = st.mean.shell - st.mean.tube;
        const Real sign = d < 0 ? -1 : 1, q = k * std::fabs(d);
        // u alpha(u) = q over the drop u of one film, 0 <= u <= |d|
        auto drop = [&](auto alphaAt) {
            Real u = std::fabs(d);
            const Real atFull = u * alphaAt(u) - q;
            if (atFull <= 0) return u;
            const Real found = falsePosition([&](Real x) { return x * alphaAt(x) - q; }, 0, -q, u,
                                             atFull, 1e-12L * u, 1e-12L * q);
            return found;
        };
        const Real tubeDrop = drop([&](Real w) {
            return TubeSideCoefficient(TubeComponents, TubeComposition, TubeComponentCount, 1,
                                       HorizontalBundle, st.mean.tube + sign * w, st.mean.tube,
                                       unit.G1 * TubePasses / TubeCount, InnerDiameter, TubeLength,
                                       context)
                .alpha;
        });
        const Real shellDrop = drop([&](Real w) {
            return ShellSideCoefficient(HorizontalBundle, ShellComposition, ShellComponents,
                                        ShellComponentCount, StaggeredTubes,
                                        st.mean.shell - sign * w, st.mean.shell,
                                        unit.G2 / NotchArea, OuterDiameter, TubeLength, context)
                .alpha;
        });
        m_tubeOffset = sign * tubeDrop;
        m_shellOffset = -sign * shellDrop;
        st.film = FilmCoefficients(m_shellOffset, m_tubeOffset, d, st.mean.tube, unit.G1, unit.G2);
        return st.film.K - k;
    };
    Real lo = Kmin / 2, hi = Kmax * 2;
    if (WallResistance > 0) hi = std::min(hi, (1 - 1e-9L) / WallResistance);
    const Real hLo = consistent(lo), hHi = consistent(hi);
    if (!(hLo > 0) || !(hHi < 0))
        throw NumericalError(heatCoolTexts::meanStateUnsettled(m_lang, st.T1out));
    const Real K = falsePosition(consistent, lo, hLo, hi, hHi, kSettled * Kmax, 0);
    consistent(K);
    return st.film.K;
}

THeatCoolObj::State THeatCoolObj::evaluate(Real T, Real cp1in, Real cp2in, Real cp2out) {
    const Real T1in = TubeInlet, T2in = ShellInlet, T2out = ShellOutlet;
    State st;
    st.T1out = T;
    TubeProps = tubeMixture(T);
    const Real cp1 = (cp1in + TubeProps.HeatCapacity) / 2, cp2 = (cp2in + cp2out) / 2;
    balanceFlows(st, cp1, cp2);

    // One parallel flow through one bundle: its films and its transfer units.
    const Real P = ParallelFlows;
    Unit u;
    u.G1 = st.G1 / P, u.G2 = st.G2 / P;
    u.area = kPi * (InnerDiameter + OuterDiameter) / 2 * TubeLength * TubeCount;
    u.W1 = cp1 * u.G1, u.W2 = cp2 * u.G2;

    // The field depends on K and K on the mean temperatures of the field and
    // the wall temperatures of its films: settle the two together.
    Real K = m_lastK;
    if (!(K > 0)) {
        const Real t1 = (T1in + T) / 2, t2 = (T2in + T2out) / 2;
        K = FilmCoefficients(m_shellOffset, m_tubeOffset, t2 - t1, t1, u.G1, u.G2).K;
    }
    Real Kmin = K, Kmax = K;
    if (!settleBySubstitution(st, u, K, Kmin, Kmax)) K = settleByFalsePosition(st, u, Kmin, Kmax);
    field(st, u, K);
    m_lastK = K;
    st.q = K * (st.mean.shell - st.mean.tube);
    st.tubeDrop = m_tubeOffset;
    st.shellDrop = m_shellOffset;
    st.ratio = st.HeatFlow / (3600 * st.q * InstalledSurface());
    if (!std::isfinite(st.ratio) || !(st.ratio > 0))
        throw NumericalError(heatCoolTexts::balanceNotANumber(m_lang));
    return st;
}

void THeatCoolObj::requireCalculableDesign(Real G1, Real G2) const {
    namespace texts = heatCoolTexts;
    // The model: one shell pass against an even number of tube passes.
    if (TubePasses < 2 || TubePasses % 2 != 0)
        throw CalculationAborted(texts::passesNotEven(m_lang, TubePasses));
    if (!(NotchArea > 0)) throw CalculationAborted(exchangerTexts::casingDiameterNeeded(m_lang));
    if (!(TubeCount > 0) || !(ParallelFlows > 0) || !(TubeLength > 0) || !(InnerDiameter > 0) ||
        !(OuterDiameter > 0))
        throw CalculationAborted(texts::designNeeded(m_lang));
    if (!(FlowSideCopy == 1 ? G2 > 0 : G1 > 0))
        throw CalculationAborted(exchangerTexts::givenFlowNotPositive(m_lang));
}

void THeatCoolObj::requireOutletBetweenInlets() const {
    const Real T1in = TubeInlet, T2in = ShellInlet, T2out = ShellOutlet;
    // The shell outlet is fixed at 40 degC: it must lie downstream of the inlet
    // for the shell medium's process, or the balance gives a negative flow.
    const bool shellCooled = ShellProcess == static_cast<int>(ProcessCode::Cooling);
    if (shellCooled ? !(T2in > T2out) : !(T2in < T2out))
        throw CalculationAborted(heatCoolTexts::shellInletBeyondOutlet(m_lang, shellCooled, T2in));
    // ... and the tube medium must enter on the other side of it: a medium is
    // never cooled below (or heated above) the inlet of the one it meets.
    if (shellCooled ? !(T1in < T2out) : !(T1in > T2out))
        throw CalculationAborted(heatCoolTexts::tubeInletBeyondOutlet(m_lang, shellCooled, T1in));
}

void THeatCoolObj::showPassTemperatures(const char* id, const State& st) {
    m_dialogs.message(
        {id, MessageKind::Warning, heatCoolTexts::passTemperatures(st.mean.passes), true});
}

void THeatCoolObj::showFieldProfile(const State& st) {
    const int passes = TubePasses;
    showProfile(static_cast<std::size_t>(passes + 1), [&](Real x) {
        const ProfilePointTemperatures p =
            MultipassProfile(st.V, st.X, passes, ShellInlet, TubeInlet, x);
        std::vector<Real> point{p.shell};
        point.insert(point.end(), p.passes.begin(), p.passes.end());
        return point;
    });
}

THeatCoolObj::Point THeatCoolObj::probeEnd(const Search& s, const Point& p) {
    const Real T1in = TubeInlet;
    // The relaxation heads for the tube inlet when the balance needs more
    // surface than is installed, else for the shell inlet: that end must show
    // the opposite balance, or no outlet on this side balances the two media.
    // Close to the tube inlet one flow becomes tiny and a film may leave its
    // data: then the probe moves towards the outlet.
    Point e;
    for (const Real share : {Real(1), 0.01L, 0.1L, 0.5L}) {
        const Real end =
            p.f > 0 ? (share == 1 ? s.nearInlet : T1in + share * (p.T - T1in)) : s.farEnd;
        try {
            e = {end, evaluate(end, s.cp1in, s.cp2in, s.cp2out).ratio - 1};
            break;
        } catch (const CalculationAborted&) {
            if (p.f <= 0 || share == 0.5L) throw;
        }
    }
    return e;
}

namespace {

bool opposite(Real f1, Real f2) { return (f1 < 0) != (f2 < 0); }

}  // namespace

void THeatCoolObj::placePoint(Search& s, Bracket& k, const Point& p) {
    if (k.bracketed) {
        // successive steps of opposite sign: the root lies between them
        if (!k.bracketing && opposite(p.f, k.previous.f)) k.bracketing = true, k.retained = 0;
        // the new outlet takes the place of the end on its side
        if (opposite(p.f, k.a.f)) {
            k.b = p;
            if (k.bracketing && k.retained == -1) k.a.f /= 2;
            k.retained = -1;
        } else {
            k.a = p;
            if (k.bracketing && k.retained == +1) k.b.f /= 2;
            k.retained = +1;
        }
    } else if (k.havePrevious && opposite(p.f, k.previous.f)) {
        k.a = k.previous, k.b = p;
        k.bracketed = k.bracketing = true;
    } else {
        const Point e = probeEnd(s, p);
        if (std::fabs(e.f) >= BalanceTolerance && !opposite(p.f, e.f))
            throw CalculationAborted(heatCoolTexts::noBalance(m_lang, FlowSideCopy == 1,
                                                              s.installed, TubeInlet, ShellInlet));
        k.a = p, k.b = e;
        k.bracketed = true;
    }
    k.havePrevious = true;
    k.previous = p;
}

std::optional<Real> THeatCoolObj::nextOutlet(Bracket& k, Real T) {
    Real next = T + (BalanceRatio - 1) * ConvergenceConstant * (TubeInlet - T);
    const Real lo = std::min(k.a.T, k.b.T), hi = std::max(k.a.T, k.b.T);
    // False position also takes over from a relaxation that leaves the
    // bracket or that does not at least halve its step each time.
    const Real step = next - T;
    if (!k.bracketing && (!(next > lo && next < hi) ||
                          (k.lastStep != 0 && std::fabs(step) > std::fabs(k.lastStep) / 2)))
        k.bracketing = true;
    k.lastStep = step;
    if (k.bracketing) {
        // the balance jumps across 1 between two outlets that no longer
        // differ: the last state is the result
        if (hi - lo <= 1e-12L * std::fabs(ShellInlet - TubeInlet)) return std::nullopt;
        next = k.b.T - k.b.f * (k.b.T - k.a.T) / (k.b.f - k.a.f);
        if (!(next > lo && next < hi)) next = (lo + hi) / 2;
    }
    return next;
}

THeatCoolObj::SearchEnd THeatCoolObj::searchBalance(Search& s, RunResults& r) {
    Bracket bracket;
    for (;;) {
        requireIterationWithin(++s.totalIterations, kIterationLimit);
        ++IterationCount;
        const Real T = OutletApproximation;
        showIterationProgress(heatCoolTexts::progressLabel(m_lang), T);
        if (!s.admissible(T)) {  // only a start typed by the person can be outside
            if (!HandleOutOfInterval(ConvergenceConstant)) return SearchEnd::Restart;
            leaveForInitialData(r);
            return SearchEnd::LeftForData;
        }

        s.st = evaluate(T, s.cp1in, s.cp2in, s.cp2out);
        BalanceRatio = s.st.ratio;
        showPassTemperatures("heatcool.pass_temperatures", s.st);
        showFieldProfile(s.st);
        if (std::fabs(BalanceRatio - 1) < BalanceTolerance) return SearchEnd::Found;

        placePoint(s, bracket, {T, BalanceRatio - 1});
        const std::optional<Real> next = nextOutlet(bracket, T);
        if (!next) return SearchEnd::Found;
        OutletApproximation = *next;
        if (IterationCount > 160) {
            HandleSlowConvergence(ConvergenceConstant, IterationCount, ContinueIteration);
            if (!ContinueIteration) return SearchEnd::Found;
        }
    }
}

bool THeatCoolObj::findOutlet(Search& s, RunResults& r) {
    const Real T1in = TubeInlet, T2in = ShellInlet;
    const Real Thot = std::max(T1in, T2in), Tcold = std::min(T1in, T2in);
    for (;;) {  // (re)start
        IterationCount = 0;
        OutletApproximation = (Thot + Tcold) / 2;
        AskInitialApproximation(OutletApproximation);
        m_tubeOffset = (T2in - T1in) / 4;
        m_shellOffset = -m_tubeOffset;
        m_lastK = 0;
        switch (searchBalance(s, r)) {
            case SearchEnd::Found:
                return true;
            case SearchEnd::LeftForData:
                return false;
            case SearchEnd::Restart:
                break;
        }
    }
}

void THeatCoolObj::Calculate(Real& G1, Real& G2, RunResults& r) {
    const Real T1in = TubeInlet, T2in = ShellInlet;
    requireCalculableDesign(G1, G2);
    ConvergenceConstant = 0.5L;
    ShellOutlet = 40.0L;
    BalanceTolerance = 0.00001L;
    requireOutletBetweenInlets();

    m_givenFlow = FlowSideCopy == 1 ? G2 : G1;

    Search s;
    s.installed = InstalledSurface();
    // The admissible outlets: from just beyond the tube inlet up to the shell inlet.
    s.nearInlet = T1in + kLeastChange * (T2in - T1in), s.farEnd = T2in;
    s.cp1in = tubeMixture(T1in).HeatCapacity;
    s.cp2in = shellMixture(T2in).HeatCapacity;
    ShellProps = shellMixture(ShellOutlet);
    s.cp2out = ShellProps.HeatCapacity;

    if (!findOutlet(s, r)) return;
    finish(s, G1, G2, r);
}

void THeatCoolObj::finish(const Search& s, Real& G1, Real& G2, RunResults& r) {
    const State& st = s.st;
    const Real T1out = st.T1out, T2out = ShellOutlet;
    // The boxes of the last iteration are always shown.
    showPassTemperatures("heatcool.pass_temperatures_final", st);
    m_dialogs.message({"heatcool.mean_state", MessageKind::Warning,
                       heatCoolTexts::meanState(st.mean.shell, st.mean.tube, T2out, T1out, st.q),
                       true});
    TubeOutlet = T1out;
    G1 = st.G1;
    G2 = st.G2;
    r.produced = true;
    r.converged = std::fabs(BalanceRatio - 1) < BalanceTolerance;
    r.BalanceRatio = BalanceRatio;
    r.Iterations = s.totalIterations;
    r.TubeCoefficient = st.film.alpha1;
    r.ShellCoefficient = st.film.alpha2;
    // Magnitudes, whatever the direction of the heat.
    r.HeatFlux = std::fabs(st.q);
    r.OverallCoefficient = st.q / (st.mean.shell - st.mean.tube);
    r.HeatFlow = std::fabs(st.HeatFlow);
    r.InstalledSurface = s.installed;
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
