#include "equilibrium/EquilibriumSetup.h"

#include <algorithm>
#include <cmath>
#include <optional>
#include <string>

#include "common/Constants.h"
#include "common/Errors.h"
#include "common/NumberFormat.h"
#include "common/Str20.h"
#include "equilibrium/ActivityModels.h"
#include "equilibrium/EquilibriumCalculations.h"
#include "equilibrium/EquilibriumUnits.h"
#include "equilibrium/Minimizer.h"
#include "equilibrium/ParameterFitting.h"
#include "equilibrium/Tarnix1.h"
#include "equilibrium/UnifacTables.h"
#include "properties/PropertyFunctions.h"

namespace vexamo {

namespace {

constexpr int kMaxEntryColumns = 25;
constexpr int kMethodCount = 4;
constexpr char kMethodLetters[kMethodCount] = {'W', 'N', 'Q', 'F'};

std::size_t at(int i) { return static_cast<std::size_t>(i); }

std::string F(Real value) { return formatGeneral(value, 6, 4); }

// One showing of the parameter table of a pair: labels, units, empty cells.
GridRequest parameterGrid(const std::string& caption, const std::string& label,
                          const std::vector<std::string>& labels,
                          const std::vector<std::string>& units) {
    GridRequest grid;
    grid.id = "equilibrium.parameters";
    grid.caption = caption;
    grid.label = label;
    grid.columns = static_cast<int>(labels.size());
    grid.rows = 3;
    grid.fixedColumns = 0;
    grid.fixedRows = 2;
    grid.baseHeight = 219;
    grid.selectedColumn = 0;
    grid.integerColumns.assign(labels.size(), false);
    for (std::size_t c = 0; c < labels.size(); ++c) grid.cells.push_back({labels[c], units[c], ""});
    return grid;
}

// Row 2 of column c, whether the table was confirmed or cancelled (zero
// when nothing was read).
Real cellValue(const GridAnswer& answer, std::size_t column) {
    if (column < answer.reals.size() && answer.reals[column].size() > 2)
        return answer.reals[column][2];
    return 0;
}

// A group of a pair's group list as the drift note names it: its main group,
// with its subgroup letter where groups are told apart (variant 2).
std::string groupName(const GroupList& g, int k, bool mainGroups) {
    const char letter = g.SubgroupLetter[at(k)];
    return std::to_string(g.MainGroup[at(k)]) +
           (mainGroups || letter == ' ' ? std::string() : std::string(1, letter));
}

// The questions and memo texts of the set-up in both languages, so that the
// steps below read as the set-up's algorithm.
namespace setupTexts {

std::string calculationTitle(LanguageFlagType lang) {
    return std::string(tr(
               lang, " Calculation of power parameters of intermolecular (intergroup)interaction.",
               "Расчет энергетических параметров межмолекулярного (межгруппового) "
               "взаимодействия")) +
           "\r\n";
}

// Step 2 of a UNIFAC set-up: with or without the interactions of subgroups.
AlternRequest unifacVariantQuestion(LanguageFlagType lang) {
    AlternRequest variant;
    variant.id = "equilibrium.unifac_variant";
    variant.caption = tr(lang, "The definition of the parameter", "Задание параметра");
    variant.question =
        tr(lang,
           "Select variant of calculation by UNIFAC method:\r\n1 - without taking into account "
           "interactions\r\n"
           "    between subgroups (on G.M.Valdeen);\r\n2 - in view of interactions between "
           "subgroups.",
           "Выберите вариант расчета по методу UNIFAC:\r\n1 - без учета взаимодействий между "
           "подгруппами\r\n"
           "    (по Дж. Вальдину);\r\n2 - с учетом взаимодействий между подгруппами.");
    variant.alternatives = {tr(lang, " variant 1;", " вариант 1;"),
                            tr(lang, " variant 2", " вариант 2")};
    variant.defaultIndex = 0;
    return variant;
}

// Step 4 of a UNIFAC variant 1 set-up: group parameters fitted to the
// measured data (alternative 0) or taken from the references.
AlternRequest unifacSourceQuestion(LanguageFlagType lang) {
    AlternRequest source;
    source.id = "equilibrium.unifac_source";
    source.caption = tr(lang, "The definition of the parameter", "Задание параметра");
    source.question = tr(lang,
                         "Wish to calculate coefficients of group\r\ninteraction on "
                         "experimental datas, available\r\n"
                         "in the database (variant 1), or to take advantage\r\nof their values "
                         "taken from the help "
                         "literature (variant 2)?",
                         "Желаете рассчитать коэффициенты группового\r\nвзаимодействия по "
                         "экспериментальным данным,\r\n"
                         "имеющимся в базе (вариант 1), или воспользоваться\r\nих значениями, "
                         "взятыми из справочной "
                         "литературы (вариант 2)?");
    source.alternatives = {tr(lang, " variant 1 (is recommended)", " вариант 1 (рекомендуется)"),
                           tr(lang, " variant 2", " вариант 2")};
    source.defaultIndex = 0;
    return source;
}

// The memo's heading of a pair, named in the order it is fitted.
std::string pairHeader(LanguageFlagType lang, const std::string& first, const std::string& second,
                       const std::string& method) {
    return lang == kEnglish ? "Power parameters of binary interaction of molecules (structural "
                              "groups)\r\ncomponent " +
                                  first + "-" + second + " of model " + method
                            : "Энергетические параметры бинарных взаимодействий молекул "
                              "(структурных групп)\r\nкомпонентов " +
                                  first + "-" + second + " модели " + method;
}

const char* rmsErrorHeader(LanguageFlagType lang) {
    return tr(lang, " and root-mean-square error of calculation.",
              " и среднеквадратичная погрешность расчетов.");
}

const char* fitWaitLabel(LanguageFlagType lang) {
    return tr(lang,
              "please wait ! There is a calculation of power\n\rparameters of intermolecular "
              "(intergroup) interaction",
              "пожалуйста подождите ! Идет расчет энергетических\n\rпараметров "
              "межмолекулярного (межгруппового) взаимодействия");
}

std::string enteredByUser(LanguageFlagType lang) {
    return std::string(".") + "\r\n" +
           tr(lang, "Power parameters are set by the user",
              "Энергетические параметры заданы пользователем");
}

// The person ended the program at pair first-second, which has no data.
std::string endedForAbsentData(LanguageFlagType lang, const std::string& first,
                               const std::string& second) {
    return tr(lang,
              "The work of the program is ended at the user's "
              "choice (no equilibrium data for ",
              "Работа программы завершена по выбору пользователя "
              "(нет данных о равновесии для ") +
           first + "-" + second + ").";
}

const char* refittedBy(LanguageFlagType lang) { return tr(lang, " by ", " парой "); }

const char* sharedGroupTable(LanguageFlagType lang) {
    return tr(lang,
              "\r\n   The pairs share one table of group parameters: a later pair's fit overwrites "
              "what an earlier one fitted.",
              "\r\n   Пары используют одну таблицу параметров групп: подбор более поздней пары "
              "переписывает подобранное ранее.");
}

// One fitted pair's line of the drift note: the group parameters that later
// pairs refitted, and the equimolar bubble point (degC) by the pair's own
// model and by the mixture's at the pair's data pressure (Pa).
std::string driftLine(LanguageFlagType lang, const std::string& pair,
                      const std::vector<std::string>& moved, Real pressure,
                      const std::optional<Real>& tOwn, const std::optional<Real>& tMixture) {
    auto degrees = [&](const std::optional<Real>& t) {
        return t ? formatFixed(*t, 0, 2) : std::string(tr(lang, "none", "нет"));
    };
    std::string line = tr(lang, "   pair ", "   пара ") + pair + ": ";
    if (moved.empty()) {
        line += tr(lang, "its parameters stand in the mixture model",
                   "ее параметры сохранены в модели смеси");
    } else {
        line += tr(lang, "refitted ", "переподобраны ");
        for (std::size_t q = 0; q < moved.size(); ++q) line += (q ? "; " : "") + moved[q];
    }
    line +=
        tr(lang, "; equimolar bubble point at ", "; температура кипения эквимолярной смеси при ") +
        formatFixed(pressure / kPaPerMmHg, 0, 1) +
        tr(lang, " mm Hg: own model ", " мм рт.ст.: своя модель ") + degrees(tOwn) +
        tr(lang, ", mixture model ", ", модель смеси ") + degrees(tMixture) +
        tr(lang, " degr.C", " град.С");
    if (tOwn && tMixture)
        line += " (" + std::string(*tMixture >= *tOwn ? "+" : "") +
                formatFixed(*tMixture - *tOwn, 0, 2) + " K)";
    return line;
}

}  // namespace setupTexts
class Setup {
public:
    Setup(const EquilibriumContext& context, int n, std::span<const std::uint16_t> substances,
          EquilibriumModel& model, char& method)
        : m_context(context),
          m_dialogs(context.dialogs),
          m_data(context.data),
          m_lang(context.language),
          m_n(n),
          m_substances(substances.begin(), substances.begin() + n),
          m_model(model),
          m_method(method),
          m_fit(context.fitProgress, {}, context.language) {}

