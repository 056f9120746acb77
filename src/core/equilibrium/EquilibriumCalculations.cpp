#include "equilibrium/EquilibriumCalculations.h"

#include <cmath>
#include <string>

#include "common/Constants.h"
#include "common/NumberFormat.h"
#include "common/Text.h"
#include "equilibrium/ActivityModels.h"
#include "properties/PropertyFunctions.h"

namespace vexamo {

namespace {

std::size_t at(int i) { return static_cast<std::size_t>(i); }

Real finite(Real value, const char* what) {
    if (!std::isfinite(value))
        throw SolverFailure(SolverFailure::Kind::NotFinite,
                            std::string(what) + " is not a finite number");
    return value;
}

}  // namespace

ActivityEvaluator::ActivityEvaluator(const SubstanceData& data, const EquilibriumModel& model)
    : m_data(data), m_model(model), m_n(model.ComponentCount) {}

void ActivityEvaluator::prepare(std::span<const Real> x) {
    if (m_model.MethodLetter != 'F') return;
    GroupFractions(m_n, m_model.Groups, m_model.ComponentGroups, x, m_fractions);
    CombinatorialActivity(m_n, m_model.UniquacQ, m_model.UniquacR, x, m_combinatorial);
}

void ActivityEvaluator::gamma(std::span<const Real> x, Real tau, std::span<Real> result) const {
    const EquilibriumModel& m = m_model;
    switch (m.MethodLetter) {
        case 'W':
            WilsonActivity(m_n, x, m.WilsonA, tau, MolarVolumes(m_data, m.ComponentNames, m_n, tau),
                           result);
            return;
        case 'N':
            NrtlActivity(m_n, x, m.NrtlAlpha, m.NrtlA, tau,
                         MolarVolumes(m_data, m.ComponentNames, m_n, tau), result);
            return;
        case 'Q': {
            std::array<Real, kMaxGroups> combinatorial{};
            UniquacActivity(m_n, x, m.UniquacA, tau, m.UniquacQ, m.UniquacR, combinatorial, result);
            return;
        }
        case 'F':
            UnifacActivity(m_n, m.Groups, m.ComponentGroups, m_combinatorial, m.GroupInteraction,
                           m_fractions, tau, result);
            return;
        default:
            throw CalculationAborted(std::string("unknown equilibrium method letter '") +
                                     m.MethodLetter + "'");
    }
}

Real QuadraticEstimate(Real s1, Real s2, const ScalarFunction& F) {
    const Real f0 = finite(F(s1), "the bubble-point residual");
    const Real d = (s2 - s1) / 2;
    const Real f1 = finite(F(s1 + d), "the bubble-point residual");
    const Real f2 = finite(F(s2), "the bubble-point residual");
    Real best = s1, bestF = std::fabs(f0);
    if (std::fabs(f1) < bestF) {
        best = s1 + d;
        bestF = std::fabs(f1);
    }
    if (std::fabs(f2) < bestF) best = s2;

    const Real g = -1.5L * f0 + 2 * f1 - 0.5L * f2;
    const Real h = 0.5L * f0 - f1 + 0.5L * f2;
    if (h == 0) return g == 0 ? best : s1 + d * (-f0 / g);
    const Real discriminant = g * g / (4 * h * h) - f0 / h;
    if (!(discriminant >= 0)) return best;
    const Real root = std::sqrt(discriminant);
    const Real minus = s1 + d * (-g / (2 * h) - root);
    const Real plus = s1 + d * (-g / (2 * h) + root);
    return std::fabs(minus - best) <= std::fabs(plus - best) ? minus : plus;
}

Real SecantSolve(Real start, Real step, Real tolerance, const ScalarFunction& F) {
    Real u = start, delta = step;
    for (int iteration = 0; iteration < kMaxSecantIterations; ++iteration) {
        const Real f = finite(F(u), "the bubble-point residual");
        const Real fd = finite(F(u + delta), "the bubble-point residual");
        const Real next = finite(u - f / ((fd - f) / delta), "the secant step");
        delta = (next - u) / 2;
        const bool done = std::fabs(next - u) <= tolerance;
        u = next;
        if (done) return u;
    }
    throw SolverFailure(SolverFailure::Kind::IterationLimit,
                        "the secant method did not converge in " +
                            std::to_string(kMaxSecantIterations) + " iterations");
}

void NumericalJacobian(int n, std::span<const Real> x, std::span<const Real> s,
                       const VectorFunction& F, Matrix_& J) {
    const std::size_t size = at(n + 1);
    std::vector<Real> shifted(x.begin(), x.begin() + static_cast<std::ptrdiff_t>(size));
    std::vector<Real> plus(size), minus(size);
    for (std::size_t i = 0; i < size; ++i) {
        const Real h = s[i] / 10;
        shifted[i] = x[i] + h;
        F(shifted, plus);
        shifted[i] = x[i] - h;
        F(shifted, minus);
        shifted[i] = x[i];
        for (std::size_t j = 0; j < size; ++j) J[j][i] = (plus[j] - minus[j]) / (2 * h);
    }
}

void NewtonSolve(int n, std::span<Real> x, const VectorFunction& F, Real tolerance,
                 std::uint16_t& counter, const std::function<void()>& onInversionError) {
    const std::size_t size = at(n + 1);
    std::vector<Real> s(size, 0.1L), dx(s), r(size);
    Matrix_ J(size, std::vector<Real>(size));
    counter = 0;
    Real E = 0;
    do {
        if (counter >= kMaxNewtonIterations)
            throw SolverFailure(SolverFailure::Kind::IterationLimit,
                                "Newton's method did not converge in " +
                                    std::to_string(kMaxNewtonIterations) + " iterations");
        for (std::size_t i = 0; i < size; ++i)
            if (std::fabs(s[i]) > std::fabs(dx[i]))
                s[i] = std::fabs(dx[i]) > tolerance ? dx[i] : tolerance;
        F(x, r);
        for (Real value : r) finite(value, "a dew-point residual");
        NumericalJacobian(n, x, s, F, J);
        for (const auto& row : J)
            for (std::size_t i = 0; i < size; ++i)
                finite(row[i], "an element of the Jacobian matrix");
        try {
            InvertMatrix(n, J, kPivotTolerance);
        } catch (const NumericalError&) {
            if (onInversionError) onInversionError();
        } catch (const CalculationAborted&) {
            throw SolverFailure(SolverFailure::Kind::Singular, "the Jacobian matrix is singular");
        }
        for (std::size_t i = 0; i < size; ++i) {
            Real correction = 0;
            for (std::size_t j = 0; j < size; ++j) correction += J[i][j] * r[j];
            const Real next = x[i] - correction;
            dx[i] = next - x[i];
            x[i] = next;
        }
        for (std::size_t i = 0; i < size; ++i) finite(x[i], "a Newton step");
        ++counter;
        Real sum = 0;
        for (Real d : dx) sum += d * d;
        E = std::sqrt(sum / n);
    } while (E > tolerance);
}

Real BubbleResidual(Real value, BubbleContext& c) {
    if (c.unknown == 'T')
        c.tau = value;
    else
        c.pressure = value;
    const int n = c.model.ComponentCount;
    c.activity.gamma(c.liquid, c.tau, c.gamma);
    Real sum = -1;
    for (int i = 0; i < n; ++i) {
        const std::size_t k = at(i);
        c.vapour[k] = VapourPressure(c.data, c.model.ComponentNames[k], c.tau) * c.liquid[k] *
                      c.gamma[k] / c.pressure;
        sum += c.vapour[k];
    }
    return sum;
}

void DewResiduals(const SubstanceData& data, const EquilibriumModel& model,
                  ActivityEvaluator& activity, char unknown, std::span<const Real> x,
                  std::span<const Real> vapour, Real pressure, Real tau, std::span<Real> r) {
    const int n = model.ComponentCount;
    if (unknown == 'T')
        tau = x[at(n)];
    else
        pressure = x[at(n)];
    activity.prepare(x);
    std::array<Real, kMaxMixtureComponents> gamma{};
    activity.gamma(x, tau, gamma);
    Real sum = 0;
    for (int i = 0; i < n; ++i) {
        const std::size_t k = at(i);
        r[k] = x[k] - pressure * vapour[k] /
                          (VapourPressure(data, model.ComponentNames[k], tau) * gamma[k]);
        sum += x[k];
    }
    r[at(n)] = 1 - sum;
}

namespace {

// Every liquid mole fraction within 0 to 1 (to the solver's tolerance).
bool physicalLiquid(std::span<const Real> x, int n) {
    for (int i = 0; i < n; ++i)
        if (!(x[at(i)] >= -kEquilibriumTolerance && x[at(i)] <= 1 + kEquilibriumTolerance))
            return false;
    return true;
}

// The dew point of the vapour as an ideal mixture (gamma = 1): sum of
// P y_i / P_i = 1, and the liquid x_i = P y_i / P_i of that state.
void idealDewStart(const SubstanceData& data, const EquilibriumModel& model, char sought,
                   std::span<const Real> vapour, Real pressure, Real tau, std::span<Real> x) {
    const int n = model.ComponentCount;
    auto sum = [&](Real t, Real p) {
        Real s = 0;
        for (int i = 0; i < n; ++i)
            s += p * vapour[at(i)] / VapourPressure(data, model.ComponentNames[at(i)], t);
        return s;
    };
    if (sought == 'T') {
        tau = SecantSolve(1.3L, 0.02L, kEquilibriumTolerance,
                          [&](Real t) { return std::log(sum(t, pressure)); });
        x[at(n)] = tau;
    } else {
        pressure = 1 / sum(tau, 1);
        x[at(n)] = pressure;
    }
    for (int i = 0; i < n; ++i)
        x[at(i)] =
            pressure * vapour[at(i)] / VapourPressure(data, model.ComponentNames[at(i)], tau);
}

// The vapour pressures of the state found must come from within their
// tables: beyond them a table gives its end value, and a temperature found
// there means nothing.
// The Antoine equation is extrapolated a little (noted in the model's log),
// never far (an error).
void checkWithinTables(const SubstanceData& data, const EquilibriumModel& model, Real tau) {
    for (int i = 0; i < model.ComponentCount; ++i) {
        const std::size_t index = data.findSubstance(model.ComponentNames[at(i)]);
        if (index > 1) {
            checkAntoineTemperature(data, index, (tau - 1) * kZeroCelsius_K, model.Language,
                                    model.Validity);
            continue;
        }
        RangeLog log;
        VapourPressure(data, model.ComponentNames[at(i)], tau, &log);
        if (log.count() == 0) continue;
        const RangeEvent& e = log.events().front();
        const LanguageFlagType lang = model.Language;
        throw CalculationAborted(tr(lang, "the temperature ", "температура ") +
                                 formatFixed((tau - 1) * kZeroCelsius_K, 0, 2) +
                                 tr(lang, " degr.C lies outside the vapour-pressure table of ",
                                    " град.С лежит вне таблицы давления насыщенного пара ") +
                                 model.ComponentNames[at(i)] + " (" + formatShortest(e.low) +
                                 tr(lang, " to ", " … ") + formatShortest(e.high) +
                                 tr(lang, " degr.C)", " град.С)"));
    }
}

std::string joinedNames(const EquilibriumModel& model) {
    std::string names;
    for (int i = 0; i < model.ComponentCount && at(i) < model.ComponentNames.size(); ++i)
        names += (i ? "-" : "") + model.ComponentNames[at(i)];
    return names;
}

std::string failureText(const EquilibriumModel& model, bool bubble, bool temperatureSought,
                        Real pressure, Real tau, const std::exception& cause) {
    const LanguageFlagType lang = model.Language;
    std::string what;
    if (temperatureSought)
        what = bubble ? tr(lang, "The boiling temperature", "Температура кипения")
                      : tr(lang, "The condensation temperature", "Температура конденсации");
    else
        what = bubble ? tr(lang, "The boiling pressure", "Давление кипения")
                      : tr(lang, "The condensation pressure", "Давление конденсации");
    std::string given;
    if (temperatureSought)
        given = tr(lang, " at ", " при ") + formatShortest(pressure) + tr(lang, " Pa (", " Па (") +
                formatFixed(pressure / kPaPerMmHg, 0, 2) + tr(lang, " mm Hg)", " мм рт.ст.)");
    else
        given = tr(lang, " at ", " при ") + formatFixed((tau - 1) * kZeroCelsius_K, 0, 2) +
                tr(lang, " degr.C", " град.С");
    std::string reason = cause.what();
    if (const auto* failure = dynamic_cast<const SolverFailure*>(&cause)) {
        switch (failure->kind()) {
            case SolverFailure::Kind::IterationLimit:
                reason = bubble ? tr(lang, "the secant method did not converge in 500 iterations",
                                     "метод секущих не сошелся за 500 итераций")
                                : tr(lang, "Newton's method did not converge in 500 iterations",
                                     "метод Ньютона не сошелся за 500 итераций");
                break;
            case SolverFailure::Kind::Singular:
                reason = tr(lang, "the Jacobian matrix is singular", "матрица Якоби вырождена");
                break;
            case SolverFailure::Kind::Unphysical:
                reason = tr(lang, "the liquid found has a mole fraction outside 0 to 1",
                            "найденная жидкость имеет мольную долю вне пределов от 0 до 1");
                break;
            case SolverFailure::Kind::NotFinite:
                reason = tr(lang, "the iteration left the range of numbers (",
                            "итерация вышла за пределы чисел (") +
                         reason + ")";
                break;
        }
    }
    return what + tr(lang, " of the mixture ", " смеси ") + joinedNames(model) + given +
           tr(lang, " by the method ", " по методу ") + methodName(model.MethodLetter) +
           tr(lang, " was not found: ", temperatureSought ? " не найдена: " : " не найдено: ") +
           reason;
}

// The sought value of an equilibrium point by its unknown letter: 'T' for
// tau, 'P' for the pressure.
char soughtLetter(char unknown) {
    char sought = 0;
    if (unknown == 'T' || unknown == 't') sought = 'T';
    if (unknown == 'P' || unknown == 'p') sought = 'P';
    if (sought == 0)
        throw CalculationAborted(std::string("unknown letter '") + unknown +
                                 "' of an equilibrium point");
    return sought;
}

void checkPointArrays(const EquilibriumModel& model, std::span<const Real> vapour,
                      std::span<const Real> work, std::span<const Real> liquid) {
    const int n = model.ComponentCount;
    if (n < 1 || n > kMaxMixtureComponents || model.ComponentNames.size() < at(n))
        throw CalculationAborted("an equilibrium model of " + std::to_string(n) + " components");
    if (vapour.size() < at(n) || work.size() < at(n) || liquid.size() < at(n + 1))
        throw CalculationAborted("equilibrium arrays too short for " + std::to_string(n) +
                                 " components");
}

// The cells of one equilibrium point: the model, the sought value, and the
// given and found values that the caller reads back.
struct PointCells {
    const SubstanceData& data;
    const EquilibriumModel& model;
    ActivityEvaluator& activity;
    char sought;  // 'T' or 'P'
    Real& tau;
    Real& pressure;
    std::span<Real> vapour;
    std::span<Real> work;
    std::span<Real> liquid;
};

// The bubble point: a quadratic start from the two start values (tau, or
// mm Hg), then the secant method.
void bubblePoint(PointCells& c, Real start1, Real start2) {
    c.activity.prepare(c.liquid);
    BubbleContext context{c.data,   c.model, c.activity, c.sought,  c.liquid,
                          c.vapour, c.work,  c.tau,      c.pressure};
    const ScalarFunction F = [&context](Real value) { return BubbleResidual(value, context); };
    const Real scale = c.sought == 'P' ? kPaPerMmHg : 1.0L;
    const Real start = QuadraticEstimate(start1 * scale, start2 * scale, F);
    const Real result =
        SecantSolve(start, c.sought == 'T' ? 0.02L : 0.2L, kEquilibriumTolerance, F);
    if (c.sought == 'T')
        c.tau = result;
    else
        c.pressure = result;
    checkWithinTables(c.data, c.model, c.tau);
}

// Newton's method on the dew-point unknowns from the start in x; a liquid
// with a mole fraction outside 0 to 1 is a failure.
void solveDew(int n, std::span<Real> x, const VectorFunction& F, std::uint16_t& counter,
              const std::function<void()>& onInversionError) {
    NewtonSolve(n, x, F, kEquilibriumTolerance, counter, onInversionError);
    if (!physicalLiquid(x, n))
        throw SolverFailure(SolverFailure::Kind::Unphysical,
                            "the liquid found has a mole fraction outside 0 to 1");
}

// The dew point: the given vapour is the first guess of the liquid.
void dewPoint(PointCells& c, Dialogs* dialogs) {
    const int n = c.model.ComponentCount;
    const Real givenPressure = c.pressure, givenTau = c.tau;
    const VectorFunction F = [&](std::span<const Real> x, std::span<Real> r) {
        DewResiduals(c.data, c.model, c.activity, c.sought, x, c.vapour, givenPressure, givenTau,
                     r);
    };
    const auto onInversionError = [dialogs] {
        if (dialogs)
            dialogs->message({"equilibrium.inversion_error", MessageKind::Error,
                              "Ошибка при обращении матрицы"});
    };
    for (int i = 0; i < n; ++i) c.liquid[at(i)] = c.vapour[at(i)];
    c.liquid[at(n)] = c.sought == 'T' ? 1.3L : 5332.0L;
    std::uint16_t counter = 0;
    try {
        solveDew(n, c.liquid, F, counter, onInversionError);
    } catch (const SolverFailure&) {
        // From that fixed start (82 degC or 40 mm Hg) Newton's method may
        // run to a root with negative mole fractions or to a singular
        // matrix, above about 1.5 kgf/cm2 for aqueous mixtures. Once more
        // from the ideal dew point, where the liquid is close to the root.
        idealDewStart(c.data, c.model, c.sought, c.vapour, givenPressure, givenTau, c.liquid);
        solveDew(n, c.liquid, F, counter, onInversionError);
    }
    // The activity coefficients of the solution.
    c.activity.prepare(c.liquid);
    if (c.sought == 'T')
        c.tau = c.liquid[at(n)];
    else
        c.pressure = c.liquid[at(n)];
    checkWithinTables(c.data, c.model, c.tau);
    c.activity.gamma(c.liquid, c.tau, c.work);
}

}  // namespace

void EquilibriumPoint(const SubstanceData& data, char unknown, char mode, Real& tau,
                      std::span<Real> vapour, std::span<Real> work, std::span<Real> liquid,
                      const EquilibriumModel& model, Real& pressure, Real start1, Real start2,
                      Dialogs* dialogs) {
    const bool bubble = mode == 'Y' || mode == 'y';
    const bool dew = mode == 'X' || mode == 'x';
    if (!bubble && !dew) return;
    const char sought = soughtLetter(unknown);
    checkPointArrays(model, vapour, work, liquid);

    ActivityEvaluator activity(data, model);
    PointCells cells{data, model, activity, sought, tau, pressure, vapour, work, liquid};
    try {
        if (bubble)
            bubblePoint(cells, start1, start2);
        else
            dewPoint(cells, dialogs);
    } catch (const CalculationAborted& e) {
        throw CalculationAborted(failureText(model, bubble, sought == 'T', pressure, tau, e));
    }
}

}  // namespace vexamo
