#include "control/StreamPreparation.h"

#include "common/Errors.h"
#include "common/NumberFormat.h"
#include "common/Str20.h"

namespace vexamo {

namespace {

// A person can refuse the concentrations as often as they like; a front end
// that keeps giving the same refused answer must not hang the Run.
constexpr int kMaxConcentrationShowings = 1000;

bool isTemperatureGiven(std::uint8_t letter) { return letter == 't' || letter == 'T'; }
bool isPressureGiven(std::uint8_t letter) { return letter == 'p' || letter == 'P'; }

}  // namespace

std::string spaceText(char streamDigit, std::uint8_t phaseLetter, LanguageFlagType lang) {
    std::string text = streamDigit == '1' ? tr(lang, "trumpet space", "трубном пространстве")
                                          : tr(lang, "intertrumpet space", "межтрубном пространстве");
    if (phaseLetter == 'y') text += tr(lang, " during boiling of a liquid", " при кипении жидкости");
    if (phaseLetter == 'x') text += tr(lang, " during condensation of a vapour", " при конденсации пара");
    return text;
}

void PrepareStream(Session& session, Dialogs& dialogs, std::uint8_t givenState, char streamDigit,
                   std::uint8_t phaseLetter, TechnSet& record, Real& correction, Real& temperature,
                   Real enteredValue) {
    const LanguageFlagType lang = session.LanguageFlag;
    const SubArr& table = session.Data.SubstanceTable;
    const int n = record.ComponentCount;
    const std::string where = streamDigit == '1' ? tr(lang, "tube space", "трубное пространство")
                                                 : tr(lang, "shell space", "межтрубное пространство");
    if (n < 1 || n > kMaxComponents)
        throw CalculationAborted(where + tr(lang, ": the medium has ", ": теплоноситель имеет ") +
                                 std::to_string(n) +
                                 tr(lang, " components (1 to 6 are possible)", " компонентов (возможно от 1 до 6)"));
    for (int i = 0; i < n; ++i)
        if (record.ComponentIndex[static_cast<std::size_t>(i)] >= table.size())
            throw CalculationAborted(
                where + tr(lang, ": component ", ": компонент ") + std::to_string(i + 1) +
                tr(lang, " refers to substance number ", " ссылается на вещество номер ") +
                std::to_string(record.ComponentIndex[static_cast<std::size_t>(i)] + 1) +
                tr(lang, ", which the substance table does not hold", ", которого нет в таблице веществ"));

    // 1. Component names: from the stored slots when the components came from a
    // problem file untouched, else from the dialog's list.
    const bool fromFile = session.DataLoaded == 1 && record.SelectionChanged == 0;
    session.ComponentNames.clear();
    for (int i = 0; i < n; ++i) {
        const auto slot = static_cast<std::size_t>(i);
        std::string name;
        if (fromFile) {
            const Pro& stored = record.Components[slot];
            name = lang == kEnglish ? stored.EnglishName : stored.RussianName;
            bool present = false;
            for (const Pro& p : table)
                present = present || (p.EnglishName == stored.EnglishName && p.RussianName == stored.RussianName);
            if (!present)
                throw CalculationAborted(tr(lang, "the properties of mixture component ", "свойства компонента смеси ") +
                                         name +
                                         tr(lang, " are absent in the database", " отсутствуют в базе данных"));
        } else {
            const Pro& p = table[record.ComponentIndex[slot]];
            name = lang == kEnglish ? p.EnglishName : p.RussianName;
        }
        session.ComponentNames.push_back(cutCharacters(name, 20));
    }

    // 2. Copies of the substance records.
    std::vector<Pro> records;
    for (int i = 0; i < n; ++i) records.push_back(table[record.ComponentIndex[static_cast<std::size_t>(i)]]);

    if (isPressureGiven(givenState))
        throw CalculationAborted(tr(lang, "The preparation of condensing and boiling media is not built yet.",
                                    "Подготовка конденсирующихся и кипящих теплоносителей еще не реализована."));

    // 4-5. The wording and the given state.
    const std::string space = spaceText(streamDigit, phaseLetter, lang);
    if (isTemperatureGiven(givenState)) temperature = enteredValue;

    // 6. Concentrations.
    std::array<Real, 7> concentration{};
    if (n == 1) {
        concentration[0] = 100;
    } else {
        GridRequest grid;
        grid.id = "stream.concentrations";
        grid.caption = tr(lang, "Data entry for calculation of equilibrium", "Ввод данных для расчета равновесия");
        grid.label = lang == kEnglish ? "Enter concentrations of components of the heat-transfer medium in\r\n" +
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
        grid.cells.assign(static_cast<std::size_t>(n), std::vector<std::string>(3));
        const bool pressure = isPressureGiven(givenState);
        grid.cells[0][0] = pressure ? tr(lang, "     Pabs ", "     Pабс ") : tr(lang, " t boil/cond", "  Темпер.  ");
        grid.cells[0][1] = pressure ? tr(lang, " mm of hg. ", " мм рт.ст. ") : tr(lang, "   degr.C", "   град.С");
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
        for (int showing = 1;; ++showing) {
            if (showing > kMaxConcentrationShowings)
                throw CalculationAborted(tr(lang, "The concentrations were refused too many times.",
                                            "Концентрации отвергнуты слишком много раз."));
            const GridAnswer answer = dialogs.ask(grid);
            if (!answer.cancelled)
                for (int j = 1; j < n; ++j) {
                    const Real value = answer.reals.at(static_cast<std::size_t>(j)).at(2);
                    concentration[static_cast<std::size_t>(j - 1)] = value;
                    grid.cells[static_cast<std::size_t>(j)][2] = formatShortest(value);  // shown again as they were
                }
            concentration[static_cast<std::size_t>(n - 1)] = lastConcentration(concentration, n);
            if (concentration[static_cast<std::size_t>(n - 1)] >= 0) break;
            dialogs.message({"stream.concentrations_sum", MessageKind::Error,
                             tr(lang, "The sum of concentration of components is more than 100%",
                                "Сумма концентраций компонентов больше 100%")});
        }
    }

    // 8. Into the record.
    record.GivenState = givenState;
    record.PhaseChange = phaseLetter;
    record.Temperature = temperature;
    record.Pressure = 0;
    record.AirFactor = correction;
    record.Concentration = concentration;
    for (int i = 0; i < n; ++i) record.Components[static_cast<std::size_t>(i)] = records[static_cast<std::size_t>(i)];
}

StreamPreparer streamPreparer(Session& session, Dialogs& dialogs) {
    return [&session, &dialogs](std::uint8_t givenState, char streamDigit, std::uint8_t phaseLetter,
                                TechnSet& record, Real& correction, Real& temperature, Real enteredValue) {
        PrepareStream(session, dialogs, givenState, streamDigit, phaseLetter, record, correction, temperature,
                      enteredValue);
    };
}

}  // namespace vexamo