    void run();

private:
    // The shared UNIFAC tables as each pair left them.
    struct FittedPair {
        int i = 0, j = 0;
        bool fitted = false;  // to measured data (else entered or from the references)
        Real pressure = 0;    // Pa, of its measured data
        UnifacTables tables;
    };
    // A pair in the order its data were measured in, and whether there are any.
    struct MeasuredOrder {
        int a = 0, b = 0;
        bool dataPresent = false;
    };

    ReportMemo& memo();
    void chooseMethod();
    // Steps 2 to 7 with the current method; false when the person switched
    // to UNIFAC and the set-up starts again.
    bool setUp();
    void chooseUnifacVariant();
    void prepareComponents(char letter);
    // One pair: false when the set-up starts again with UNIFAC.
    bool pair(int i, int j);
    MeasuredOrder measuredOrder(int i, int j);
    void loadPairData(int a, int b);
    std::string pairParameters(int i, int j, const MeasuredOrder& order, char choice);
    char askDataAbsent(int i, int j);
    std::string fitPair(int i, int j);
    std::string enterPair(int i, int j);
    std::string unifacPair(int i, int j, bool dataPresent, char choice);
    void fitUnifacPair(int i, int j, int parameterCount, PairSetup& record);
    void enterUnifacPair(int i, int j, int parameterCount);
    void referenceUnifacPair();
    void completeUnifac();
    // Mixtures of three or more: which fitted pair's group parameters a later
    // pair refitted, and how far each fitted pair's equimolar bubble point
    // moved from its own binary model to the mixture's.
    void reportUnifacDrift();
    std::vector<std::string> refittedParameters(std::size_t k) const;
    std::optional<Real> equimolarBubblePoint(const UnifacTables& tables, const FittedPair& p) const;
    std::string pairName(const FittedPair& p) const;
    EquilibriumModel binaryModel(const UnifacTables& tables, int i, int j) const;
    void minimize(FitVector& X, Real eps, int lastIndex, const Objective& objective,
                  PairSetup& record);
    void record(PairSetup record) { m_context.pairs.push_back(std::move(record)); }

