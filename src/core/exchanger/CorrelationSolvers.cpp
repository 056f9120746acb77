#include "exchanger/CorrelationSolvers.h"

#include <algorithm>
#include <cmath>
#include <initializer_list>
#include <limits>

#include "common/Constants.h"
#include "common/Errors.h"
#include "dialogs/Dialogs.h"

namespace vexamo {

namespace {

bool allFinite(std::initializer_list<Real> values) {
    return std::all_of(values.begin(), values.end(), [](Real v) { return std::isfinite(v); });
}

void warnIncorrectProperties(const CorrelationContext& context) {
    if (!context.dialogs) return;
    context.dialogs->message(
        {kFluxBalanceInputId, MessageKind::Warning,
         tr(context.languageFlag,
            "Thermophysical properties or temperature are incorrectly chosen. ",
            "Невеpно выбpаны теплофизические паpаметpы или темпеpатуpа. ")});
}

// Bisection of an increasing left side against 1 on [0, upper]: a midpoint
// whose left side exceeds 1 becomes the upper end, any other the lower end.
// Stops when the bracket is narrower than `width`, cannot be narrowed any
// more, or after kMaxHalvings halvings; returns the midpoint.
template <typename LeftSide>
Real bisectToOne(Real upper, Real width, const LeftSide& leftSide) {
    Real lower = 0;
    for (int i = 0; i < kMaxHalvings && !(upper - lower < width); ++i) {
        const Real mid = (lower + upper) / 2;
        if (!(mid > lower && mid < upper)) break;
        if (leftSide(mid) > 1)
            upper = mid;
        else
            lower = mid;
    }
    return (lower + upper) / 2;
}

}  // namespace

Real SolveFluxBalance(Real a, Real b, Real dt, Real D, Real E, Real F,
                      const CorrelationContext& context) {
    if (!allFinite({a, b, dt, D, E, F}))
        throw NumericalError("flux balance with an argument that is not a finite number");
    if (dt < 0 || D < 0 || E < 0 || F < 0) {
        warnIncorrectProperties(context);
        return -1;
    }
    if (!(a < 1) || !(b < 1))
        throw NumericalError("flux balance with a film exponent of 1 or more has no single root");
    if (D == 0 && E == 0 && F == 0)
        throw NumericalError("flux balance without any resistance to the heat flow");
    Real upper = std::numeric_limits<Real>::infinity();
    if (E != 0) upper = std::min(upper, std::pow(dt / E, 1 / (1 - a)));
    if (D != 0) upper = std::min(upper, dt / D);
    if (F != 0) upper = std::min(upper, std::pow(dt / F, 1 / (1 - b)));
    return bisectToOne(upper, 1e-5L, [&](Real q) {
        return D / dt * q + E / dt * std::pow(q, 1 - a) + F / dt * std::pow(q, 1 - b);
    });
}

Real SolveFluxBalanceQuartic(Real dt, Real B, Real C, Real D, const CorrelationContext& context) {
    if (!allFinite({dt, B, C, D}))
        throw NumericalError("flux balance with an argument that is not a finite number");
    if (dt < 0 || B < 0 || C < 0 || D < 0) {
        warnIncorrectProperties(context);
        return -1;
    }
    if (B == 0 && C == 0 && D == 0)
        throw NumericalError("flux balance without any resistance to the heat flow");
    Real upper = std::numeric_limits<Real>::infinity();
    if (C != 0) upper = std::min(upper, std::pow(dt / C, 1.0L / 3.0L));
    if (B != 0) upper = std::min(upper, dt / B);
    if (D != 0) upper = std::min(upper, std::pow(dt / D, 0.25L));
    return bisectToOne(upper, 1e-7L, [&](Real u) {
        const Real u3 = u * u * u;
        return B / dt * u + C / dt * u3 + D / dt * (u3 * u);
    });
}

Real SegmentAngle(Real x, const CorrelationContext& context) {
    if (!(x >= 0 && x <= kPi))
        throw CalculationAborted(tr(context.languageFlag,
                                    "  Incorrectly set the area of a segment and (or) its radius. ",
                                    "  Невеpно заданы площадь сегмента и (или) его pадиус. "));
    if (x < 1e-36L) return 0;
    if (x < 1e-4L) return std::pow(6 * x, 1.0L / 3.0L) + 0.1L * x;
    // theta - sin(theta) = x: theta >= x because sin(theta) >= 0 up to pi.
    Real lower = x, upper = kPi;
    for (int i = 0; i < kMaxHalvings && !(upper / lower - 1 < 1e-4L); ++i) {
        const Real mid = (lower + upper) / 2;
        if (!(mid > lower && mid < upper)) break;
        if (x - mid + std::sin(mid) <= 0)
            upper = mid;
        else
            lower = mid;
    }
    return (lower + upper) / 2;
}

Real LogMeanDifference(Real dt1, Real dt2) {
    if (dt1 == 0 && dt2 == 0) return 0;
    const Real e = dt2 / dt1 - 1;
    const Real mean = std::fabs(e) < 1e-4L ? dt1 * (1 + e / 2 - e * e / 12)
                                           : (dt2 - dt1) / std::log(std::fabs(dt2 / dt1));
    if (!std::isfinite(mean))
        throw NumericalError(
            "the logarithmic mean of the temperature differences is not a finite number");
    return mean;
}

}  // namespace vexamo
