#include "control/RunDriver.h"

#include <filesystem>
#include <new>
#include <string>

#include "common/Errors.h"
#include "common/InputBounds.h"
#include "common/NumberFormat.h"
#include "control/DataDialogActions.h"
#include "control/EngineeringSummary.h"
#include "control/ProblemFile.h"
#include "control/RunContexts.h"
#include "control/StreamPreparation.h"
#include "dialogs/DesignDialog.h"
#include "dialogs/TechnologicalDialog.h"

namespace vexamo {

std::string initialDataBlock(const DesignRecord& d, LanguageFlagType lang) {
    auto integer = [](long long v) { return std::to_string(v); };
    // Lengths: general format, at most 8 significant digits, 2 exponent digits.
    auto length = [&](Real v) { return formatGeneral(v, 8, 2) + tr(lang, " m;", " м;"); };
    std::string block;
    block += tr(lang,
                "\r\n                  THE INITIAL DATA\r\n                   Design factor\r\n   "
                "Number of pipes:                               ",
                "\r\n                  ИСХОДНЫЕ ДАННЫЕ\r\n              Констpуктивные "
                "паpаметpы\r\n   Число тpуб:                               ");
    block += integer(d.TubeCount) + "\r\n";
    block += tr(lang, "   number of courses in trumpet space:       ",
                "   число ходов в тpубном пpостpанстве:       ");
    block += integer(d.TubePasses) + "\r\n";
    block += tr(lang, "   number of courses in intertrumpet space:    ",
                "   число ходов в межтpубном пpостpанстве:    ");
    block += integer(d.ShellPasses) + "\r\n";
    block += tr(lang, "   number of pipes lines on a vertical:        ",
                "   число pядов тpуб по веpтикали:            ");
    block += integer(d.RowsOnVertical) + "\r\n";
    block += tr(lang, "   external diameter of pipes:                 ",
                "   диаметp тpуб (наpужный):                  ");
    block += length(d.OuterDiameter) + "\r\n";
    block += tr(lang, "   inner diameter of pipes:                    ",
                "   диаметp тpуб (внутpенний):                ");
    block += length(d.InnerDiameter) + "\r\n";
    block += tr(lang, "   number of co-currents of heat-transfer medium: ",
                "   число паpаллельных потоков теплоносителя: ");
    block += integer(d.ParallelFlows) + "\r\n";
    block += tr(lang, "   length of pipes:                            ",
                "   длина тpуб:                               ");
    block += length(d.TubeLength) + "\r\n";
    block += tr(lang, "   pipes material - ", "   матеpиал стенок тpуб - ");
    block += d.MaterialName + "\r\n";
    // The fouling only where the design gives its own: the default allowance
    // has always stood without a line.
    if (!hasDefaultFouling(d)) {
        auto fouling = [&](Real v) {
            return formatGeneral(v, 8, 2) + tr(lang, " m2*K/W;", " м2*К/Вт;");
        };
        block += tr(lang, "   fouling resistance in trumpet space:        ",
                    "   сопр. загрязнений в трубном простр.:      ");
        block += fouling(d.TubeFouling) + "\r\n";
        block += tr(lang, "   fouling resistance in intertrumpet space:   ",
                    "   сопр. загрязнений в межтрубном простр.:   ");
        block += fouling(d.ShellFouling) + "\r\n";
    }
    return block;
}

std::vector<std::string> validityWarnings(const RangeLog& log, LanguageFlagType lang) {
    std::vector<std::string> lines;
    for (const std::string& line : log.describe(lang))
        lines.push_back(tr(lang, "Warning: ", "Предупреждение: ") + line);
    return lines;
}

namespace {

// After the results (or the reason there are none): each datum the Run used
// outside its range, once, with how far.
void addValidityWarnings(Session& session) {
    const std::vector<std::string> lines = validityWarnings(session.Validity, session.LanguageFlag);
    if (lines.empty()) return;
    session.Report.add(tr(session.LanguageFlag, "\r\n   DATA USED OUTSIDE THEIR RANGE",
                          "\r\n   ДАННЫЕ ВНЕ ИХ ДИАПАЗОНА"));
    for (const std::string& line : lines) session.Report.add("   " + line);
}

// Properties taken far beyond their tables are the end values of the
// tables, not properties. An inlet or outlet of a stream that far outside
// the tables of one of its components withdraws the results, and the Run
// ends with the reason. (The film iterations try wall temperatures far from
// the streams' on their way; those are reported, not refused. Saturation
// temperatures are checked where they are found.)
void refuseFarOutside(Session& session) {
    const LanguageFlagType lang = session.LanguageFlag;
    const RunResults& r = session.Results;
    auto check = [&](const TechnSet& stream, int side) {
        std::vector<Real> temperatures{stream.Temperature};
        if (r.produced && r.hasOutlet)
            temperatures.push_back(r.outletSide == side ? r.OutletTemperature
                                                        : r.OtherOutletTemperature);
        for (std::size_t i = 0; i < stream.ComponentCount && i < stream.Components.size(); ++i) {
            const Pro& p = stream.Components[i];
            if (p.Temperatures.empty()) continue;
            for (Real t : temperatures) {
                const RangeEvent e{"property tables",      p.EnglishName,         t,
                                   p.Temperatures.front(), p.Temperatures.back(), {}};
                if (!(distanceOutside(e) > kFarOutsideData_K)) continue;
                std::vector<std::string> kept = session.Report.lines();
                if (kept.size() > static_cast<std::size_t>(session.ProgressLineIndex))
                    kept.resize(static_cast<std::size_t>(session.ProgressLineIndex));
                session.Report.setLines(std::move(kept));
                throw CalculationAborted(
                    std::string(side == 1 ? tr(lang, "The tube-space medium ",
                                               "Теплоноситель трубного пространства ")
                                          : tr(lang, "The shell-space medium ",
                                               "Теплоноситель межтрубного пространства ")) +
                    tr(lang, p.EnglishName.c_str(), p.RussianName.c_str()) +
                    tr(lang, " at ", " при ") + formatFixed(t, 0, 2) +
                    tr(lang, " degr.C is far outside its property tables (",
                       " град.С далеко вне таблиц его свойств (") +
                    formatShortest(e.low) + tr(lang, " to ", " … ") + formatShortest(e.high) +
                    tr(lang, " degr.C): the results would rest on the end values of the tables",
                       " град.С): результаты опирались бы на крайние значения таблиц"));
            }
        }
    };
    check(session.Problem.TubeStream, 1);
    check(session.Problem.ShellStream, 2);
}

// Steps 1 to 4: the load offer, the technological form, both streams, the
// design form and the save offer. Cancelling a form throws RunCancelled.
void enterData(Session& session, Dialogs& dialogs, const RunSettings& settings) {
    const LanguageFlagType lang = session.LanguageFlag;
    if (session.TechnoPending && session.DesignPending) {
        if (dialogs.confirm(
                {"run.load_problem",
                 tr(lang, "Wish to load datas for account of a heat exchanger\r\nfrom a datafile ?",
                    "Желаете загрузить данные для расчета теплообменника\r\nиз файла данных ?"),
                 false}))
            FileActionExecute(session, dialogs);
        else
            session.DataLoaded = 0;
    }
    if (session.TechnoPending || !session.TechnoEntered)
        if (!TechnoActionExecute(session, dialogs)) throw RunCancelled("technological data");

    const auto& sides = session.TechnoDialog.sides;
    Real correction = session.CondensationCorrection;
    {
        const StreamPreparer prepare =
            settings.prepareStream ? settings.prepareStream : streamPreparer(session, dialogs);
        Real temperature = 0;
        prepare(sides[0].givenState, '1', sides[0].phaseLetter, session.Problem.TubeStream,
                correction, temperature, session.EnteredState[0]);
        session.CondensationCorrection = correction;
        prepare(sides[1].givenState, '2', sides[1].phaseLetter, session.Problem.ShellStream,
                correction, temperature, session.EnteredState[1]);
        session.CondensationCorrection = correction;
    }

    if (session.DesignPending || !session.DesignEntered)
        if (!DesignActionExecute(session, dialogs)) throw RunCancelled("design data");
    SaveProblemFile(session, dialogs);
}

// Step 5: the initial-data block and the bundle-fit warning; the progress
// line of the calculation follows them.
void writeInitialData(Session& session, Dialogs& dialogs) {
    const LanguageFlagType lang = session.LanguageFlag;
    session.Report.add(initialDataBlock(session.Problem.Design, lang));
    {
        const DesignRecord& d = session.Problem.Design;
        if (const auto fit = bundleDoesNotFit(d.TubeCount, d.ShellDiameter, d.OuterDiameter,
                                              d.StaggeredTubes != 0, lang)) {
            dialogs.message({"design.bundle_fit", MessageKind::Warning, *fit});
            session.Report.add(std::string("   ") + tr(lang, "Warning: ", "Предупреждение: ") +
                               *fit);
        }
    }
    session.ProgressLineIndex = static_cast<int>(session.Report.lineCount());
}

// Steps 6 and 7: the pair's exchanger, then the far-outside check, the
// engineering summary and the warnings.
RunOutcome runExchanger(Session& session, Dialogs& dialogs, const RunSettings& settings) {
    const LanguageFlagType lang = session.LanguageFlag;
    const ExchangerClass cls = exchangerClassFor(session.PairCode);
    if (cls == ExchangerClass::None) {
        dialogs.message({"run.no_pair", MessageKind::Error, "процесс не оформлен"});
        session.Report.add(noResultsText(
            lang, tr(lang, "no exchanger for this pair of processes", "процесс не оформлен")));
        return RunOutcome::NoResults;
    }
    const ExchangerRegistry& registry =
        settings.exchangers ? *settings.exchangers : builtInExchangers();
    const ExchangerFactory* factory = registry.find(cls);
    if (!factory) {
        const auto& t = session.Problem.TubeStream;
        const auto& s = session.Problem.ShellStream;
        const std::string why =
            tr(lang, "The calculation of this pair of processes is not built yet: ",
               "Расчет этой пары процессов еще не реализован: ") +
            std::string(processName(t.ProcessCode, lang)) + " - " +
            processName(s.ProcessCode, lang) + " (" + exchangerClassName(cls) + ").";
        dialogs.message({"run.not_built", MessageKind::Error, why});
        session.Report.add(noResultsText(lang, why));
        return RunOutcome::NoResults;
    }
    // The object lives for this Run only; unique_ptr destroys it on every way out. It
    // reads and writes the session only through its context.
    std::unique_ptr<ExchangerObject> exchanger =
        (*factory)({session.Problem.TubeStream, session.Problem.ShellStream, session.FlowSide,
                    session.Problem.Design, true, exchangerContext(session), dialogs});
    const bool produced = exchanger->ReportResults(session.TubeFlow, session.ShellFlow);
    refuseFarOutside(session);
    if (produced) session.Report.add(summaryBlock(summarize(session), lang));
    addValidityWarnings(session);
    return produced ? RunOutcome::Results : RunOutcome::NoResults;
}

RunOutcome runSteps(Session& session, Dialogs& dialogs, const RunSettings& settings) {
    std::error_code ec;
    session.WorkingFolder = std::filesystem::current_path(ec);
    enterData(session, dialogs, settings);
    writeInitialData(session, dialogs);
    return runExchanger(session, dialogs, settings);
}

}  // namespace

namespace {

// What a Run may change before its calculation: put back when the person
// cancels, so that no problem is left half loaded or mixed with another.
struct BeforeTheRun {
    ProblemData Problem;
    std::uint8_t DataLoaded, FlowSide;
    int PairCode, ProgressLineIndex;
    Real TubeFlow, ShellFlow, CondensationCorrection;
    std::array<Real, 2> EnteredState;
    std::vector<std::string> ComponentNames;
    RunResults Results;
    bool TechnoPending, DesignPending, TechnoEntered, DesignEntered;
    TechnologicalDialogModel TechnoDialog;
    DesignDialogModel DesignDialog;
    std::vector<std::string> ReportLines;
    EquilibriumModel Equilibrium;
    std::vector<PairSetup> EquilibriumPairs;
    std::array<Real, 7> EquilibriumWork, EquilibriumLiquid, EquilibriumVapour;