    const EquilibriumContext& m_context;
    Dialogs& m_dialogs;
    const SubstanceData& m_data;
    LanguageFlagType m_lang;
    int m_n;
    std::vector<std::uint16_t> m_substances;
    EquilibriumModel& m_model;
    char& m_method;
    FitContext m_fit;
    std::vector<std::string> m_names;
    std::array<GroupBlock, kMaxMixtureComponents> m_blocks{};  // all components' group blocks
    std::vector<FittedPair> m_fittedPairs;
};

ReportMemo& Setup::memo() {
    if (!m_context.fitProgress.Memo) SetFitReportMemo(m_context.fitProgress, m_context.report);
    return *m_context.fitProgress.Memo;
}

void Setup::run() {
    if (m_n < 2 || m_n > kMaxMixtureComponents)
        throw CalculationAborted(
            tr(m_lang, "The equilibrium of a mixture needs 2 to 6 components, not ",
               "Для расчета равновесия смесь должна иметь от 2 до 6 компонентов, а не ") +
            std::to_string(m_n));
    for (std::uint16_t s : m_substances)
        if (s >= m_data.SubstanceTable.size())
            throw CalculationAborted(tr(m_lang, "No substance number ", "Нет вещества номер ") +
                                     std::to_string(s + 1) +
                                     tr(m_lang, " in the substance table", " в таблице веществ"));
    m_context.pairs.clear();
    chooseMethod();
    // Switching to UNIFAC at a pair without data starts again once: UNIFAC
    // itself does not offer the switch.
    while (!setUp()) {
    }
}

void Setup::chooseMethod() {
    MethodRequest request;
    request.id = "equilibrium.method";
    request.caption = tr(m_lang, "Choose of phase equilibrium calculation method",
                         "Выбор метода расчета фазового равновесия");
    request.label = tr(m_lang,
                       "Choice of experimental data processing and\r\nphase equilibrium "
                       "calculation method between\r\n"
                       "vapour and liquid phases",
                       "Выберите метод обработки экспериментальных\r\nданных и расчета фазового "
                       "равновесия между\r\n"
                       "паровой и жидкой фазами");
    request.warning = tr(m_lang, "Choose one of equilibrium calculation methods.",
                         "Выберите один из методов расчета равновесия.");
    request.initialTag = 0;
    request.defaultIndex = 0;
    const MethodAnswer answer = m_dialogs.ask(request);
    if (answer.exit) throw RunCancelled("equilibrium method");
    const int tag = answer.index;
    if (tag < 0 || tag >= kMethodCount)
        throw CalculationAborted("equilibrium method " + std::to_string(tag) + " outside 0..3");
    m_method = kMethodLetters[tag];
    m_model = EquilibriumModel{};
    m_model.MethodLetter = m_method;
    std::copy(m_substances.begin(), m_substances.end(), m_model.Substances.begin());
    m_model.ComponentCount = static_cast<std::uint8_t>(m_n);
    m_model.Language = m_lang;
}

// Step 2: UNIFAC's working tables and variant.
void Setup::chooseUnifacVariant() {
    const char chosen =
        m_dialogs.ask(setupTexts::unifacVariantQuestion(m_lang)).index == 0 ? '1' : '2';
    m_fit.Tables.reset(m_data.GroupInteractionTable, chosen);
    m_model.UnifacVariant = chosen;
}

// Step 3: common preparation: the fit's arrays, the memo's heading, each
// component's name and, for UNIQUAC and UNIFAC, its group sums.
void Setup::prepareComponents(char letter) {
    m_fit.allocate(m_n);
    memo().add(setupTexts::calculationTitle(m_lang));
    m_names.clear();
    for (int c = 0; c < m_n; ++c) {
        const Pro& record = m_data.SubstanceTable[m_substances[at(c)]];
        m_names.push_back(
            cutCharacters(m_lang == kEnglish ? record.EnglishName : record.RussianName, 20));
        SubstanceConstants constants;
        GetSubstanceProperty(m_data, m_names.back(), "all", 0, &constants);
        if (letter == 'Q' || letter == 'F')
            ComponentGroupSums(constants.Groups, m_fit.UniquacR[at(c)], m_fit.UniquacQ[at(c)]);
        if (letter == 'F') m_blocks[at(c)] = constants.Groups;
    }
    m_context.componentNames = m_names;
    m_fit.ComponentNames = m_names;
    m_model.ComponentNames = m_names;
    m_model.UniquacQ = m_fit.UniquacQ;
    m_model.UniquacR = m_fit.UniquacR;
}

bool Setup::setUp() {
    m_fittedPairs.clear();
    const char letter = m_model.MethodLetter;
    m_context.pairs.clear();  // a restart with UNIFAC sets every pair up again
    if (letter == 'F') chooseUnifacVariant();
    prepareComponents(letter);

    // Step 4: UNIFAC variant 1 may take the reference values for every pair.
    bool pairs = true;
    if (letter == 'F' && m_fit.Tables.Variant == '1')
        pairs = m_dialogs.ask(setupTexts::unifacSourceQuestion(m_lang)).index == 0;

    // Step 5: the pairs, first member always the lower index.
    if (pairs)
        for (int i = 0; i < m_n; ++i)
            for (int j = i; j < m_n; ++j)
                if (!pair(i, j)) return false;

    if (letter == 'F') completeUnifac();
    return true;
}

char Setup::askDataAbsent(int i, int j) {
    const bool unifac = m_model.MethodLetter == 'F';
    const std::string method = methodName(m_model.MethodLetter);
    AlternRequest request;
    request.id = "equilibrium.data_absent";
    request.caption = tr(m_lang, "Choice of variant", "Выбор варианта");
    if (m_lang == kEnglish)
        request.question =
            "Experimental data on equilibrium in the system " + m_names[at(i)] + "-" +
            m_names[at(j)] + " are absent." + "\r\n" +
            "  Select one of the following variants:" + "\r\n" +
            "     1 -  set energy parameters of model " + method + " independently;" + "\r\n" +
            "     2 - to complete activity of the program" + "\r\n" +
            (unifac ? "     3 - to take advantage of G.M. Valdeen data from\r\n"
                      "        reference literature (is recommended)"
                    : "     3 - to repeat calculation with usage of UNIFAC method\r\n"
                      "          (is recommended)");
    else
        request.question = "  Экспериментальные данные по равновесию в системе " + m_names[at(i)] +
                           "-" + m_names[at(j)] + " отсутствуют." + "\r\n" +
                           "  Выберите один из следующих вариантов:" + "\r\n" +
                           "     1 - задать энергетические параметры модели " + method +
                           " самостоятельно;" + "\r\n" + "     2 - завершить работу программы" +
                           "\r\n" +
                           (unifac ? "     3 - воспользоваться данными Дж. Вальдина из\r\n"
                                     "        справочной литературы (рекомендуется)"
                                   : "     3 - повторить расчет с использованием метода UNIFAC\r\n"
                                     "          (рекомендуется)");
    request.alternatives = {tr(m_lang, " variant 1", " вариант 1"),
                            tr(m_lang, " variant 2", " вариант 2"),
                            tr(m_lang, " variant 3", " вариант 3")};
    request.groupColumns = 2;
    request.defaultIndex = 2;
    const int tag = m_dialogs.ask(request).index;
    return tag == 0 ? '1' : tag == 1 ? '2' : '3';
}

// The objective compares the first substance's vapour fraction only, so a
// pair is fitted in the order its data were measured in; the parameters of
// the ordered pair (a, b) land at [a][b] and [b][a] and serve the mixture's
// order as they stand. The report names the pair as fitted.
Setup::MeasuredOrder Setup::measuredOrder(int i, int j) {
    std::uint8_t DataAbsentFlag = 0;
    Tarnrun(m_data, m_substances[at(i)], m_substances[at(j)], DataAbsentFlag);
    MeasuredOrder order{i, j, false};
    if (MeasuredReversed(m_data, m_substances[at(i)], m_substances[at(j)])) {
        std::swap(order.a, order.b);
        DataAbsentFlag = 0;
    }
    order.dataPresent = DataAbsentFlag != 1;
    return order;
}

// The measured data of the ordered pair (a, b) and the molar volumes and
// vapour pressure the objectives take at each measured temperature.
void Setup::loadPairData(int a, int b) {
    const std::size_t sa = at(a), sb = at(b);
    LoadBinaryDataSet(m_fit, m_data, m_substances[sa], m_substances[sb]);
    m_fit.First = a;
    m_fit.Second = b;
    const FitPoints& p = m_fit.Points;
    for (std::size_t k = 0; k < p.n; ++k) {
        const Real t = (p.theta[k] - 1) * kZeroCelsius_K;
        m_fit.Volume[sa][k] = MolarVolume(m_data, m_names[sa], t);
        m_fit.VapourPressure[sa][k] = VapourPressure(m_data, m_names[sa], p.theta[k]);
        m_fit.Volume[sb][k] = MolarVolume(m_data, m_names[sb], t);
    }
}

// The parameters of pair (i, j), measured as (a, b): fitted, entered or from
// the references; the memo's line of them.
std::string Setup::pairParameters(int i, int j, const MeasuredOrder& order, char choice) {
    if (m_model.MethodLetter == 'F') return unifacPair(order.a, order.b, order.dataPresent, choice);
    if (order.dataPresent) return fitPair(order.a, order.b);
    return enterPair(i, j);
}

bool Setup::pair(int i, int j) {
    const std::size_t si = at(i), sj = at(j);
    if (i == j) {
        m_model.WilsonA[si][si] = 0;
        m_model.NrtlA[si][si] = 0;
        m_model.UniquacA[si][si] = 0;
        return true;
    }
    const char letter = m_model.MethodLetter;
    const MeasuredOrder order = measuredOrder(i, j);
    std::string header = setupTexts::pairHeader(m_lang, m_names[at(order.a)], m_names[at(order.b)],
                                                methodName(letter));
    char choice = 0;
    try {
        if (order.dataPresent) {
            loadPairData(order.a, order.b);
            header += setupTexts::rmsErrorHeader(m_lang);
            m_dialogs.setWaitLabel(setupTexts::fitWaitLabel(m_lang));
        } else {
            choice = askDataAbsent(i, j);
            if (choice == '2')
                throw ProgramExitRequested(
                    setupTexts::endedForAbsentData(m_lang, m_names[si], m_names[sj]));
            if (choice == '3' && letter != 'F') {
                m_model.MethodLetter = 'F';
                m_method = 'F';
                return false;
            }
            if (choice == '1') header += setupTexts::enteredByUser(m_lang);
        }
        memo().add(header);
        m_fit.FitProgressLine = memo().lineCount();
        memo().add(pairParameters(i, j, order, choice) + "\r\n");
        m_dialogs.setWaitLabel("");
    } catch (...) {
        m_dialogs.setWaitLabel("");
        throw;
    }
    return true;
}

void Setup::minimize(FitVector& X, Real eps, int lastIndex, const Objective& objective,
                     PairSetup& r) {
    m_fit.Eps = eps;
    m_fit.LastIndex = lastIndex;
    m_fit.Evaluations = 0;
    const SlowConvergenceHandler slow = [this] {
        const bool retry =
            m_dialogs.abortRetry({"fit.slow_convergence",
                                  "Слишком медленная сходимость градиентного метода. "
                                  "Желаете\r\nпродолжить вычисления? Или закончить работу "
                                  "процедуры?",
                                  false});
        if (!retry)
            throw ProgramExitRequested(
                tr(m_lang,
                   "The work of the program is ended at the user's choice (too slow "
                   "convergence of the fit).",
                   "Работа программы завершена по выбору пользователя (слишком медленная "
                   "сходимость подбора параметров)."));
    };
    GradientMinimize(lastIndex, m_fit.Iterations, m_fit.Minimum, eps, X, objective, slow);
    r.Source = PairSetup::Origin::Fitted;
    r.Points = m_fit.Points.n;
    r.RmsY = std::sqrt(m_fit.Minimum / m_fit.Points.n);
    r.Iterations = m_fit.Iterations;
    r.Evaluations = m_fit.Evaluations;
}

std::string Setup::fitPair(int i, int j) {
    const std::size_t si = at(i), sj = at(j);
    const char letter = m_model.MethodLetter;
    PairSetup r;
    r.First = i;
    r.Second = j;
    r.MethodLetter = letter;
    FitContext& c = m_fit;
    switch (letter) {
        case 'W':
            minimize(
                c.Wilson, 0.00001L, 1, [&c](const FitVector& X) { return WilsonObjective(c, X); },
                r);
            m_model.WilsonA[si][sj] = c.Wilson[0];
            m_model.WilsonA[sj][si] = c.Wilson[1];
            break;
        case 'N':
            minimize(
                c.Nrtl, 0.000001L, 2, [&c](const FitVector& X) { return NrtlObjective(c, X); }, r);
            m_model.NrtlA[si][sj] = c.Nrtl[0];
            m_model.NrtlA[sj][si] = c.Nrtl[1];
            m_model.NrtlAlpha[si][sj] = m_model.NrtlAlpha[sj][si] = c.Nrtl[2];
            break;
        default:
            minimize(
                c.Uniquac, 0.00001L, 1, [&c](const FitVector& X) { return UniquacObjective(c, X); },
                r);
            m_model.UniquacA[si][sj] = c.Uniquac[0];
            m_model.UniquacA[sj][si] = c.Uniquac[1];
            break;
    }
    const std::string result = pairResultText(letter, m_model, i, j, m_lang);
    const EquilibriumModel& m = m_model;
    if (letter == 'W') {
        r.Labels = {"l12-l11", "l21-l22"};
        r.Kinds = {'E', 'E'};
        r.Values = {m.WilsonA[si][sj], m.WilsonA[sj][si]};
    } else if (letter == 'N') {
        r.Labels = {"g12-g22", "g21-g11", "alp12"};
        r.Kinds = {'E', 'E', 'a'};
        r.Values = {m.NrtlA[si][sj], m.NrtlA[sj][si], m.NrtlAlpha[si][sj]};
    } else {
        r.Labels = {"u12-u22", "u21-u11"};
        r.Kinds = {'E', 'E'};
        r.Values = {m.UniquacA[si][sj], m.UniquacA[sj][si]};
    }
    record(r);
    return result;
}

std::string Setup::enterPair(int i, int j) {
    const std::size_t si = at(i), sj = at(j);
    const char letter = m_model.MethodLetter;
    const std::string unit = tr(m_lang, " kJ/mole;", " кДж/моль;");
    const std::string enter = tr(m_lang, "Enter ", "Введите ");
    const std::string method = methodName(letter);
    const std::string caption = tr(m_lang, "Input of power parameters for method ",
                                   "Ввод энергетических параметров для метода ") +
                                method;
    const std::string who = " (1- " + m_names[si] + "; 2- " + m_names[sj] + ");";
    std::string label;
    std::vector<std::string> labels, units;
    if (letter == 'N') {
        label = enter + " g12-g22 " + unit + who + "\r\n" + enter + " g21-g22 " + unit + "\r\n" +
                enter + " alp12";
        labels = {"    g12-g22", "    g21-g22", "     alp12"};
        units = {unit, unit, ""};
    } else {
        const bool wilson = letter == 'W';
        label = enter + (wilson ? " L12-L11 " : " u12-u22 ") + unit + who + "\r\n" + enter +
                (wilson ? " L21-L22 " : " u21-u22 ") + unit;
        labels = wilson ? std::vector<std::string>{"    L12-L11", "    L21-L22"}
                        : std::vector<std::string>{"    u12-u22", "    u21-u22"};
        units = {unit, unit};
    }
    const GridAnswer answer = m_dialogs.ask(parameterGrid(caption, label, labels, units));
    PairSetup r;
    r.First = i;
    r.Second = j;
    r.MethodLetter = letter;
    r.Source = PairSetup::Origin::Entered;
    switch (letter) {
        case 'W':
            m_model.WilsonA[si][sj] = cellValue(answer, 0) / kParameterScale;
            m_model.WilsonA[sj][si] = cellValue(answer, 1) / kParameterScale;
            r.Labels = {"l12-l11", "l21-l22"};
            r.Kinds = {'E', 'E'};
            r.Values = {m_model.WilsonA[si][sj], m_model.WilsonA[sj][si]};
            break;
        case 'N':
            m_model.NrtlA[si][sj] = cellValue(answer, 0) / kParameterScale;
            m_model.NrtlA[sj][si] = cellValue(answer, 1) / kParameterScale;
            m_model.NrtlAlpha[si][sj] = m_model.NrtlAlpha[sj][si] = cellValue(answer, 2);
            r.Labels = {"g12-g22", "g21-g11", "alp12"};
            r.Kinds = {'E', 'E', 'a'};
            r.Values = {m_model.NrtlA[si][sj], m_model.NrtlA[sj][si], m_model.NrtlAlpha[si][sj]};
            break;
        default:
            m_model.UniquacA[si][sj] = cellValue(answer, 0) / kParameterScale;
            m_model.UniquacA[sj][si] = cellValue(answer, 1) / kParameterScale;
            r.Labels = {"u12-u22", "u21-u11"};
            r.Kinds = {'E', 'E'};
            r.Values = {m_model.UniquacA[si][sj], m_model.UniquacA[sj][si]};
            break;
    }
    record(r);
    return pairResultText(letter, m_model, i, j, m_lang);
}

// The numbering of a pair's UNIFAC parameters: position m is a distinct main
// group (variant 1) or a group (variant 2).
struct GroupPositions {
    const GroupList& groups;
    char variant;

