#include "exchanger/BoilingExchangers.h"

#include <cmath>

#include "common/Errors.h"
#include "common/NumberFormat.h"
#include "dialogs/Dialogs.h"
#include "exchanger/BoilingTexts.h"
#include "exchanger/Correlations.h"
#include "exchanger/ExchangerTexts.h"

namespace vexamo {

namespace {

TOutletIterationObj::Setup boilCoolSetup(LanguageFlagType lang) {
    TOutletIterationObj::Setup s;
    s.phaseChangeInTubes = true;
    s.film = TOutletIterationObj::FilmKind::Boiling;
    s.drivingForceLimit = 5;
    s.slowConvergenceLimit = 120;
    s.progressLabel =
        tr(lang, "; Temperature of the heat-carrier on output from intertrumpet space = ",
           "; Темпеpатура теплоносителя на выходе из межтpубного пpостpанства = ");
    s.negativeLead = tr(
        lang,
        "     Temperature of the heat-transfer medium on the input of outside of tubes of the "
        "heat\r\nexchanger ",
        "     Температура теплоносителя на входе в межтрубное пространство теплооб-\r\nменника ");
    s.negativeMiddle = tr(lang, " degr.C there is less than temperature in a boiling zone ",
                          " град.С меньше температуры в зоне кипения ");
    s.negativeTail = tr(lang, " degr.C.", " град.С.");
    s.recommendation =
        lang == kEnglish
            ? std::string(
                  "    It is recommended to increase temperature on the input of outside of tubes "
                  "of the heat") +
                  "\r\n" +
                  "exchanger or to reduce pressure in a boiling zone or to increase the contents" +
                  "\r\n" + "of low-boiling components in a boiling mix"
            : std::string(
                  "    Рекомендуется увеличить температуру на входе в межтрубное пространство") +
                  "\r\n" + "теплообменника или уменьшить давление в зоне кипения или увеличить" +
                  "\r\n" + "содержание низкокипящих компонентов в кипящей смеси.";
    // The same texts in both languages.
    s.failure = {TOutletIterationObj::Failure::EndWithMessage,
                 TOutletIterationObj::Failure::EndWithMessage,
                 TOutletIterationObj::Failure::EndWithMessage};
    s.failureText = {"Ошибка при вычислении удельной тепловой\r\nнагрузки на входе",
                     "Ошибка при вычислении удельной тепловой\r\nнагрузки на выходе",
                     "Ошибка при вычислении удельной тепловой\r\nнагрузки"};
    return s;
}

TOutletIterationObj::Setup coolBoilSetup(LanguageFlagType lang) {
    TOutletIterationObj::Setup s;
    s.phaseChangeInTubes = false;
    s.film = TOutletIterationObj::FilmKind::Boiling;
    s.drivingForceLimit = 1;
    s.slowConvergenceLimit = 130;
    s.progressLabel = tr(lang, "; Temperature of the heat-carrier on output from trumpet space = ",
                         "; Темпеpатура теплоносителя на выходе из тpубного пpостpанства = ");
    s.negativeLead =
        tr(lang,
           "     Temperature of the heat-transfer medium on the input of tubal space of the "
           "heat\r\nexchanger ",
           "     Температура теплоносителя на входе в трубное пространство теплооб-\r\nменника ");
    s.negativeMiddle = tr(lang, " degr.C there is less than temperature in a boiling zone ",
                          " град.С меньше температуры в зоне кипения ");
    s.negativeTail = tr(lang, " degr.C.", " град.С.");
    s.recommendation =
        lang == kEnglish
            ? std::string(
                  "    It is recommended to increase temperature on the input of tubal space of "
                  "the heat") +
                  "\r\n" +
                  "exchanger or to reduce pressure in a boiling zone or to increase the contents" +
                  "\r\n" + "of low-boiling components in a boiling mix"
            : std::string(
                  "    Рекомендуется увеличить температуру на входе в трубное пространство") +
                  "\r\n" + "теплообменника или уменьшить давление в зоне кипения или увеличить" +
                  "\r\n" + "содержание низкокипящих компонентов в кипящей смеси.";
    // A failure at the inlet end ends the calculation with "Error!"; at the
    // outlet end and the mean state it is an error of the calculation.
    s.failure = {TOutletIterationObj::Failure::EndWithMessage, TOutletIterationObj::Failure::Throw,
                 TOutletIterationObj::Failure::Throw};
    s.failureText = {"Error!", "", ""};
    return s;
}

}  // namespace

TBoilCoolObj::TBoilCoolObj(const ExchangerArguments& a)
    : TOutletIterationObj(a, boilCoolSetup(a.context.language)) {}

TCoolBoilObj::TCoolBoilObj(const ExchangerArguments& a)
    : TOutletIterationObj(a, coolBoilSetup(a.context.language)) {}

TBoilingCondensingObj::TBoilingCondensingObj(const ExchangerArguments& a, bool boilingInTubes)
    : THexObj(a), m_boilingInTubes(boilingInTubes) {
    BoilingTemperature = boilingInTubes ? a.tube.Temperature : a.shell.Temperature;
    CondensingTemperature = boilingInTubes ? a.shell.Temperature : a.tube.Temperature;
    FlowSideCopy = a.flowSide;
    // Condensation in the shell space brings the shell medium's air correction.
    if (boilingInTubes) m_context.condensationCorrection = a.shell.AirFactor;
}

TBoilConObj::TBoilConObj(const ExchangerArguments& a) : TBoilingCondensingObj(a, true) {}

TConBoilObj::TConBoilObj(const ExchangerArguments& a) : TBoilingCondensingObj(a, false) {}

void TBoilingCondensingObj::drivingForceCheck(Real difference) {
    if (!(difference < 1)) return;
    // Shown, not written into the report.
    m_dialogs.message({"calculation.driving_force", MessageKind::Warning,
                       boilingTexts::drivingForceWarning(m_lang, difference, BoilingTemperature,
                                                         CondensingTemperature)});
}

bool TBoilingCondensingObj::boilingInTubesFilms(Real wall, Real difference, TwoFilms& f,
                                                RunResults& r) {
    const Real Tb = BoilingTemperature, Tc = CondensingTemperature;
    const CorrelationContext c = correlationContext();
    CondensationFactor =
        BundleCondensationCoefficient(RowsOnVertical, StaggeredTubes, HorizontalBundle,
                                      ShellComposition, ShellComponents, ShellComponentCount, wall,
                                      Tc, OuterDiameter, TubeLength, c) *
        m_context.condensationCorrection;
    BoilingFactor = BoilingCoefficient(TubeComponentCount, TubeComponents, TubeComposition, Tb,
                                       TubePressure, c);
    Real x = 0;
    try {
        x = SolveFluxBalanceQuartic(difference, 1 / BoilingFactor, WallResistance,
                                    1 / CondensationFactor, c);
    } catch (const NumericalError& e) {
        m_dialogs.message({"flux_balance.error", MessageKind::Error, "Error!"});
        r.produced = false;
        r.reason = e.what();
        return false;
    }
    if (x < -0.5L) {
        r.produced = false;
        r.reason = boilingTexts::kNegativeBalance;
        return false;
    }
    f.q = x * x * x;
    f.tubeAlpha = BoilingFactor * std::pow(f.q, 2.0L / 3.0L);
    f.shellAlpha = CondensationFactor * std::pow(f.q, -1.0L / 3.0L);
    return true;
}

bool TBoilingCondensingObj::condensationInTubesFilms(Real wall, Real difference, TwoFilms& f,
                                                     RunResults& r) {
    const Real Tb = BoilingTemperature, Tc = CondensingTemperature;
    const CorrelationContext c = correlationContext();
    CondensationFactor =
        CondensationCoefficient(HorizontalBundle, TubeComponentCount, TubeComponents,
                                TubeComposition, wall, Tc, InnerDiameter, TubeLength, c) *
        m_context.condensationCorrection;
    BoilingFactor = BoilingCoefficient(ShellComponentCount, ShellComponents, ShellComposition, Tb,
                                       ShellPressure, c);
    const Real m = HorizontalBundle ? 0.5L : -1.0L / 3.0L;
    try {
        f.q = SolveFluxBalance(m, 2.0L / 3.0L, difference, WallResistance, 1 / CondensationFactor,
                               1 / BoilingFactor, c);
    } catch (const NumericalError& e) {
        r.produced = false;
        r.reason = e.what();
        return false;
    }
    if (f.q < -0.5L) {
        r.produced = false;
        r.reason = boilingTexts::kNegativeBalance;
        return false;
    }
    f.tubeAlpha = CondensationFactor * std::pow(f.q, m);
    f.shellAlpha = BoilingFactor * std::pow(f.q, 2.0L / 3.0L);
    return true;
}

void TBoilingCondensingObj::Calculate(Real& G1, Real& G2, RunResults& r) {
    const Real Tb = BoilingTemperature, Tc = CondensingTemperature;
    if (!((FlowSideCopy == 1 ? G2 : G1) > 0))
        throw CalculationAborted(exchangerTexts::givenFlowNotPositive(m_lang));
    const Real difference = Tc - Tb;

    // Latent heats: each medium at its own saturation temperature, the tube
    // medium before the check. The film of a medium boiling in the shell space
    // is taken a quarter of the way from Tb to Tc; what it evaporates is
    // still its latent heat at Tb.
    TubeProps = tubeMixture(m_boilingInTubes ? Tb : Tc);
    LatentHeatTube = TubeProps.LatentHeat;
    drivingForceCheck(difference);
    const Real wall = (Tc + Tb) / 2;
    ShellProps = shellMixture(m_boilingInTubes ? Tc : (Tb + (Tb + Tc) / 2) / 2);
    LatentHeatShell = m_boilingInTubes ? ShellProps.LatentHeat : shellMixture(Tb).LatentHeat;
    if (!(LatentHeatTube > 0) || !(LatentHeatShell > 0))
        throw CalculationAborted(boilingTexts::latentHeatNotPositive(m_lang));

    // Flows, P in kJ/hour.
    Real P = 0;
    if (FlowSideCopy == 0) {
        P = G1 * LatentHeatTube;
        G2 = P / LatentHeatShell;
    } else {
        P = G2 * LatentHeatShell;
        G1 = P / LatentHeatTube;
    }

    TwoFilms films;
    if (!(m_boilingInTubes ? boilingInTubesFilms(wall, difference, films, r)
                           : condensationInTubesFilms(wall, difference, films, r)))
        return;
    const Real q = films.q;
    if (!(q > 0)) {
        r.produced = false;
        r.reason = boilingTexts::kNoDifference;
        return;
    }

    // Both media stay at their saturation temperatures along the surface.
    showProfile(2, [&](Real) {
        return std::vector<Real>{m_boilingInTubes ? Tc : Tb, m_boilingInTubes ? Tb : Tc};
    });

    r.produced = true;
    r.converged = true;
    r.HeatFlux = q;
    r.OverallCoefficient = q / difference;
    r.HeatFlow = 1000 * P;
    r.TubeCoefficient = films.tubeAlpha;
    r.ShellCoefficient = films.shellAlpha;
    r.Speed = 0;
    r.InstalledSurface = InstalledSurface();
}

}  // namespace vexamo
