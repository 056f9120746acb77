#include "exchanger/Correlations.h"

#include <algorithm>
#include <cmath>
#include <string>

#include "common/Constants.h"
#include "common/Errors.h"
#include "common/NumberFormat.h"
#include "properties/MixtureProperties.h"

namespace vexamo {

namespace {

constexpr Real kG = 9.81L;  // m/s2

// One text in both languages.
constexpr const char* kNoFreeConvectionData = "Нет данных пpи Gr*Pr < 1E+03";
constexpr const char* kWaterOnly =
    "В данном случае в тpубном пpостpанстве может быть задана толь- \r\n"
    " ко вода поскольку пpи горизонтальном pасположении тpуб фоpмула для \r\n"
    " pасчета коэффициента теплоотдачи для дpугих веществ отсутствует. ";

// A film coefficient the callers may divide by, or NumericalError.
Real checkedCoefficient(Real alpha, const char* correlation) {
    if (!(alpha > 0) || !std::isfinite(alpha))
        throw NumericalError(std::string(correlation) + " gives a film coefficient of " +
                             formatShortest(alpha) +
                             " W/(m2*K): the state lies outside the correlation");
    return alpha;
}

Real blend(Real weight, Real upper, Real lower) { return weight * upper + (1 - weight) * lower; }

// Free convection, Nusselt number over the length of Ra.
Real freeConvectionVertical(Real Ra, Real prandtlRatio) {
    auto laminar = [&](Real ra) { return 0.76L * std::pow(ra * prandtlRatio, 0.25L); };
    auto turbulent = [&](Real ra) {
        return 0.15L * std::pow(ra, 0.33L) * std::pow(prandtlRatio, 0.25L);
    };
    if (Ra < 9e8L) return laminar(Ra);
    if (Ra >= 1.1e9L) return turbulent(Ra);
    return blend((Ra - 9e8L) / 2e8L, turbulent(1.1e9L), laminar(9e8L));
}

Real freeConvectionHorizontal(Real Ra, Real prandtlRatio) {
    return 0.5L * std::pow(Ra * prandtlRatio, 0.25L);
}

// --- Tube side -------------------------------------------------------------

// The state one evaluation of the tube-side forms rests on.
struct TubeState {
    Real prandtl = 0;
    Real conductivity = 0;
    Real peclet = 0;    // Pr * bulk Re
    Real reynolds = 0;  // w d rho / mu at the state's temperature
    Real viscosityRatio = 0;
    Real prandtlRatio = 0;
    Real rayleigh = 0;
};

struct TubeGeometry {
    Real d = 0, L = 0, lengthRatio = 0;  // L/d
    bool horizontal = false;
    bool mode = true;
};

// w and bulkRe are those of the flow the forms are evaluated at: the actual
// one, or inside the Reynolds band the flow at its lower end.
TubeState formTubeState(const PropertySet& p, const PropertySet& wall, const TubeGeometry& g,
                        Real w, Real bulkRe, Real dtAbs) {
    TubeState s;
    s.prandtl = p.Prandtl;
    s.conductivity = p.Conductivity;
    s.peclet = p.Prandtl * bulkRe;
    s.reynolds = w * g.d * p.Density / p.Viscosity;
    s.viscosityRatio = p.Viscosity / wall.Viscosity;
    s.prandtlRatio = p.Prandtl / wall.Prandtl;
    const Real length = g.horizontal ? g.d : g.L;
    const Real nu = p.Viscosity / p.Density;
    const Real Gr = kG * (length * length * length) * p.Expansion * dtAbs / (nu * nu);
    s.rayleigh = Gr * p.Prandtl;
    return s;
}

Real turbulentNusselt(const TubeState& s, const TubeGeometry& g, Real Re) {
    return 0.021L * EntranceLengthFactor(Re, g.lengthRatio) * std::pow(Re, 0.8L) *
           std::pow(s.prandtl, 0.43L) * std::pow(s.prandtlRatio, 0.25L);
}

Real laminarNusselt(const TubeState& s, const TubeGeometry& g, Real Re) {
    const Real P = s.peclet / g.lengthRatio;
    // Developing laminar flow: Nu = 1.55 (Pe d/L)^(1/3) (mu/mu_w)^0.14, the
    // Peclet number of the state (Re * Pr); with Re alone the form would lose
    // its Prandtl dependence and fall below the developed 3.66 at the switch
    // for any viscous liquid.
    auto developing = [&] {
        return 1.55L * EntranceLengthFactor(Re, g.lengthRatio) *
               std::pow(Re * s.prandtl / g.lengthRatio, 1.0L / 3.0L) *
               std::pow(s.viscosityRatio, 0.14L);
    };
    if (P >= 20.1L) return developing();
    if (P < 19.9L) return 3.66L;
    return 3.66L + (developing() - 3.66L) * (P - 19.9L) / 0.2L;
}

// The transitional polynomial 0.006507 Re - 10.658 - 2.211e-7 Re^2 rises
// from 2325, where the form begins, to its crest at Re = 0.006507 /
// (2 * 2.211e-7) = 14715 and falls to zero at 27690. A film much less
// viscous than the medium (a heated liquid) can carry the film Re past the
// crest while the bulk flow is still transitional; there the form keeps its
// crest value instead of falling towards zero and below, so that the
// coefficient never decreases as the flow grows and never turns negative.
constexpr Real kTransitionalCrestRe = 0.006507L / (2 * 2.211e-7L);

Real transitionalNusselt(const TubeState& s, Real Re) {
    const Real re = std::min(Re, kTransitionalCrestRe);
    return std::pow(s.prandtl, 0.43L) * std::pow(s.prandtlRatio, 0.25L) *
           (0.006507L * re - 10.658L - 2.211e-7L * (re * re));
}

Real viscousNusselt(const TubeState& s, const TubeGeometry& g) {
    const Real Re = s.reynolds;
    if (Re < 2275) return laminarNusselt(s, g, Re);
    if (Re >= 2325) return transitionalNusselt(s, Re);
    return blend((Re - 2275) / 50, transitionalNusselt(s, 2325), laminarNusselt(s, g, 2275));
}

Real shortTubeNusselt(const TubeState& s, const TubeGeometry& g) {
    const Real P = s.peclet / g.lengthRatio;
    auto developing = [&](Real p) {
        return 0.8L * std::pow(p, 0.4L) * std::pow(s.rayleigh, 0.1L) *
               std::pow(s.viscosityRatio, 0.14L);
    };
    if (P >= 20) return developing(P);
    if (P <= 10) return 0.5L * P;
    return blend((P - 10) / 10, developing(20), 0.5L * 10);
}

Real viscousGravitationalNusselt(const TubeState& s, const TubeGeometry& g) {
    const Real Re = s.reynolds;
    Real n = g.mode ? 0.14L : 0.25L;
    if (g.horizontal) {
        auto turbulent = [&](Real re) {
            return 0.022L * std::pow(re, 0.8L) * std::pow(s.prandtl, 0.4L) *
                   std::pow(s.viscosityRatio, n);
        };
        if (Re < 3450) return shortTubeNusselt(s, g);
        if (Re >= 3550) return turbulent(Re);
        return blend((Re - 3450) / 100, turbulent(3550), shortTubeNusselt(s, g));
    }
    // Free convection along the tube, referred to the diameter.
    auto free = [&] { return freeConvectionVertical(s.rayleigh, s.prandtlRatio) * g.d / g.L; };
    if (Re < 220) return free();
    if (g.mode) n = 0.11L;
    auto mixed = [&](Real re) {
        return 0.037L * std::pow(re, 0.75L) * std::pow(s.prandtl, 0.4L) *
               std::pow(s.viscosityRatio, n);
    };
    if (Re >= 250) return mixed(Re);
    return blend((Re - 220) / 30, mixed(250), free());
}

Real laminarOrTransitionalNusselt(const TubeState& s, const TubeGeometry& g) {
    const Real Ra = s.rayleigh;
    if (Ra < 790000) return viscousNusselt(s, g);
    if (Ra >= 810000) return viscousGravitationalNusselt(s, g);
    return blend((Ra - 790000) / 20000, viscousGravitationalNusselt(s, g), viscousNusselt(s, g));
}

// --- Shell side ------------------------------------------------------------

Real bundleNusselt(Real Re, Real Pr, Real prandtlRatio, bool staggered) {
    static const Real epsPhi = AttackAngleFactor(25.334L);
    auto low = [&](Real re) {
        return 0.56L * epsPhi * std::pow(re, 0.5L) * std::pow(Pr, 0.36L) *
               std::pow(prandtlRatio, 0.25L);
    };
    auto high = [&](Real re) {
        const Real C = staggered ? 0.4L : 0.22L;
        const Real m = staggered ? 0.6L : 0.65L;
        return C * epsPhi * std::pow(re, m) * std::pow(Pr, 0.36L) * std::pow(prandtlRatio, 0.25L);
    };
    if (Re <= 950) return low(Re);
    if (Re > 1050) return high(Re);
    return blend((Re - 950) / 100, high(1050), low(950));
}

// --- Condensation ----------------------------------------------------------

bool sameSubstance(const Pro& component, const Pro& record) {
    auto is = [](const std::string& a, const std::string& b) { return !a.empty() && a == b; };
    return is(component.EnglishName, record.EnglishName) ||
           is(component.EnglishName, record.RussianName) ||
           is(component.RussianName, record.EnglishName) ||
           is(component.RussianName, record.RussianName);
}

bool isBuiltInWater(const Pro& component, const CorrelationContext& context) {
    if (context.substances) {
        const SubArr& table = context.substances->SubstanceTable;
        return table.size() > 1 && sameSubstance(component, table[1]);
    }
    static const Pro water = [] {
        Pro names;
        const SubstanceData data = SubstanceData::builtIn();
        names.EnglishName = data.SubstanceTable.at(1).EnglishName;
        names.RussianName = data.SubstanceTable.at(1).RussianName;
        return names;
    }();
    return sameSubstance(component, water);
}

// ((lambda_w/lambda)^3 mu/mu_w)^(1/6) * lambda.
Real filmConductivityTerm(const PropertySet& p, const PropertySet& wall) {
    const Real ratio = wall.Conductivity / p.Conductivity;
    return std::pow(ratio * ratio * ratio * p.Viscosity / wall.Viscosity, 1.0L / 6.0L) *
           p.Conductivity;
}

// (rho^2 r g*1000 / (mu H))^(1/3), r in kJ/kg.
Real filmGravityTerm(const PropertySet& p, Real H) {
    return std::pow(p.Density * p.Density * p.LatentHeat * 9810 / (p.Viscosity * H), 1.0L / 3.0L);
}

}  // namespace

PropertySet MixtureAt(std::span<const Pro> components, std::span<const Real> composition, int count,
                      Real t, RangeLog* rangeLog) {
    if (count < 1 || count > 6 || components.size() < static_cast<std::size_t>(count) ||
        composition.size() < static_cast<std::size_t>(count))
        throw CalculationAborted("a medium has 1 to 6 components, " + std::to_string(count) +
                                 " were given");
    PropertySet parts[6];
    for (std::size_t i = 0; i < static_cast<std::size_t>(count); ++i)
        PureProperties(components[i], t, parts[i], rangeLog);
    PropertySet mixture;
    MixtureProperties(mixture, std::span<const PropertySet>(parts, static_cast<std::size_t>(count)),
                      composition, count);
    return mixture;
}

TubeSideResult TubeSideCoefficient(std::span<const Pro> components,
                                   std::span<const Real> composition, int count, int modeFlag,
                                   bool horizontal, Real tw, Real t, Real G, Real d, Real L,
                                   const CorrelationContext& context) {
    RangeLog* log = context.rangeLog;
    const PropertySet bulk = MixtureAt(components, composition, count, t, log);
    const PropertySet wall = MixtureAt(components, composition, count, tw, log);
    TubeSideResult r;
    r.velocity = 4 * G / (d * d * bulk.Density * 3.1416L * 3600);
    r.reynolds = r.velocity * d * bulk.Density / bulk.Viscosity;
    const Real Re = r.reynolds;
    const TubeGeometry g{d, L, L / d, horizontal, modeFlag != 0};
    const Real dtAbs = std::fabs(tw - t);

    // The turbulent state (at t) is formed before the laminar/transitional one
    // (at (t + t_w)/2); the outputs are those of the last one formed.
    // Across the band 9950 <= Re < 10050 the coefficient goes linearly from
    // the laminar/transitional value at the band's lower end to the turbulent
    // value at its upper end. The lower end is the flow of bulk Re 9950 (film
    // Re, Pe and velocity scaled down with it), so that the band begins with
    // the value the low-Re forms have just below it: the film Re differs from
    // the bulk one by the film's viscosity, and a heated liquid's film Re may
    // be twice the bulk Re.
    // The two coefficients are blended, each with the conductivity of its own
    // state.
    TubeState last;
    Real alpha = 0;
    if (Re >= 9950) {
        last = formTubeState(bulk, wall, g, r.velocity, Re, dtAbs);
        alpha = turbulentNusselt(last, g, Re >= 10050 ? Re : 10050) * last.conductivity / d;
    }
    if (Re < 10050) {
        const PropertySet mean = MixtureAt(components, composition, count, (t + tw) / 2, log);
        const Real lowRe = Re >= 9950 ? 9950 : Re;
        last = formTubeState(mean, wall, g, r.velocity * (lowRe / Re), lowRe, dtAbs);
        const Real laminar = laminarOrTransitionalNusselt(last, g) * last.conductivity / d;
        alpha = Re >= 9950 ? blend((Re - 9950) / 100, alpha, laminar) : laminar;
    }
    r.alpha = checkedCoefficient(alpha, "the tube-side correlation");
    r.rayleigh = last.rayleigh;
    r.prandtlRatio = last.prandtlRatio;
    r.viscosityRatio = last.viscosityRatio;
    return r;
}

ShellSideResult ShellSideCoefficient(bool horizontal, std::span<const Real> composition,
                                     std::span<const Pro> components, int count, bool staggered,
                                     Real tw, Real t, Real massVelocity, Real d, Real L,
                                     const CorrelationContext& context) {
    const PropertySet bulk = MixtureAt(components, composition, count, t, context.rangeLog);
    const PropertySet wall = MixtureAt(components, composition, count, tw, context.rangeLog);
    ShellSideResult r;
    r.velocity = massVelocity / (bulk.Density * 3600);
    r.reynolds = r.velocity * d * bulk.Density / bulk.Viscosity;
    const Real Re = r.reynolds;
    const Real Pr = bulk.Prandtl;
    const Real prandtlRatio = Pr / wall.Prandtl;

    const Real lambda = bulk.Conductivity;
    Real alpha = 0;
    if (Re >= 210) {
        alpha = bundleNusselt(Re, Pr, prandtlRatio, staggered) * lambda / d;
    } else {
        // Free convection: length d for a horizontal bundle, L for a vertical one.
        const Real length = horizontal ? d : L;
        const Real nu = bulk.Viscosity / bulk.Density;
        // The wall may be warmer (heated medium) or colder (cooled medium) than
        // the medium: buoyancy acts either way, as in the tubes.
        const Real Gr =
            kG * (length * length * length) * bulk.Expansion * std::fabs(tw - t) / (nu * nu);
        const Real Ra = Gr * Pr;
        if (!(Ra >= 1000)) throw CalculationAborted(kNoFreeConvectionData);
        const Real free = (horizontal ? freeConvectionHorizontal(Ra, prandtlRatio)
                                      : freeConvectionVertical(Ra, prandtlRatio)) *
                          lambda / length;
        // Across 190 <= Re < 210 the two coefficients are blended, each
        // referred to its own length.
        alpha = Re < 190
                    ? free
                    : blend((Re - 190) / 20,
                            bundleNusselt(210, Pr, prandtlRatio, staggered) * lambda / d, free);
    }
    r.alpha = checkedCoefficient(alpha, "the shell-side correlation");
    return r;
}

Real CondensationCoefficient(bool horizontalTubeSpace, int count, std::span<const Pro> components,
                             std::span<const Real> composition, Real tw, Real t, Real X, Real Y,
                             const CorrelationContext& context) {
    if (horizontalTubeSpace) {
        if (count != 1 || components.empty() || !isBuiltInWater(components[0], context))
            throw CalculationAborted(kWaterOnly);
        return checkedCoefficient(
            1.36L * (11.833L - t / 30) * std::pow(X, -0.25L) * std::pow(Y, 0.35L),
            "condensation in horizontal tubes");
    }
    const PropertySet p = MixtureAt(components, composition, count, t, context.rangeLog);
    const PropertySet wall = MixtureAt(components, composition, count, tw, context.rangeLog);
    return checkedCoefficient(1.21L * filmConductivityTerm(p, wall) * filmGravityTerm(p, Y),
                              "condensation in vertical tubes");
}

Real BundleCondensationCoefficient(int n, bool staggered, bool horizontal,
                                   std::span<const Real> composition,
                                   std::span<const Pro> components, int count, Real tw, Real t,
                                   Real Hh, Real Hv, const CorrelationContext& context) {
    const PropertySet p = MixtureAt(components, composition, count, t, context.rangeLog);
    const PropertySet wall = MixtureAt(components, composition, count, tw, context.rangeLog);
    const Real alpha0 = filmConductivityTerm(p, wall) * filmGravityTerm(p, horizontal ? Hh : Hv);
    const Real alpha = horizontal
                           ? alpha0 * std::pow(0.728L * RowCorrection(n, staggered), 4.0L / 3.0L)
                           : 1.21L * alpha0;
    return checkedCoefficient(alpha, "condensation on the bundle");
}

Real SaturatedVapourDensity(Real pressure_Pa, Real molarMass, Real t) {
    return pressure_Pa * molarMass / (kGasConstant * (t + kZeroCelsius_K));
}

Real BoilingCoefficient(int count, std::span<const Pro> components,
                        std::span<const Real> composition, Real t, Real pressure_Pa,
                        const CorrelationContext& context) {
    if (!(pressure_Pa > 0) || !std::isfinite(pressure_Pa))
        throw CalculationAborted(
            tr(context.languageFlag, "The pressure of the boiling medium must be above zero: ",
               "Давление кипящего теплоносителя должно быть больше нуля: ") +
            formatShortest(pressure_Pa) + tr(context.languageFlag, " Pa", " Па"));
    const PropertySet p = MixtureAt(components, composition, count, t, context.rangeLog);
    const Real T = t + 273;
    // The vapour over the boiling liquid, at the medium's own pressure.
    const Real vapourDensity = SaturatedVapourDensity(pressure_Pa, p.MolarMass, t);
    const Real b = 0.075L + 0.75L * std::pow(p.Density / vapourDensity - 1, -2.0L / 3.0L);
    const Real lambda = p.Conductivity;
    return checkedCoefficient(
        b * std::pow(lambda * lambda * p.Density / (p.Viscosity * p.SurfaceTension * T),
                     1.0L / 3.0L),
        "the boiling correlation");
}

}  // namespace vexamo