    int count() const { return variant == '1' ? groups.DistinctCount : groups.GroupCount; }
    int number(int m) const {
        return variant == '1' ? groups.DistinctMain[at(m)] : groups.MainGroup[at(m)];
    }
    std::string letterOf(int m) const { return std::string(1, groups.SubgroupLetter[at(m)]); }
    std::string label(int m, int n) const {
        return variant == '1'
                   ? "  a[" + std::to_string(number(m)) + "," + std::to_string(number(n)) + "]"
                   : "  a[" + std::to_string(number(m)) + letterOf(m) + "," +
                         std::to_string(number(n)) + letterOf(n) + "]";
    }
};

// The group parameters of pair (i, j) fitted to its measured data.
void Setup::fitUnifacPair(int i, int j, int P, PairSetup& record) {
    const std::size_t si = at(i), sj = at(j);
    FitContext& c = m_fit;
    if (P > kMaxFitParameters)
        throw CalculationAborted(tr(m_lang, "The UNIFAC pair ", "Пара UNIFAC ") + m_names[si] +
                                 "-" + m_names[sj] + tr(m_lang, " has ", " имеет ") +
                                 std::to_string(P) +
                                 tr(m_lang, " group parameters; at most 66 can be fitted",
                                    " параметров групп; подобрать можно не более 66"));
    const FitPoints& p = c.Points;
    PrepareUnifacPoints(c, i, j);
    for (int k = 0; k < P; ++k) c.Unifac[at(k)] = 0.2L;
    const Objective objective = [&c](const FitVector& X) { return UnifacObjective(c, X); };
    if (P > 0) {
        minimize(c.Unifac, 0.00001L, P - 1, objective, record);
    } else {  // nothing to fit: the tables as they stand
        c.Iterations = 0;
        c.Minimum = objective(c.Unifac);
        record.Points = p.n;
        record.RmsY = std::sqrt(c.Minimum / p.n);
    }
    record.Source = PairSetup::Origin::Fitted;
}

// The group parameters of pair (i, j) as the person enters them.
void Setup::enterUnifacPair(int i, int j, int P) {
    UnifacTables& tables = m_fit.Tables;
    const GroupPositions positions{tables.Groups, tables.Variant};
    const int G = positions.count();
    const std::string unit = tr(m_lang, "  degr.K;", "  град.K;");
    if (P > kMaxEntryColumns)
        throw CalculationAborted(tr(m_lang, "The UNIFAC pair ", "Пара UNIFAC ") + m_names[at(i)] +
                                 "-" + m_names[at(j)] + tr(m_lang, " has ", " имеет ") +
                                 std::to_string(P) +
                                 tr(m_lang, " group parameters; at most 25 can be entered",
                                    " параметров групп; ввести можно не более 25"));
    std::string header = tr(m_lang, "Number of power parameters of interaction of groups ",
                            "Число энергетических параметров взаимодействия групп ") +
                         std::to_string(P) + "\r\n" + tr(m_lang, "Enter ", "Введите ");
    std::vector<std::string> labels, units;
    for (int m = 0; m < G; ++m)
        for (int n = 0; n < G; ++n)
            if (m != n) {
                header += positions.label(m, n) + unit;
                labels.push_back("  " + positions.label(m, n));
                units.push_back("  " + unit);
            }
    const GridAnswer answer =
        m_dialogs.ask(parameterGrid(tr(m_lang, "Input of power parameters for method UNIFAC",
                                       "Ввод энергетических параметров для метода UNIFAC"),
                                    header, labels, units));
    std::size_t column = 0;
    for (int m = 0; m < G; ++m)
        for (int n = 0; n < G; ++n)
            if (m != n)
                StoreGroupParameter(tables, m, n, cellValue(answer, column++) / kZeroCelsius_K);
}

// The group parameters of the references.
void Setup::referenceUnifacPair() {
    UnifacTables& tables = m_fit.Tables;
    const GroupPositions positions{tables.Groups, tables.Variant};
    const int G = positions.count();
    memo().add(tr(m_lang, "Power parameters are taken from references",
                  "Энергетические параметры взяты из литературных источников"));
    for (int m = 0; m < G; ++m)
        for (int n = 0; n < G; ++n)
            if (m != n) {
                const int a = positions.number(m), b = positions.number(n);
                StoreGroupParameter(tables, m, n, a == b ? 0.0L : m_data.groupInteraction(a, b));
            }
}

std::string Setup::unifacPair(int i, int j, bool dataPresent, char choice) {
    const std::size_t si = at(i), sj = at(j);
    FitContext& c = m_fit;
    UnifacTables& tables = c.Tables;
    const char variant = tables.Variant;
    c.PairBlocks = {m_blocks[si], m_blocks[sj]};
    tables.Groups = MergeGroupLists(c.PairBlocks);
    const GroupList& groups = tables.Groups;
    const GroupPositions positions{groups, variant};
    const int G = positions.count();
    const int P = G * (G - 1);
    const std::string unit = tr(m_lang, "  degr.K;", "  град.K;");

    PairSetup record;
    record.First = i;
    record.Second = j;
    record.MethodLetter = 'F';
    if (dataPresent) {
        fitUnifacPair(i, j, P, record);
    } else {
        if (choice == '1') {
            enterUnifacPair(i, j, P);
            record.Source = PairSetup::Origin::Entered;
        } else {
            referenceUnifacPair();
            record.Source = PairSetup::Origin::Reference;
        }
        BuildGroupInteractionMatrix(tables, groups.GroupCount, groups.MainGroup,
                                    groups.SubgroupLetter, c.PairInteraction);
    }

    std::string result;
    for (int m = 0; m < G; ++m)
        for (int n = 0; n < G; ++n) {
            if (m == n) continue;
            const int a = positions.number(m), b = positions.number(n);
            const Real value =
                variant == '1' ? tables.mainEntry(a, b) : c.PairInteraction[at(m)][at(n)];
            if (variant == '1')
                result += "  a0[" + std::to_string(a) + "," + std::to_string(b) +
                          "]= " + formatFixed(value * kZeroCelsius_K, 7, 3);
            else
                result += "  a[" + std::to_string(a) + positions.letterOf(m) + "," +
                          std::to_string(b) + positions.letterOf(n) +
                          "]= " + formatFixed(value * kZeroCelsius_K, 7, 3);
            result += unit;
            record.Labels.push_back(positions.label(m, n).substr(2));
            record.Kinds.push_back('G');
            record.Values.push_back(value);
        }
    m_context.pairs.push_back(std::move(record));
    m_fittedPairs.push_back({i, j, dataPresent, dataPresent ? c.Points.P : 0, tables});
    return result;
}

void Setup::completeUnifac() {
    UnifacTables& tables = m_fit.Tables;
    const std::span<GroupBlock> blocks(m_blocks.data(), at(m_n));
    const GroupList mixture = MergeGroupLists(blocks);
    BuildGroupInteractionMatrix(tables, mixture.GroupCount, mixture.MainGroup,
                                mixture.SubgroupLetter, m_model.GroupInteraction);
    for (GroupBlock& block : blocks)
        BuildGroupInteractionMatrix(tables, block.GroupCount, block.MainGroup, block.SubgroupLetter,
                                    block.PureInteraction);
    m_model.Groups = mixture;
    m_model.ComponentGroups = m_blocks;
    m_model.UnifacVariant = tables.Variant;
    reportUnifacDrift();
}

EquilibriumModel Setup::binaryModel(const UnifacTables& tables, int i, int j) const {
    EquilibriumModel m = m_model;
    m.ComponentCount = 2;
    m.Substances = {};
    m.Substances[0] = m_substances[at(i)];
    m.Substances[1] = m_substances[at(j)];
    m.ComponentNames = {m_names[at(i)], m_names[at(j)]};
    m.UniquacQ = {};
    m.UniquacR = {};
    m.UniquacQ[0] = m_fit.UniquacQ[at(i)];
    m.UniquacQ[1] = m_fit.UniquacQ[at(j)];
    m.UniquacR[0] = m_fit.UniquacR[at(i)];
    m.UniquacR[1] = m_fit.UniquacR[at(j)];
    std::array<GroupBlock, 2> blocks{m_blocks[at(i)], m_blocks[at(j)]};
    for (GroupBlock& block : blocks)
        BuildGroupInteractionMatrix(tables, block.GroupCount, block.MainGroup, block.SubgroupLetter,
                                    block.PureInteraction);
    m.Groups = MergeGroupLists(blocks);
    BuildGroupInteractionMatrix(tables, m.Groups.GroupCount, m.Groups.MainGroup,
                                m.Groups.SubgroupLetter, m.GroupInteraction);
    m.ComponentGroups = {};
    m.ComponentGroups[0] = blocks[0];
    m.ComponentGroups[1] = blocks[1];
    m.Validity = nullptr;
    return m;
}

std::string Setup::pairName(const FittedPair& p) const {
    return m_names[at(p.i)] + "-" + m_names[at(p.j)];
}

// The equimolar bubble point of pair p at its data pressure, degC; none when
// the model gives none.
std::optional<Real> Setup::equimolarBubblePoint(const UnifacTables& tables,
                                                const FittedPair& p) const {
    try {
        const EquilibriumModel model = binaryModel(tables, p.i, p.j);
        std::array<Real, 7> liquid{0.5L, 0.5L}, vapour{}, work{};
        Real tau = 0, pressure = p.pressure;
        EquilibriumPoint(m_data, 't', 'y', tau, vapour, work, liquid, model, pressure,
                         bubbleStartTau(pressure), kBubbleSecondStartTau);
        return (tau - 1) * kZeroCelsius_K;
    } catch (const CalculationAborted&) {
        return std::nullopt;
    }
}

// Each parameter of fitted pair k's groups that the mixture holds otherwise,
// with the last later pair that wrote it.
std::vector<std::string> Setup::refittedParameters(std::size_t k) const {
    const FittedPair& p = m_fittedPairs[k];
    const bool mainGroups = m_fit.Tables.Variant == '1';
    const EquilibriumModel own = binaryModel(p.tables, p.i, p.j),
                           mixture = binaryModel(m_fit.Tables, p.i, p.j);
    const GroupList& g = own.Groups;
    std::vector<std::string> moved;
    for (int m = 0; m < g.GroupCount; ++m)
        for (int n = 0; n < g.GroupCount; ++n) {
            if (m == n || (mainGroups && g.MainGroup[at(m)] == g.MainGroup[at(n)])) continue;
            const Real mine = own.GroupInteraction[at(m)][at(n)],
                       now = mixture.GroupInteraction[at(m)][at(n)];
            if (mine == now) continue;
            std::string label =
                "a[" + groupName(g, m, mainGroups) + "," + groupName(g, n, mainGroups) + "]";
            std::string by;
            Real before = mine;
            for (std::size_t later = k + 1; later < m_fittedPairs.size(); ++later) {
                const Real value = binaryModel(m_fittedPairs[later].tables, p.i, p.j)
                                       .GroupInteraction[at(m)][at(n)];
                if (value != before) by = pairName(m_fittedPairs[later]);
                before = value;
            }
            label += setupTexts::refittedBy(m_lang) + by;
            if (std::find(moved.begin(), moved.end(), label) == moved.end()) moved.push_back(label);
        }
    return moved;
}

void Setup::reportUnifacDrift() {
    const auto fittedCount = std::count_if(m_fittedPairs.begin(), m_fittedPairs.end(),
                                           [](const FittedPair& p) { return p.fitted; });
    if (m_n < 3 || fittedCount == 0) return;
    const UnifacTables& final = m_fit.Tables;
    std::vector<std::string> lines;
    for (std::size_t k = 0; k < m_fittedPairs.size(); ++k) {
        const FittedPair& p = m_fittedPairs[k];
        if (!p.fitted) continue;
        const std::vector<std::string> moved = refittedParameters(k);
        const std::optional<Real> tOwn = equimolarBubblePoint(p.tables, p),
                                  tMixture = equimolarBubblePoint(final, p);
        lines.push_back(
            setupTexts::driftLine(m_lang, pairName(p), moved, p.pressure, tOwn, tMixture));
    }
    memo().add(std::string(setupTexts::sharedGroupTable(m_lang)));
    for (const std::string& line : lines) memo().add(line);
}

}  // namespace

std::string pairResultText(char letter, const EquilibriumModel& m, int i, int j,
                           LanguageFlagType lang) {
    const std::size_t si = at(i), sj = at(j);
    const std::string unit = tr(lang, " kJ/mole;", " кДж/моль;");
    switch (letter) {
        case 'W':
            return "  l12-l11 = " + F(energyParameterKiloJoules(m.WilsonA[si][sj])) + unit +
                   "  l21-l22 = " + F(energyParameterKiloJoules(m.WilsonA[sj][si])) + unit;
        case 'N':
            return "  g12-g22 = " + F(energyParameterKiloJoules(m.NrtlA[si][sj])) + unit +
                   "  g21-g11 = " + F(energyParameterKiloJoules(m.NrtlA[sj][si])) + unit +
                   "  alp12=" + F(m.NrtlAlpha[si][sj]);
        default:
            return "  u12-u22 = " + F(energyParameterKiloJoules(m.UniquacA[si][sj])) + unit +
                   "  u21-u11 = " + F(energyParameterKiloJoules(m.UniquacA[sj][si])) + unit;
    }
}

void RunEquilibriumSetup(const EquilibriumContext& context, int n,
                         std::span<const std::uint16_t> substances, EquilibriumModel& model,
                         char& method) {
    if (n < 0 || static_cast<std::size_t>(n) > substances.size())
        throw CalculationAborted("the substance list holds fewer than " + std::to_string(n) +
                                 " numbers");
    Setup(context, n, substances, model, method).run();
}

}  // namespace vexamo
