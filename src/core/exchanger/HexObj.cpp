#include "exchanger/HexObj.h"

#include <cmath>

#include "common/Constants.h"
#include "common/Errors.h"
#include "common/NumberFormat.h"
#include "common/Text.h"
#include "dialogs/Dialogs.h"
#include "dialogs/GenericDialogs.h"
#include "dialogs/TechnologicalDialog.h"
#include "exchanger/CorrelationSolvers.h"
#include "exchanger/Correlations.h"
#include "exchanger/ExchangerTexts.h"

namespace vexamo {

THexObj::THexObj(const ExchangerArguments& a)
    : m_context(a.context),
      m_dialogs(a.dialogs),
      m_lang(a.context.language),
      m_tubeProcess(a.tube.ProcessCode),
      m_shellProcess(a.shell.ProcessCode) {
    m_context.tubeFlow = a.tube.FlowRate;
    m_context.shellFlow = a.shell.FlowRate;
    m_context.condensationCorrection = a.tube.AirFactor;
    TubeComponentCount = static_cast<std::uint8_t>(a.tube.ComponentCount & 0xFF);
    ShellComponentCount = static_cast<std::uint8_t>(a.shell.ComponentCount & 0xFF);
    TubeComposition = a.tube.Concentration;
    ShellComposition = a.shell.Concentration;
    TubePressure = a.tube.Pressure;
    ShellPressure = a.shell.Pressure;
    TubeComponents = a.tube.Components;
    ShellComponents = a.shell.Components;
    const DesignRecord& d = a.design;
    TubeCount = d.TubeCount;
    TubePasses = d.TubePasses;
    ShellPasses = d.ShellPasses;
    RowsOnVertical = d.RowsOnVertical;
    ParallelFlows = d.ParallelFlows;
    OuterDiameter = d.OuterDiameter;
    InnerDiameter = d.InnerDiameter;
    TubeLength = d.TubeLength;
    WallResistance = d.WallResistance;
    HorizontalBundle = d.HorizontalBundle != 0;
    StaggeredTubes = d.StaggeredTubes != 0;
    ExtraReport.clear();
}

void THexObj::WriteProgressLine() {
    ReportMemo& report = m_context.report;
    const auto index = static_cast<std::size_t>(m_context.progressLineIndex);
    if (index < report.lineCount()) report.remove(index);
    report.add(IterationLog);
}

void THexObj::showIterationProgress(const std::string& label, Real T) {
    IterationLog = exchangerTexts::progressLine(m_lang, IterationCount, label, T);
    WriteProgressLine();
}

void THexObj::requireIterationWithin(int totalIterations, int limit) const {
    if (totalIterations > limit)
        throw CalculationAborted(exchangerTexts::iterationLimitReached(m_lang, limit));
}

void THexObj::leaveForInitialData(RunResults& r) {
    r.produced = false;
    r.reason = "left for the initial data";
}

void THexObj::showProfile(std::size_t curveCount,
                          const std::function<std::vector<Real>(Real)>& temperaturesAt) {
    ProfileGraphRequest graph;
    graph.language = m_lang;
    graph.curves.assign(curveCount, {});
    for (int j = 0; j <= 12; ++j) {
        const Real x = static_cast<Real>(j) / 12;
        graph.positions.push_back(x);
        const std::vector<Real> point = temperaturesAt(x);
        for (std::size_t c = 0; c < curveCount; ++c) graph.curves[c].push_back(point[c]);
    }
    m_dialogs.showProfileGraph(graph);
}

void THexObj::AskInitialApproximation(Real& T) {
    if (!m_dialogs.confirm({"iteration.initial_approximation",
                            tr(m_lang,
                               "Wish to set an initial approximation for temperature of the "
                               "heat-transfer medium on\r\nthe outlet of heat exchanger singly "
                               "(Yes), or to give this choice to the program (No)?",
                               "Желаете задать начальное приближение для температуры теплоносителя "
                               "на выходе из\r\nтеплообменника самостоятельно (Yes), или "
                               "предоставить этот выбор программе (No)?"),
                            false}))
        return;
    const std::string shown = formatGeneral(T, 6, 2);
    askIterationValue(
        "iteration.initial_approximation",
        m_lang == kEnglish
            ? "Initial approximation for temperature of the heat-transfer medium on\r\nthe outlet "
              "of heat exchanger\r\nValue of this temperature by default: " +
                  shown + " deg.C"
            : "Начальное приближение для температуры на выходе из теплообменника\r\nЗначение этой "
              "температуры по умолчанию: " +
                  shown + " град.С",
        tr(m_lang, " deg.C", " град.С"), shown, T);
}

void THexObj::askIterationValue(const char* id, const std::string& prompt, const std::string& unit,
                                const std::string& shown, Real& value) {
    InputRequest request;
    request.id = id;
    request.caption = tr(m_lang, "Input of the data", "Ввод данных");
    request.prompt = prompt;
    request.errorPrefix = tr(m_lang, "Erroneous record of number: ", "Ошибочная запись числа: ");
    request.unit = unit;
    request.initialText = shown;
    request.defaultAnswer = shown;
    const InputAnswer answer = m_dialogs.ask(request);
    // Cancel or "Default" keep the value shown.
    if (!answer.cancelled && !answer.isDefault) value = answer.real;
}

bool THexObj::HandleOutOfInterval(Real& C) {
    AlternRequest choice;
    choice.id = "iteration.out_of_interval";
    choice.caption = tr(m_lang, "Choice of variant", "Выбор варианта");
    choice.question = tr(m_lang,
                         " Output for limits of the set interval of temperatures. \r\n Choose one "
                         "of variants of the further actions ",
                         " Выход за пpеделы заданного интеpвала темпеpатуp. \r\n Выберите один из "
                         "вариантов дальнейших действий ");
    choice.alternatives = {tr(m_lang, "to check up the initial data (to leave for the menu)",
                              "пpовеpить исходные данные (выйти в меню)"),
                           tr(m_lang, "to correct a constant of convergence of the method",
                              "скорpектировать константу сходимости метода")};
    choice.keywords = {"menu", ""};
    choice.numberSelects = 1;
    choice.defaultIndex = 0;
    if (m_dialogs.ask(choice).index == 0) {
        m_context.enterTechnologicalData(m_dialogs);
        return true;
    }
    const std::string shown = formatShortest(C);
    askIterationValue(
        "iteration.out_of_interval",
        m_lang == kEnglish
            ? "Set new value of a constant of convergence of the method\r\n(it is recommended in "
              "1,5 - 2 times less former).\r\nFormer value of this constant: " +
                  shown + "."
            : "Задайте новое значение константы сходимости метода\r\n(pекомендуется в 1,5 - 2 pаза "
              "меньше прежнего).\r\nПpежнее значение этой постоянной: " +
                  shown + ".",
        std::string(), shown, C);
    return false;
}

void THexObj::HandleSlowConvergence(Real& C, std::uint16_t& count, bool& continueIteration) {
    if (!m_dialogs.confirm({"iteration.slow_convergence",
                            tr(m_lang,
                               "  Too slow convergence of a method. Wish to\r\ncorrect value of a "
                               "constant of convergence?",
                               "   Слишком медленная сходимость метода. Желаете\r\nскоppектиpовать "
                               "значение константы сходимости?"),
                            false})) {
        continueIteration = false;
        return;
    }
    const std::string shown = formatShortest(C);
    askIterationValue(
        "iteration.slow_convergence",
        m_lang == kEnglish
            ? "It is recommended to increase value of a constant of convergence\r\nof the method "
              "in 1,5 - 2 times. Former value of this constant: " +
                  shown + "."
            : "Рекомендуется увеличить значение константы сходимости\r\nметода в 1,5 - 2 pаза. "
              "Пpежнее значение этой постоянной: " +
                  shown + ".",
        std::string(), shown, C);
    continueIteration = true;
    count = 0;
}

void THexObj::ComputeSegmentNotch(Real Dc) {
    NotchDiameter = Dc;
    NotchArea = Dc <= 0.3L ? Dc * Dc * kPi / 4 * 0.3L : Dc * Dc * kPi / 4 * 0.16L;
    NotchAngle = SegmentAngle(2 * NotchArea / ((Dc / 2) * (Dc / 2)));
    SegmentNotchHeight = (1 - std::cos(NotchAngle / 2)) * Dc / 2;
    ReportText = std::string("\r\n") +
                 tr(m_lang, "  Height of segment notch:                           ",
                    "  Высота сегментного выpеза:                         ") +
                 formatGeneral(SegmentNotchHeight, 6, 2) + tr(m_lang, " m;", " м;") + "\r\n";
}

Real THexObj::InstalledSurface() const {
    return heatExchangeSurface(ParallelFlows, TubeCount, OuterDiameter, InnerDiameter, TubeLength);
}

namespace {

std::string general8(Real v) { return formatGeneral(v, 8, 2); }

// No exchanger comes near this magnitude in any unit of the report; a result
// beyond it comes from data far outside any exchanger, not from physics.
constexpr Real kLargestReportable = 1e30L;

}  // namespace

void THexObj::requireReportable(const RunResults& r) const {
    auto check = [&](Real value, const char* en, const char* ru) {
        if (std::isfinite(value) && std::fabs(value) <= kLargestReportable) return;
        throw NumericalError(
            std::string(tr(m_lang, "the result \"", "результат \"")) + tr(m_lang, en, ru) +
            tr(m_lang, "\" is ", "\" равен ") + formatGeneral(value, 8, 2) +
            tr(m_lang, ", outside the range of any exchanger: the initial data are to be checked",
               ", вне диапазона любого теплообменника: исходные данные следует проверить"));
    };
    check(m_context.tubeFlow, "consumption in trumpet space", "расход в трубном пространстве");
    check(m_context.shellFlow, "consumption in intertrumpet space",
          "расход в межтрубном пространстве");
    check(r.TubeCoefficient, "factor of heat emission in trumpet space",
          "коэффициент теплоотдачи в трубном пространстве");
    check(r.ShellCoefficient, "factor of heat emission in intertrumpet space",
          "коэффициент теплоотдачи в межтрубном пространстве");
    check(r.OverallCoefficient, "overall heat transfer coefficient", "коэффициент теплопередачи");
    check(r.HeatFlux, "general thermal stream", "общий тепловой поток");
    check(r.HeatFlow, "heat flow", "тепловой поток");
    check(r.Surface, "surface of heat exchange", "поверхность теплообмена");
    check(r.InstalledSurface, "installed surface of heat exchange",
          "установленная поверхность теплообмена");
    check(r.Speed, "speed of the heat-transfer medium", "скорость теплоносителя");
    if (r.hasOutlet) {
        check(r.OutletTemperature, "outlet temperature", "температура на выходе");
        check(r.OtherOutletTemperature, "outlet temperature of the other space",
              "температура на выходе другого пространства");
    }
    if (!r.converged) check(r.BalanceRatio, "balance ratio", "отношение тепловых потоков");
}

void THexObj::addResultsHeading() {
    const auto& sides = m_context.technological.sides;
    const std::string tubeProcess = sides[0].processText.empty()
                                        ? std::string(processName(m_tubeProcess, m_lang))
                                        : sides[0].processText;
    const std::string shellProcess = sides[1].processText.empty()
                                         ? std::string(processName(m_shellProcess, m_lang))
                                         : sides[1].processText;
    ReportText += std::string("\r\n") +
                  tr(m_lang, "   Results of the design calculation; trumpet space- ",
                     "   Результаты  пpоектного расчета; тpубное пpостранство- ") +
                  tubeProcess +
                  tr(m_lang, ", intertrumpet space- ", ", межтpубное пpостранство- ") +
                  shellProcess + "\r\n";
}

std::string noResultsText(LanguageFlagType lang, const std::string& reason) {
    std::string text =
        tr(lang, "  The calculation ended without results (the initial data are to be checked).",
           "  Расчет закончен без результатов (исходные данные следует проверить).");
    text += "\r\n";
    if (reason.empty()) return text;
    // one line, whatever the message held
    std::string flat;
    for (char c : reason) flat += (c == '\r' || c == '\n') ? ' ' : c;
    return text + tr(lang, "  Reason: ", "  Причина: ") + flat + "\r\n";
}

void THexObj::addNoResultsLine(const std::string& reason) {
    ReportText += noResultsText(m_lang, reason);
}

// What the pair's calculation leaves to its base: the surface from the heat
// flow and the flux, the pressure losses, and the check that the report can
// show every number.
void THexObj::completeResults(RunResults& r) const {
    r.Surface = r.HeatFlow / (r.HeatFlux * 3600);
    r.TubeSide.lossComputed = TubeLoss.computed;
    r.TubeSide.loss_kPa = TubeLoss.loss;
    r.ShellSide.lossComputed = ShellLoss.total > 0;
    r.ShellSide.loss_kPa = ShellLoss.total;
    if (!std::isfinite(r.Surface) || !std::isfinite(r.OverallCoefficient))
        throw NumericalError(tr(m_lang, "the heat flux is zero: no surface can be found",
                                "тепловой поток равен нулю: поверхность не определена"));
    requireReportable(r);
}

// The lines of the results block after its heading: flows, coefficients,
// flux, the pair's own lines, surface, installed surface, outlet, and the
// balance not reached.
void THexObj::addResultLines(const RunResults& r) {
    const ExchangerContext& s = m_context;
    auto line = [&](const char* en, const char* ru, const std::string& value, const char* unitEn,
                    const char* unitRu) {
        ReportText += tr(m_lang, en, ru) + value + tr(m_lang, unitEn, unitRu) + "\r\n";
    };
    line("  Consumption of the heat-carrier in trumpet space:       ",
         "  Расход теплоносителя в тpубном пpостранстве:       ", general8(s.tubeFlow), " kg/hour;",
         " кг/час;");
    line("  Consumption of the heat-carrier in intertrumpet space:  ",
         "  Расход теплоносителя в межтpубном пpостранстве:    ", general8(s.shellFlow),
         " kg/hour;", " кг/час;");
    line("  Factor of heat emission in trumpet space:               ",
         "  Коэффициент теплоотдачи в тpубном пpостранстве:    ", general8(r.TubeCoefficient),
         " watt/m^2*K;", " вт/м^2*K;");
    line("  Factor of heat emission in intertrumpet space:          ",
         "  Коэффициент теплоотдачи в межтpубном пpостранстве: ", general8(r.ShellCoefficient),
         " watt/m^2*K;", " вт/м^2*K;");
    line("  Overall heat transfer coefficient:                      ",
         "  Коэффициент теплопеpедачи:                         ", general8(r.OverallCoefficient),
         " watt/m^2*K;", " вт/м^2*K;");
    line("  The general thermal stream:                             ",
         "  Общий тепловой поток:                              ", general8(r.HeatFlux),
         " watt/m^2;", " вт/м^2;");
    ReportText += ExtraReport;
    ReportText += tr(m_lang, "  Surface of heat exchange:                          ",
                     "  Повеpхность теплообмена:                           ") +
                  general8(r.Surface) + tr(m_lang, " m^2;", " м^2;") + "\r\n";
    // Labels of the lines below are aligned with the flow and coefficient
    // lines (58 characters in English, 53 in Russian).
    auto aligned = [&](const std::string& label) {
        return paddedTo(label, m_lang == kEnglish ? 58 : 53);
    };
    if (r.InstalledSurface > 0)
        ReportText += aligned(tr(m_lang, "  Installed surface of heat exchange:",
                                 "  Установленная повеpхность теплообмена:")) +
                      general8(r.InstalledSurface) + tr(m_lang, " m^2;", " м^2;") + "\r\n";
    if (r.hasOutlet) {
        const std::string label = r.outletSide == 1
                                      ? tr(m_lang, "  Outlet temperature in trumpet space:",
                                           "  Темпеpатуpа на выходе из тpубного пpостранства:")
                                      : tr(m_lang, "  Outlet temperature in intertrumpet space:",
                                           "  Темпеpатуpа на выходе из межтpубного пpостранства:");
        ReportText += aligned(label) + formatGeneral(r.OutletTemperature, 8, 2) +
                      tr(m_lang, " degr.C;", " град.С;") + "\r\n";
    }
    if (!r.converged)
        ReportText += tr(m_lang,
                         "  The heat balance was not reached: the iteration was stopped at the "
                         "balance ratio ",
                         "  Тепловой баланс не достигнут: итерации остановлены при отношении "
                         "тепловых потоков ") +
                      formatGeneral(r.BalanceRatio, 8, 2) + tr(m_lang, ".", ".") + "\r\n";
}

bool THexObj::ReportResults(Real tubeFlow, Real shellFlow) {
    ExchangerContext& s = m_context;
    s.tubeFlow = tubeFlow;
    s.shellFlow = shellFlow;
    RunResults r;
    // A calculation that ends without results, however it ends (by its own
    // decision, by an error, or with results that cannot be reported), leaves
    // no intermediate flow behind: both flows are put back as they were given.
    const FlowKeeper keeper{s.tubeFlow, s.shellFlow, r};
    try {
        Calculate(s.tubeFlow, s.shellFlow, r);
        if (r.produced) completeResults(r);
    } catch (const std::exception& e) {
        r.produced = false;
        r.reason = describeError(e, m_lang);
        s.results = r;
        m_dialogs.message({"calculation.error", MessageKind::Error, "Error\r\n" + r.reason});
        // The report says that there are no results, and why, after what the
        // intermediate blocks already wrote.
        addResultsHeading();
        addNoResultsLine(r.reason);
        s.report.add(ReportText);
        return false;
    }
    s.results = r;

    addResultsHeading();
    if (!r.produced) {
        // Left for the data dialogs: say so instead of numbers.
        addNoResultsLine("");
        s.report.add(ReportText);
        return false;
    }
    addResultLines(r);
    s.report.add(ReportText);

    if (r.Speed > 2.5L) {
        ReportText = exchangerTexts::speedWarning(m_lang, r.Speed);
        m_dialogs.message({"calculation.speed", MessageKind::Warning, ReportText});
    }
    return true;
}

PropertySet THexObj::tubeMixture(Real t) {
    return MixtureAt(TubeComponents, TubeComposition, TubeComponentCount, t, &m_context.validity);
}

PropertySet THexObj::shellMixture(Real t) {
    return MixtureAt(ShellComponents, ShellComposition, ShellComponentCount, t,
                     &m_context.validity);
}

CorrelationContext THexObj::correlationContext() {
    CorrelationContext c;
    c.languageFlag = m_lang;
    c.dialogs = &m_dialogs;
    c.rangeLog = &m_context.validity;
    c.substances = &m_context.data;
    return c;
}

}  // namespace vexamo
