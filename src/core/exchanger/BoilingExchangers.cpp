#include "exchanger/BoilingExchangers.h"

#include <cmath>

#include "common/Errors.h"
#include "common/NumberFormat.h"
#include "control/Session.h"
#include "dialogs/Dialogs.h"
#include "exchanger/Correlations.h"

namespace vexamo {

namespace {

std::string general4(Real v) { return formatGeneral(v, 4, 2); }

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
    : TOutletIterationObj(a, boilCoolSetup(a.session.LanguageFlag)) {}

TCoolBoilObj::TCoolBoilObj(const ExchangerArguments& a)
    : TOutletIterationObj(a, coolBoilSetup(a.session.LanguageFlag)) {}

TBoilingCondensingObj::TBoilingCondensingObj(const ExchangerArguments& a, bool boilingInTubes)
    : THexObj(a), m_boilingInTubes(boilingInTubes) {
    BoilingTemperature = boilingInTubes ? a.tube.Temperature : a.shell.Temperature;
    CondensingTemperature = boilingInTubes ? a.shell.Temperature : a.tube.Temperature;
    FlowSideCopy = a.flowSide;
    // Condensation in the shell space brings the shell medium's air correction.
    if (boilingInTubes) m_session.CondensationCorrection = a.shell.AirFactor;
}

TBoilConObj::TBoilConObj(const ExchangerArguments& a) : TBoilingCondensingObj(a, true) {}

TConBoilObj::TConBoilObj(const ExchangerArguments& a) : TBoilingCondensingObj(a, false) {}

void TBoilingCondensingObj::drivingForceCheck(Real difference) {
    if (!(difference < 1)) return;
    const Real Tb = BoilingTemperature, Tc = CondensingTemperature;
    std::string text;
    if (difference >= 0)
        text = tr(m_lang, "driving force of process of heat transfer ",
                  "Движущая сила процесса теплопередачи ") +
               general4(difference) + tr(m_lang, " degr.C is too small.", " град.С слишком мала.");
    else
        text = m_lang == kEnglish
                   ? "The temperature in a zone of boiling " + general4(Tb) + " degr.C exceeds" +
                         "\r\n" + " temperature in a zone of condensation " + general4(Tc) +
                         " degr.C."
                   : "Температура в зоне кипения " + general4(Tb) + " град.С превышает" + "\r\n" +
                         " температуру в зоне конденсации " + general4(Tc) + " град.С.";
    // Shown, not written into the report.
    const std::string warning =
        m_lang == kEnglish
            ? "    ATTENTION! Incorrect technological mode! \r\n" + text + "\r\n" +
                  "It is recommended to increase pressure in a zone of condensation or to" +
                  "\r\n" + "reduce pressure in a zone of boiling or to increase the contents of" +
                  "\r\n" +
                  "high-boiling components in a condensed mix or to increase the contents" +
                  "\r\n" + "low-boiling components in a boiling mix."
            : "    ВНИМАНИЕ! Некорректный технологический режим! \r\n" + text + "\r\n" +
                  "Рекомендуется увеличить давление в зоне конденсации или уменьшить давление в "
                  "зоне" +
                  "\r\n" +
                  "кипения или увеличить содержание высококипящих компонентов в конденсирующейся" +
                  "\r\n" +
                  "смеси или увеличить содержание низкокипящих компонентов в кипящей смеси.";
    m_dialogs.message({"calculation.driving_force", MessageKind::Warning, warning});
}

void TBoilingCondensingObj::Calculate(Real& G1, Real& G2, RunResults& r) {
    const Real Tb = BoilingTemperature, Tc = CondensingTemperature;
    if (!((FlowSideCopy == 1 ? G2 : G1) > 0))
        throw CalculationAborted(tr(m_lang, "The given flow rate must be positive.",
                                    "Заданный расход должен быть положительным."));
    // Without results the flow that was to be found keeps the value it came with.
    const FlowKeeper keeper{G1, G2, r};
    const CorrelationContext c = correlationContext();
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
        throw CalculationAborted(tr(m_lang, "The latent heat of a medium is not above zero.",
                                    "Теплота фазового перехода теплоносителя не больше нуля."));

    // Flows, P in kJ/hour.
    Real P = 0;
    if (FlowSideCopy == 0) {
        P = G1 * LatentHeatTube;
        G2 = P / LatentHeatShell;
    } else {
        P = G2 * LatentHeatShell;
        G1 = P / LatentHeatTube;
    }

    Real q = -1, tubeAlpha = 0, shellAlpha = 0;
    if (m_boilingInTubes) {
        CondensationFactor =
            BundleCondensationCoefficient(RowsOnVertical, StaggeredTubes, HorizontalBundle,
                                          ShellComposition, ShellComponents, ShellComponentCount,
                                          wall, Tc, OuterDiameter, TubeLength, c) *
            m_session.CondensationCorrection;
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
            return;
        }
        if (x < -0.5L) {
            r.produced = false;
            r.reason = "the heat-flux balance got a negative temperature difference or resistance";
            return;
        }
        q = x * x * x;
        tubeAlpha = BoilingFactor * std::pow(q, 2.0L / 3.0L);
        shellAlpha = CondensationFactor * std::pow(q, -1.0L / 3.0L);
    } else {
        CondensationFactor =
            CondensationCoefficient(HorizontalBundle, TubeComponentCount, TubeComponents,
                                    TubeComposition, wall, Tc, InnerDiameter, TubeLength, c) *
            m_session.CondensationCorrection;
        BoilingFactor = BoilingCoefficient(ShellComponentCount, ShellComponents, ShellComposition,
                                           Tb, ShellPressure, c);
        const Real m = HorizontalBundle ? 0.5L : -1.0L / 3.0L;
        try {
            q = SolveFluxBalance(m, 2.0L / 3.0L, difference, WallResistance, 1 / CondensationFactor,
                                 1 / BoilingFactor, c);
        } catch (const NumericalError& e) {
            r.produced = false;
            r.reason = e.what();
            return;
        }
        if (q < -0.5L) {
            r.produced = false;
            r.reason = "the heat-flux balance got a negative temperature difference or resistance";
            return;
        }
        tubeAlpha = CondensationFactor * std::pow(q, m);
        shellAlpha = BoilingFactor * std::pow(q, 2.0L / 3.0L);
    }
    if (!(q > 0)) {
        r.produced = false;
        r.reason = "no heat flows without a temperature difference";
        return;
    }

    // Both media stay at their saturation temperatures along the surface.
    ProfileGraphRequest graph;
    graph.language = m_lang;
    graph.curves.assign(2, {});
    for (int j = 0; j <= 12; ++j) {
        graph.positions.push_back(static_cast<Real>(j) / 12);
        graph.curves[0].push_back(m_boilingInTubes ? Tc : Tb);
        graph.curves[1].push_back(m_boilingInTubes ? Tb : Tc);
    }
    m_dialogs.showProfileGraph(graph);

    r.produced = true;
    r.converged = true;
    r.HeatFlux = q;
    r.OverallCoefficient = q / difference;
    r.HeatFlow = 1000 * P;
    r.TubeCoefficient = tubeAlpha;
    r.ShellCoefficient = shellAlpha;
    r.Speed = 0;
    r.InstalledSurface = InstalledSurface();
}

}  // namespace vexamo
