#include "dialogs/DesignDialog.h"

#include <limits>
#include <optional>

#include "common/NumberFormat.h"
#include "common/Str20.h"
#include "dialogs/FieldRules.h"

namespace vexamo {

namespace {

std::vector<std::string> materialNames(LanguageFlagType languageFlag) {
    std::vector<std::string> names;
    for (const TubeMaterial& material : kTubeMaterials)
        names.emplace_back(tr(languageFlag, material.english, material.russian));
    return names;
}

const char* pipeArrangWord(bool staggered, LanguageFlagType languageFlag) {
    return staggered ? tr(languageFlag, "chess", "шахматное")
                     : tr(languageFlag, "corridor", "коридорное");
}

const char* wispArrangWord(bool horizontal, LanguageFlagType languageFlag) {
    return horizontal ? tr(languageFlag, "horizontal", "горизонтальное")
                      : tr(languageFlag, "vertical", "вертикальное");
}

// Fills a fouling field with a value it gives back exactly while unchanged.
void showFouling(std::string& field, DesignDialogModel::ShownValue& shown, Real value) {
    shown.value = value;
    shown.text = formatGeneral(value, 6, 0);
    field = shown.text;
}

}  // namespace

void DesignDialogModel::prepare(ProblemData& problem, std::uint8_t flowSide,
                                std::uint8_t dataLoaded, LanguageFlagType lang) {
    const DesignRecord& design = problem.Design;
    accepted = false;
    problem.Design.FlowSide = flowSide;
    materialList = materialNames(lang);

    if (dataLoaded == 1) {
        edPipeNmb = std::to_string(design.TubeCount);
        edPipeL = formatShortest(design.TubeLength);
        edPipeDex = formatShortest(design.OuterDiameter);
        edPipeDin = formatShortest(design.InnerDiameter);
        edIntTrumpsp = std::to_string(design.ShellPasses);
        if (design.MaterialIndex >= 1 && design.MaterialIndex <= materialList.size())
            cbMaterial = materialList[design.MaterialIndex - 1u];
        else
            cbMaterial = design.MaterialName;
        if (problem.ShellStream.SinglePhase == 1) edCasing = formatShortest(design.ShellDiameter);
        edRowNmb = std::to_string(design.RowsOnVertical);
        cbParall = std::to_string(design.ParallelFlows);
        if (problem.TubeStream.SinglePhase == 1) cbTrumpsp = std::to_string(design.TubePasses);
        cbPipeArrang = pipeArrangWord(design.StaggeredTubes == 1, lang);
        cbWispArrang = wispArrangWord(design.HorizontalBundle == 1, lang);
        showFouling(edFoulTube, shownTubeFouling, design.TubeFouling);
        showFouling(edFoulShell, shownShellFouling, design.ShellFouling);
    } else if (edFoulTube.empty() && edFoulShell.empty()) {
        showFouling(edFoulTube, shownTubeFouling, kDefaultSideFouling);
        showFouling(edFoulShell, shownShellFouling, kDefaultSideFouling);
    }
    casingVisible = problem.ShellStream.SinglePhase == 1;
    tubePassesVisible = problem.TubeStream.SinglePhase == 1;
}

void DesignDialogModel::FormActivate(LanguageFlagType languageFlag) {
    tubePassList = {"1", "2", "3", "4"};
    parallelList = {"1", "2", "3", "4"};
    materialList = materialNames(languageFlag);
    pipeArrangList = {pipeArrangWord(true, languageFlag), pipeArrangWord(false, languageFlag)};
    wispArrangList = {wispArrangWord(true, languageFlag), wispArrangWord(false, languageFlag)};
    caption = tr(languageFlag, "Characteristics of a heat exchanger",
                 "Технические характеристики теплообменника");
    const bool en = languageFlag == kEnglish;
    auto label = [en](const char* english, const char* russian) { return en ? english : russian; };
    labels = {
        {"edPipeNmb", label("number of pipes", "число труб")},
        {"edPipeL", label("length of pipes, m", "длина труб, м")},
        {"edPipeDex", label("external diameter of pipes, m", "наружный диаметр труб, м")},
        {"edPipeDin", label("inner diameter of pipes, m", "внутренний диаметр труб, м")},
        {"cbTrumpsp", tubePassesVisible
                          ? label("numb. of courses in trump. space", "число ходов в тpуб. пpостp.")
                          : ""},
        {"edCasing",
         casingVisible ? label("inner diameter of casing, m", "внутpенний диаметp кожуха, м") : ""},
        {"edIntTrumpsp",
         label("numb. of courses in intertr. space", "число ходов в межтpуб. пpостp.")},
        {"edRowNmb", label("numb. of pipes lines on a vertical", "число pядов тpуб по веpтикали")},
        {"cbMaterial", label("pipes material", "материал труб")},
        {"cbParall", label("numb. of co-currents of heat-trans. medium",
                           "число паpаллельных потоков теплонос.")},
        {"cbPipeArrang", label("pipe arrangement in a bunch", "расположение труб в пучке")},
        {"cbWispArrang", label("arrangement of pipe column", "расположение пучка труб")},
        {"edFoulTube", label("fouling resist. in trump. space, m2*K/W",
                             "сопр. загрязнений в трубн. простр., м2*К/Вт")},
        {"edFoulShell", label("fouling resist. in intertr. space, m2*K/W",
                              "сопр. загрязнений в межтруб. простр., м2*К/Вт")},
    };
}

namespace {

// The numbers of the form as they were read.
struct DesignNumbers {
    long long tubeCount = 0, shellPasses = 0, tubePasses = 1, rows = 0, parallel = 0;
    Real length = 0, outer = 0, inner = 0, shellDiameter = 0, tubeFouling = 0, shellFouling = 0;
};

// Reads the form's numbers by their field rules; the first refusal is kept.
class NumberReader {
public:
    explicit NumberReader(LanguageFlagType languageFlag)
        : m_lang(languageFlag), m_prefix(numberEntryPrefix(languageFlag)) {}