    explicit BeforeTheRun(const Session& s)
        : Problem(s.Problem),
          DataLoaded(s.DataLoaded),
          FlowSide(s.FlowSide),
          PairCode(s.PairCode),
          ProgressLineIndex(s.ProgressLineIndex),
          TubeFlow(s.TubeFlow),
          ShellFlow(s.ShellFlow),
          CondensationCorrection(s.CondensationCorrection),
          EnteredState(s.EnteredState),
          ComponentNames(s.ComponentNames),
          Results(s.Results),
          TechnoPending(s.TechnoPending),
          DesignPending(s.DesignPending),
          TechnoEntered(s.TechnoEntered),
          DesignEntered(s.DesignEntered),
          TechnoDialog(s.TechnoDialog),
          DesignDialog(s.DesignDialog),
          ReportLines(s.Report.lines()),
          Equilibrium(s.Equilibrium),
          EquilibriumPairs(s.EquilibriumPairs),
          EquilibriumWork(s.EquilibriumWork),
          EquilibriumLiquid(s.EquilibriumLiquid),
          EquilibriumVapour(s.EquilibriumVapour) {}

    void restore(Session& s) const {
        s.Problem = Problem;
        s.DataLoaded = DataLoaded;
        s.FlowSide = FlowSide;
        s.PairCode = PairCode;
        s.ProgressLineIndex = ProgressLineIndex;
        s.TubeFlow = TubeFlow;
        s.ShellFlow = ShellFlow;
        s.CondensationCorrection = CondensationCorrection;
        s.EnteredState = EnteredState;
        s.ComponentNames = ComponentNames;
        s.Results = Results;
        s.TechnoPending = TechnoPending;
        s.DesignPending = DesignPending;
        s.TechnoEntered = TechnoEntered;
        s.DesignEntered = DesignEntered;
        s.TechnoDialog = TechnoDialog;
        s.DesignDialog = DesignDialog;
        if (s.Report.lines() != ReportLines) s.Report.setLines(ReportLines);
        s.Equilibrium = Equilibrium;
        s.EquilibriumPairs = EquilibriumPairs;
        s.EquilibriumWork = EquilibriumWork;
        s.EquilibriumLiquid = EquilibriumLiquid;
        s.EquilibriumVapour = EquilibriumVapour;
    }
};

// The Run ends without results: the error box, and once this Run has written
// its initial data, the report says why; before that the report still holds
// the last Run's.
RunOutcome aborted(Session& session, Dialogs& dialogs, int linesBefore, const std::string& reason) {
    dialogs.message({"run.aborted", MessageKind::Error, reason});
    session.Results = RunResults{};
    session.Results.reason = reason;
    if (session.ProgressLineIndex > linesBefore) {
        session.Report.add(noResultsText(session.LanguageFlag, reason));
        addValidityWarnings(session);
    }
    return RunOutcome::Aborted;
}

}  // namespace

RunOutcome runCalculation(Session& session, Dialogs& dialogs, const RunSettings& settings) {
    const int linesBefore = static_cast<int>(session.Report.lineCount());
    const BeforeTheRun before(session);
    const DecimalSeparatorScope separator(session.DecimalSeparator);
    session.Validity.clear();
    try {
        return runSteps(session, dialogs, settings);
    } catch (const RunCancelled&) {
        before.restore(session);
        dialogs.message({"run.cancelled", MessageKind::Information,
                         tr(session.LanguageFlag, "Run cancelled", "Расчет отменен")});
        return RunOutcome::Cancelled;
    } catch (const ProgramExitRequested& e) {
        // The desktop closes (offering to save the report); the command line
        // ends the Run and keeps the report as it stands.
        session.Results = RunResults{};
        session.Results.reason = e.what();
        return RunOutcome::ExitRequested;
    } catch (const CalculationAborted& e) {
        return aborted(session, dialogs, linesBefore, e.what());
    } catch (const std::logic_error& e) {
        // A fault of the program: the Run ends as for a failed calculation,
        // and the person is told it is the program's.
        return aborted(session, dialogs, linesBefore, describeError(e, session.LanguageFlag));
    } catch (const std::bad_alloc& e) {
        return aborted(session, dialogs, linesBefore, describeError(e, session.LanguageFlag));
    }
}

}  // namespace vexamo
