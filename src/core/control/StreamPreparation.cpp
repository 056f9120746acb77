#include "control/StreamPreparation.h"

#include <cmath>

#include "common/Constants.h"
#include "common/Errors.h"
#include "common/NumberFormat.h"
#include "common/Str20.h"
#include "control/RunContexts.h"
#include "dialogs/GenericDialogs.h"
#include "equilibrium/EquilibriumCalculations.h"
#include "equilibrium/EquilibriumSetup.h"
#include "equilibrium/EquilibriumUnits.h"
#include "exchanger/CorrelationTables.h"

namespace vexamo {

namespace {

// A person can refuse the concentrations as often as they like; a front end
// that keeps giving the same refused answer must not hang the Run.
constexpr int kMaxConcentrationShowings = 1000;

bool isTemperatureGiven(std::uint8_t letter) { return letter == 't' || letter == 'T'; }
bool isPressureGiven(std::uint8_t letter) { return letter == 'p' || letter == 'P'; }

std::size_t at(int i) { return static_cast<std::size_t>(i); }

// The equilibrium set-up of a condensing or boiling mixture. A failure inside
// it ends the Run with the set-up's message and, on a line of its own, what
// went wrong; the person's choice to end the program and a question the front
// end cannot answer pass through.
void setUpEquilibrium(Session& session, Dialogs& dialogs, const TechnSet& record, int n) {
    const LanguageFlagType lang = session.LanguageFlag;
    SetFitReportMemo(session.FitState, session.Report);
    const std::string failure = tr(lang,
                                   "   At execution of the program there was an error!\r\nPlease "
                                   "reboot the application and repeat calculation.",
                                   "      При выполнении программы произошла ошибка!\r\nПожалуйста "
                                   "перезагрузите приложение и повторите расчет.");
    char method = 'W';
    try {
        RunEquilibriumSetup(equilibriumContext(session, dialogs), n,
                            std::span(record.ComponentIndex).first(at(n)), session.Equilibrium,
                            method);
        session.Equilibrium.Validity = &session.Validity;
    } catch (const InputError&) {
        // An answer the front end refused (a wrong-typed answers-file entry):
        // the front end's own input error, not a failure of the set-up.
        throw;
    } catch (const VexamoError& e) {
        throw CalculationAborted(failure + "\r\n" + e.what());
    } catch (const std::logic_error& e) {
        // A fault of the program, not of the data: told as such.
        throw CalculationAborted(describeError(e, lang));
    } catch (const std::bad_alloc& e) {
        throw CalculationAborted(describeError(e, lang));
    }
}

// Step 7a: the saturation temperature of a mixture at the given pressure and
// the equilibrium table in the report. `pressure` arrives in mm Hg and leaves
// in Pa.
void mixtureSaturation(Session& session, Dialogs& dialogs, const std::vector<Pro>& records,
                       const std::array<Real, 7>& concentration, std::uint8_t phaseLetter,
                       const std::string& space, Real& correction, Real& temperature,
                       Real& pressure) {
    const LanguageFlagType lang = session.LanguageFlag;
    const int n = static_cast<int>(records.size());
    correction = 1.0L;
    std::array<Real, 7> liquid{}, vapour{};
    Real S = 0;
    for (int i = 0; i < n; ++i) S += (concentration[at(i)] / 100) / records[at(i)].MolarMass;
    for (int i = 0; i < n; ++i) {
        const Real z = (concentration[at(i)] / 100) / records[at(i)].MolarMass / S;
        (phaseLetter == 'y' ? liquid : vapour)[at(i)] = z;
    }
    pressure *= kPaPerMmHg;
    const Real first = bubbleStartTau(pressure);
    const Real second = kBubbleSecondStartTau;

    const std::vector<std::string>& names = session.ComponentNames;
    std::string head = lang == kEnglish
                           ? "                     Equilibrium structures of phases in " + space +
                                 " (% of weights)" + "\r\n" + "     Pabs    t boil/cond  "
                           : "                            Равновесные составы фаз в " + space +
                                 " (% масс)" + "\r\n" + "     Pабс     t кип/конд  ";
    for (int i = 0; i < n; ++i) head += "     " + names[at(i)] + "      " + names[at(i)] + " ";
    head += std::string("\r\n") + tr(lang, " mm of hg. ", " мм рт.ст. ") +
            tr(lang, "   degr.C", "   град.C") + "       ";
    for (int i = 0; i < n; ++i)
        head += std::string("  ") + tr(lang, " in liquid   in vapour  ", "  в жидк.     в паре   ");
    session.Report.add(head);

    Real tau = 0;
    EquilibriumPoint(session.Data, 't', static_cast<char>(phaseLetter), tau, vapour,
                     session.EquilibriumWork, liquid, session.Equilibrium, pressure, first, second,
                     &dialogs);
    temperature = (tau - 1) * kZeroCelsius_K;
    session.EquilibriumLiquid = liquid;
    session.EquilibriumVapour = vapour;

    std::string line =
        formatFixed(pressure / kPaPerMmHg, 10, 4) + formatFixed(temperature, 10, 4) + "    ";
    Real liquidSum = 0, vapourSum = 0;
    for (int i = 0; i < n; ++i) {
        liquidSum += liquid[at(i)] * records[at(i)].MolarMass;
        vapourSum += vapour[at(i)] * records[at(i)].MolarMass;
    }
    for (int i = 0; i < n; ++i)
        line += formatFixed(liquid[at(i)] * records[at(i)].MolarMass * 100 / liquidSum, 12, 4) +
                formatFixed(vapour[at(i)] * records[at(i)].MolarMass * 100 / vapourSum, 12, 4);
    session.Report.add(line);
}

// Step 7b: the saturation temperature of a pure substance at the given
// pressure (mm Hg on entry, Pa on return) and, for condensing water, the air
// in the vapour.
void pureSaturation(Session& session, Dialogs& dialogs, const Pro& record, const std::string& name,
                    std::uint8_t phaseLetter, Real& correction, Real& temperature, Real& pressure) {
    const LanguageFlagType lang = session.LanguageFlag;
    const SubArr& table = session.Data.SubstanceTable;
    auto isRecord = [&](std::size_t index) {
        return index < table.size() &&
               (name == table[index].EnglishName || name == table[index].RussianName);
    };
    const Real p = pressure;
    if (isRecord(0) || isRecord(1)) {
        // The first point of the table at or above p and the one before it.
        const std::vector<Real>& values = record.PressureValues;
        const std::vector<Real>& temperatures = record.PressureTemperatures;
        std::size_t i = 0;
        while (i < values.size() && !(values[i] >= p)) ++i;
        if (values.empty() || temperatures.size() != values.size() || i == values.size() ||
            (i == 0 && values[0] != p))
            throw CalculationAborted(
                tr(lang, "The pressure ", "Давление ") + formatShortest(p) +
                tr(lang, " mm Hg is outside the vapour-pressure table of ",
                   " мм рт.ст. вне таблицы давления насыщенного пара ") +
                name +
                (values.empty()
                     ? std::string()
                     : " (" + formatShortest(values.front()) + tr(lang, " to ", " … ") +
                           formatShortest(values.back()) + tr(lang, " mm Hg)", " мм рт.ст.)")));
        if (i == 0) {
            temperature = temperatures[0];
        } else {
            const Real w = (p - values[i - 1]) / (values[i] - values[i - 1]);
            temperature = temperatures[i - 1] + w * (temperatures[i] - temperatures[i - 1]);
        }
    } else {
        const Real T = record.AntoineB / (record.AntoineA - std::log(p)) - record.AntoineC;
        if (!std::isfinite(T) || !(T > 0))
            throw CalculationAborted(
                tr(lang, "The Antoine equation of ", "Уравнение Антуана для ") + name +
                tr(lang, " gives no temperature at ", " не дает температуры при ") +
                formatShortest(p) + tr(lang, " mm Hg", " мм рт.ст."));
        temperature = T - kZeroCelsius_K;
        checkAntoineTemperature(session.Data, session.Data.findSubstance(name), temperature, lang,
                                &session.Validity);
    }
    pressure *= kPaPerMmHg;

    if (isRecord(1) && phaseLetter == 'x') {
        InputRequest request;
        request.id = "stream.air_content";
        request.caption = tr(lang, "Input of the initial data", "Ввод исходных данных");
        request.prompt = tr(lang, "Enter contents of air in water^s vapour (% of weights)",
                            " Введите содеpжание воздуха в паpах воды (% масс.)");
        request.unit = tr(lang, " % of weights", " % массовые");
        request.errorPrefix = numberEntryPrefix(lang);
        request.kind = InputKind::Real;
        request.defaultAnswer = "0";
        const InputAnswer answer = dialogs.ask(request);
        if (answer.cancelled || answer.isDefault)
            throw CalculationAborted(
                tr(lang, "The air content of the water vapour is not a number: ",
                   "Содержание воздуха в паре воды не является числом: ") +
                (answer.cancelled ? tr(lang, "the input was cancelled", "ввод отменен")
                                  : answer.text));
        correction = CondensateFactor(answer.real);
    } else {
        correction = 1.0L;
    }
}

}  // namespace

std::string spaceText(char streamDigit, std::uint8_t phaseLetter, LanguageFlagType lang) {
    std::string text = streamDigit == '1'
                           ? tr(lang, "trumpet space", "трубном пространстве")
                           : tr(lang, "intertrumpet space", "межтрубном пространстве");
    if (phaseLetter == 'y')
        text += tr(lang, " during boiling of a liquid", " при кипении жидкости");
    if (phaseLetter == 'x')
        text += tr(lang, " during condensation of a vapour", " при конденсации пара");
    return text;
}

namespace {

// Step 0: a record whose component count or substance numbers the substance
// table cannot serve ends the Run, naming the space.
void checkComponents(const TechnSet& record, const SubArr& table, const std::string& where,
                     LanguageFlagType lang) {
    const int n = record.ComponentCount;
    if (n < 1 || n > kMaxComponents)
        throw CalculationAborted(
            where + tr(lang, ": the medium has ", ": теплоноситель имеет ") + std::to_string(n) +
            tr(lang, " components (1 to 6 are possible)", " компонентов (возможно от 1 до 6)"));
    for (int i = 0; i < n; ++i)
        if (record.ComponentIndex[static_cast<std::size_t>(i)] >= table.size())
            throw CalculationAborted(
                where + tr(lang, ": component ", ": компонент ") + std::to_string(i + 1) +
                tr(lang, " refers to substance number ", " ссылается на вещество номер ") +
                std::to_string(record.ComponentIndex[static_cast<std::size_t>(i)] + 1) +
                tr(lang, ", which the substance table does not hold",
                   ", которого нет в таблице веществ"));
}

// Step 1: component names, from the stored slots when the components came
// from a problem file untouched, else from the dialog's list.
void setComponentNames(Session& session, const TechnSet& record, bool fromFile) {
    const LanguageFlagType lang = session.LanguageFlag;
    const SubArr& table = session.Data.SubstanceTable;
    session.ComponentNames.clear();
    for (int i = 0; i < record.ComponentCount; ++i) {
        const auto slot = static_cast<std::size_t>(i);
        std::string name;
        if (fromFile) {
            const Pro& stored = record.Components[slot];
            name = lang == kEnglish ? stored.EnglishName : stored.RussianName;
            bool present = false;
            for (const Pro& p : table)
                present = present || (p.EnglishName == stored.EnglishName &&
                                      p.RussianName == stored.RussianName);
            if (!present)
                throw CalculationAborted(
                    tr(lang, "the properties of mixture component ", "свойства компонента смеси ") +
                    name + tr(lang, " are absent in the database", " отсутствуют в базе данных"));
        } else {
            const Pro& p = table[record.ComponentIndex[slot]];
            name = lang == kEnglish ? p.EnglishName : p.RussianName;
        }
        session.ComponentNames.push_back(cutCharacters(name, 20));
    }
}

// Step 6 for a mixture: the concentration table, its last component the rest
// to 100 %, shown again while the sum is over 100 %.
std::array<Real, 7> askConcentrations(LanguageFlagType lang, Dialogs& dialogs,
                                      const std::vector<Pro>& records, const TechnSet& record,
                                      bool fromFile, bool pressureGiven, const std::string& space,
                                      Real enteredValue) {
    const int n = record.ComponentCount;
    GridRequest grid;
    grid.id = "stream.concentrations";
    grid.caption =
        tr(lang, "Data entry for calculation of equilibrium", "Ввод данных для расчета равновесия");
    grid.label = lang == kEnglish
                     ? "Enter concentrations of components of the heat-transfer medium in\r\n" +
                           space + " (% of mass) for calculation of thermophysical properties"
                     : "Введите концентрации компонентов теплоносителя в \r\n" + space +
                           " (% масс.) для расчета теплофизических свойств.";
    grid.columns = n;
    grid.rows = 3;
    grid.fixedRows = 2;
    grid.fixedColumns = 1;
    grid.baseHeight = 219;
    grid.selectedColumn = 1;
    grid.integerColumns.assign(static_cast<std::size_t>(n), false);
    grid.nonNegative = true;
    grid.cells.assign(static_cast<std::size_t>(n), std::vector<std::string>(3));
    grid.cells[0][0] = pressureGiven ? tr(lang, "     Pabs ", "     Pабс ")
                                     : tr(lang, " t boil/cond", "  Темпер.  ");
    grid.cells[0][1] =
        pressureGiven ? tr(lang, " mm of hg. ", " мм рт.ст. ") : tr(lang, "   degr.C", "   град.С");
    grid.cells[0][2] = formatShortest(enteredValue);
    std::vector<std::string> defaults;
    for (int j = 1; j < n; ++j) {
        auto& column = grid.cells[static_cast<std::size_t>(j)];
        const Pro& p = records[static_cast<std::size_t>(j - 1)];
        column[0] = "  " + cutCharacters(lang == kEnglish ? p.EnglishName : p.RussianName, 22);
        column[1] = tr(lang, "   % mass.", "   % масс.");
        const Real stored = record.Concentration[static_cast<std::size_t>(j - 1)];
        if (fromFile) column[2] = formatFixed(stored, 6, 2);
        defaults.push_back(formatShortest(stored));
    }
    grid.defaultAnswer = defaults;
    std::array<Real, 7> concentration{};
    for (int showing = 1;; ++showing) {
        if (showing > kMaxConcentrationShowings)
            throw CalculationAborted(tr(lang, "The concentrations were refused too many times.",
                                        "Концентрации отвергнуты слишком много раз."));
        const GridAnswer answer = dialogs.ask(grid);
        if (answer.cancelled) throw RunCancelled("concentrations");
        for (int j = 1; j < n; ++j) {
            const Real value = answer.reals.at(static_cast<std::size_t>(j)).at(2);
            concentration[static_cast<std::size_t>(j - 1)] = value;
            grid.cells[static_cast<std::size_t>(j)][2] =
                formatShortest(value);  // shown again as they were
        }
        concentration[static_cast<std::size_t>(n - 1)] = lastConcentration(concentration, n);
        if (concentration[static_cast<std::size_t>(n - 1)] >= 0) return concentration;
        dialogs.message({"stream.concentrations_sum", MessageKind::Error,
                         tr(lang, "The sum of concentration of components is more than 100%",
                            "Сумма концентраций компонентов больше 100%")});
    }
}

}  // namespace

void PrepareStream(Session& session, Dialogs& dialogs, std::uint8_t givenState, char streamDigit,
                   std::uint8_t phaseLetter, TechnSet& record, Real& correction, Real& temperature,
                   Real enteredValue) {
    const LanguageFlagType lang = session.LanguageFlag;
    const SubArr& table = session.Data.SubstanceTable;
    const int n = record.ComponentCount;
    const std::string where = streamDigit == '1'
                                  ? tr(lang, "tube space", "трубное пространство")
                                  : tr(lang, "shell space", "межтрубное пространство");
    checkComponents(record, table, where, lang);

    // 1. Component names.
    const bool fromFile = session.DataLoaded == 1 && record.SelectionChanged == 0;
    setComponentNames(session, record, fromFile);

    // 2. Copies of the substance records.
    std::vector<Pro> records;
    for (int i = 0; i < n; ++i)
        records.push_back(table[record.ComponentIndex[static_cast<std::size_t>(i)]]);

    // 3. The equilibrium model of a condensing or boiling mixture.
    if (isPressureGiven(givenState) && n > 1) {
        if (phaseLetter != 'x' && phaseLetter != 'y')
            throw CalculationAborted(
                where + tr(lang, ": a mixture at a given pressure must condense or boil",
                           ": смесь при заданном давлении должна конденсироваться или кипеть"));
        setUpEquilibrium(session, dialogs, record, n);
    }

    // 4-5. The wording and the given state.
    const std::string space = spaceText(streamDigit, phaseLetter, lang);
    Real pressure = 0;
    if (isPressureGiven(givenState)) pressure = enteredValue;
    if (isTemperatureGiven(givenState)) temperature = enteredValue;

    // 6. Concentrations.
    std::array<Real, 7> concentration{};
    if (n == 1)
        concentration[0] = 100;
    else
        concentration = askConcentrations(lang, dialogs, records, record, fromFile,
                                          isPressureGiven(givenState), space, enteredValue);

    // 7. The saturation state at the given pressure.
    if (isPressureGiven(givenState)) {
        if (n >= 2)
            mixtureSaturation(session, dialogs, records, concentration, phaseLetter, space,
                              correction, temperature, pressure);
        else
            pureSaturation(session, dialogs, records[0], session.ComponentNames[0], phaseLetter,
                           correction, temperature, pressure);
    }

    // 8. Into the record.
    record.GivenState = givenState;
    record.PhaseChange = phaseLetter;
    record.Temperature = temperature;
    record.Pressure = pressure;
    record.AirFactor = correction;
    record.Concentration = concentration;
    for (int i = 0; i < n; ++i)
        record.Components[static_cast<std::size_t>(i)] = records[static_cast<std::size_t>(i)];
}

StreamPreparer streamPreparer(Session& session, Dialogs& dialogs) {
    return [&session, &dialogs](std::uint8_t givenState, char streamDigit, std::uint8_t phaseLetter,
                                TechnSet& record, Real& correction, Real& temperature,
                                Real enteredValue) {
        PrepareStream(session, dialogs, givenState, streamDigit, phaseLetter, record, correction,
                      temperature, enteredValue);
    };
}

}  // namespace vexamo