    // A whole number of its kind, in the rule's range.
    bool integer(const std::string& text, const IntegerFieldRule& rule, long long& value) {
        const auto number = parseInteger(trimText(text));
        if (!number) return refuse(m_prefix + text, rule.control);
        if (!withinRange(rule, *number))
            return refuse(rangeRefusal(rule, m_lang, text), rule.control);
        value = *number;
        return true;
    }
    // A real number above the rule's lower limit.
    bool real(const std::string& text, const RealFieldRule& rule, Real& value) {
        const auto number = parseReal(trimText(text));
        if (!number) return refuse(m_prefix + text, rule.control);
        if (auto refused = realRefusal(rule, *number, m_lang, text))
            return refuse(*refused, rule.control);
        value = *number;
        return true;
    }
    // A real number that its field was filled with and still shows is that
    // number to the bit; another text is read by the rule.
    bool shown(const std::string& text, const DesignDialogModel::ShownValue& shown,
               const RealFieldRule& rule, Real& value) {
        if (!shown.text.empty() && text == shown.text) {
            value = shown.value;
            return true;
        }
        return real(text, rule, value);
    }
    bool refuse(std::string message, const char* focus) {
        m_failure = warningCheck(std::move(message), focus);
        return false;
    }
    const DialogCheck& failure() const { return m_failure; }

private:
    LanguageFlagType m_lang;
    std::string m_prefix;
    DialogCheck m_failure;
};

// The numbers in the form's order; each is refused when it is not a number
// of its kind, and when it cannot describe an exchanger (it would not fit its
// record field or would make the results meaningless).
std::optional<DialogCheck> readDesignNumbers(const DesignDialogModel& m,
                                             LanguageFlagType languageFlag, DesignNumbers& n) {
    NumberReader read(languageFlag);
    const bool ok =
        read.integer(m.edPipeNmb, field::TubeCount, n.tubeCount) &&
        read.real(m.edPipeL, field::TubeLength, n.length) &&
        read.real(m.edPipeDex, field::OuterDiameter, n.outer) &&
        read.real(m.edPipeDin, field::InnerDiameter, n.inner) &&
        (n.inner < n.outer ||
         read.refuse(rangeRefusal(field::InnerDiameter, languageFlag, m.edPipeDin),
                     field::InnerDiameter.control)) &&
        read.integer(m.edIntTrumpsp, field::ShellPasses, n.shellPasses) &&
        (!m.tubePassesVisible || read.integer(m.cbTrumpsp, field::TubePasses, n.tubePasses)) &&
        (!m.casingVisible || read.real(m.edCasing, field::ShellDiameter, n.shellDiameter)) &&
        read.integer(m.edRowNmb, field::RowsOnVertical, n.rows) &&
        read.integer(m.cbParall, field::ParallelFlows, n.parallel) &&
        read.shown(m.edFoulTube, m.shownTubeFouling, field::TubeFouling, n.tubeFouling) &&
        read.shown(m.edFoulShell, m.shownShellFouling, field::ShellFouling, n.shellFouling);
    if (ok) return std::nullopt;
    return read.failure();
}

}  // namespace

bool DesignDialogModel::anyFieldEmpty() const {
    const std::string* required[] = {&edPipeNmb,    &edPipeL,    &edPipeDex,  &edPipeDin,
                                     &edIntTrumpsp, &edRowNmb,   &cbParall,   &cbPipeArrang,
                                     &cbWispArrang, &edFoulTube, &edFoulShell};
    bool empty = (tubePassesVisible && cbTrumpsp.empty()) || (casingVisible && edCasing.empty());
    for (const std::string* field : required) empty = empty || field->empty();
    return empty;
}

std::optional<DialogCheck> DesignDialogModel::askConductivity(LanguageFlagType languageFlag,
                                                              Dialogs& dialogs,
                                                              const DesignRecord& stored,
                                                              Real& lambda) const {
    auto text = [languageFlag](const char* english, const char* russian) {
        return std::string(tr(languageFlag, english, russian));
    };
    InputRequest request;
    request.id = "design.conductivity";
    request.caption = text("Input of the initial data", "Ввод исходных данных");
    request.prompt = text("Enter coefficient of heat conductivity of pipes\r\nmaterial",
                          "Введите коэффициент теплопроводности материала\r\nтруб ");
    request.unit = text(" Watt/(m*K)", " Ватт/(м*K)");
    request.errorPrefix = numberEntryPrefix(languageFlag);
    request.kind = InputKind::Real;
    const Real storedConductivity = conductivityFromWallResistance(stored);
    if (storedConductivity > 0) request.defaultAnswer = formatShortest(storedConductivity);
    const InputAnswer answer = dialogs.ask(request);
    // Cancel, or "Default" (the conductivity has none), leave the form open.
    if (answer.cancelled || answer.isDefault) {
        DialogCheck check;
        check.silent = true;
        check.focus = field::Conductivity.control;
        return check;
    }
    if (auto refused = realRefusal(field::Conductivity, answer.real, languageFlag, answer.text))
        return warningCheck(*refused, field::Conductivity.control);
    lambda = answer.real;
    return std::nullopt;
}

DialogCheck DesignDialogModel::bitbtOkClick(LanguageFlagType languageFlag, Dialogs& dialogs,
                                            const DesignRecord& stored) {
    accepted = false;
    if (anyFieldEmpty())
        return warningCheck(tr(languageFlag, "All fields of this form should be filled",
                               "Все поля этой формы должны быть заполнены"));
    DesignNumbers n;
    n.shellDiameter = lastShellDiameter;
    if (auto refused = readDesignNumbers(*this, languageFlag, n)) return *refused;

    // Both languages' words count, whatever the language of the form.
    const bool staggered = cbPipeArrang == "шахматное" || cbPipeArrang == "chess";
    const bool horizontal = cbWispArrang == "горизонтальное" || cbWispArrang == "horizontal";

    const int materialIndex = findMaterial(cbMaterial);
    Real lambda = 0;
    if (materialIndex > 0)
        lambda = kTubeMaterials[static_cast<std::size_t>(materialIndex - 1)].conductivity;
    else if (auto refused = askConductivity(languageFlag, dialogs, stored, lambda))
        return *refused;

    DesignRecord record = values;
    record.TubeCount = static_cast<std::uint16_t>(n.tubeCount);
    record.TubeLength = n.length;
    record.OuterDiameter = n.outer;
    record.InnerDiameter = n.inner;
    record.ShellPasses = static_cast<std::uint8_t>(n.shellPasses);
    record.TubePasses = static_cast<std::uint8_t>(n.tubePasses);
    record.ShellDiameter = n.shellDiameter;
    record.RowsOnVertical = static_cast<std::uint8_t>(n.rows);
    record.ParallelFlows = static_cast<std::uint8_t>(n.parallel);
    record.StaggeredTubes = staggered ? 1 : 0;
    record.HorizontalBundle = horizontal ? 1 : 0;
    record.MaterialIndex = static_cast<std::uint8_t>(materialIndex);
    record.MaterialName = cutCharacters(cbMaterial, 20);
    record.TubeFouling = n.tubeFouling;
    record.ShellFouling = n.shellFouling;
    record.WallResistance = wallResistance(n.outer, n.inner, lambda, n.tubeFouling, n.shellFouling);
    record.Surface =
        heatExchangeSurface(record.ParallelFlows, record.TubeCount, n.outer, n.inner, n.length);

    values = record;
    conductivity = lambda;
    lastShellDiameter = n.shellDiameter;
    accepted = true;
    DialogCheck check;
    check.accepted = true;
    return check;
}

void DesignDialogModel::harvest(DesignRecord& design) const {
    design.TubeCount = values.TubeCount;
    design.TubePasses = values.TubePasses;
    design.ShellPasses = values.ShellPasses;
    design.RowsOnVertical = values.RowsOnVertical;
    design.ParallelFlows = values.ParallelFlows;
    design.OuterDiameter = values.OuterDiameter;
    design.InnerDiameter = values.InnerDiameter;
    design.TubeLength = values.TubeLength;
    design.ShellDiameter = values.ShellDiameter;
    design.MaterialIndex = values.MaterialIndex;
    design.WallResistance = values.WallResistance;
    design.TubeFouling = values.TubeFouling;
    design.ShellFouling = values.ShellFouling;
    design.HorizontalBundle = values.HorizontalBundle;
    design.StaggeredTubes = values.StaggeredTubes;
    design.MaterialName = values.MaterialName;
    design.Surface = values.Surface;
}

}  // namespace vexamo
