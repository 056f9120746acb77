#include "dialogs/DesignDialog.h"

#include <limits>
#include <optional>

#include "common/NumberFormat.h"
#include "common/Str20.h"
#include "control/Session.h"

namespace vexamo {

namespace {

DialogCheck warning(std::string message, std::string focus = {}) {
    DialogCheck check;
    check.kind = MessageKind::Warning;
    check.message = std::move(message);
    check.focus = std::move(focus);
    return check;
}

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

}  // namespace

void DesignDialogModel::prepare(Session& session) {
    const LanguageFlagType lang = session.LanguageFlag;
    const ProblemData& problem = session.Problem;
    const DesignRecord& design = problem.Design;
    accepted = false;
    session.Problem.Design.FlowSide = session.FlowSide;
    materialList = materialNames(lang);

    if (session.DataLoaded == 1) {
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
    };
}

DialogCheck DesignDialogModel::bitbtOkClick(LanguageFlagType languageFlag, Dialogs& dialogs,
                                            const Session& session) {
    accepted = false;
    const bool en = languageFlag == kEnglish;
    auto text = [en](const char* english, const char* russian) {
        return std::string(en ? english : russian);
    };

    const std::string* required[] = {&edPipeNmb, &edPipeL,      &edPipeDex,
                                     &edPipeDin, &edIntTrumpsp, &edRowNmb,
                                     &cbParall,  &cbPipeArrang, &cbWispArrang};
    bool empty = (tubePassesVisible && cbTrumpsp.empty()) || (casingVisible && edCasing.empty());
    for (const std::string* field : required) empty = empty || field->empty();
    if (empty)
        return warning(text("All fields of this form should be filled",
                            "Все поля этой формы должны быть заполнены"));

    // The numbers in the form's order; each is refused when it is not a
    // number of its kind, and when it cannot describe an exchanger (it would
    // not fit its record field or would make the results meaningless).
    const std::string prefix = numberEntryPrefix(languageFlag);
    std::optional<DialogCheck> failure;
    auto readInteger = [&](const std::string& field, const char* focus, long long low,
                           long long high,
                           const std::string& rangeMessage) -> std::optional<long long> {
        const auto value = parseInteger(trimText(field));
        if (!value) {
            failure = warning(prefix + field, focus);
            return std::nullopt;
        }
        if (*value < low || *value > high) {
            failure = warning(rangeMessage + ": " + field, focus);
            return std::nullopt;
        }
        return value;
    };
    auto readReal = [&](const std::string& field, const char* focus,
                        const std::string& rangeMessage) -> std::optional<Real> {
        const auto value = parseReal(trimText(field));
        if (!value) {
            failure = warning(prefix + field, focus);
            return std::nullopt;
        }
        if (!(*value > 0)) {
            failure = warning(rangeMessage + ": " + field, focus);
            return std::nullopt;
        }
        return value;
    };

    DesignRecord record = values;
    const auto tubeCount =
        readInteger(edPipeNmb, "edPipeNmb", 1, std::numeric_limits<std::uint16_t>::max(),
                    text("The number of pipes must be from 1 to 65535",
                         "Число труб должно быть от 1 до 65535"));
    if (!tubeCount) return *failure;
    const auto length = readReal(edPipeL, "edPipeL",
                                 text("The length of pipes must be greater than zero",
                                      "Длина труб должна быть больше нуля"));
    if (!length) return *failure;
    const auto outer = readReal(edPipeDex, "edPipeDex",
                                text("The external diameter of pipes must be greater than zero",
                                     "Наружный диаметр труб должен быть больше нуля"));
    if (!outer) return *failure;
    const std::string innerMessage = text(
        "The inner diameter of pipes must be greater than zero and less than the external "
        "diameter",
        "Внутренний диаметр труб должен быть больше нуля и меньше наружного диаметра");
    const auto inner = readReal(edPipeDin, "edPipeDin", innerMessage);
    if (!inner) return *failure;
    if (!(*inner < *outer)) return warning(innerMessage + ": " + edPipeDin, "edPipeDin");
    const auto shellPasses =
        readInteger(edIntTrumpsp, "edIntTrumpsp", 1, 255,
                    text("The number of courses in the intertubular space must be from 1 to 255",
                         "Число ходов в межтрубном пространстве должно быть от 1 до 255"));
    if (!shellPasses) return *failure;
    long long tubePasses = 1;
    if (tubePassesVisible) {
        const auto passes =
            readInteger(cbTrumpsp, "cbTrumpsp", 1, 4,
                        text("The number of courses in the tube space must be from 1 to 4",
                             "Число ходов в трубном пространстве должно быть от 1 до 4"));
        if (!passes) return *failure;
        tubePasses = *passes;
    }
    Real shellDiameter = lastShellDiameter;
    if (casingVisible) {
        const auto diameter =
            readReal(edCasing, "edCasing",
                     text("The inner diameter of the casing must be greater than zero",
                          "Внутренний диаметр кожуха должен быть больше нуля"));
        if (!diameter) return *failure;
        shellDiameter = *diameter;
    }
    const auto rows =
        readInteger(edRowNmb, "edRowNmb", 1, 255,
                    text("The number of pipe lines on a vertical must be from 1 to 255",
                         "Число рядов труб по вертикали должно быть от 1 до 255"));
    if (!rows) return *failure;
    const auto parallel = readInteger(cbParall, "cbParall", 1, 4,
                                      text("The number of parallel flows must be from 1 to 4",
                                           "Число параллельных потоков должно быть от 1 до 4"));
    if (!parallel) return *failure;

    // Both languages' words count, whatever the language of the form.
    const bool staggered = cbPipeArrang == "шахматное" || cbPipeArrang == "chess";
    const bool horizontal = cbWispArrang == "горизонтальное" || cbWispArrang == "horizontal";

    const int materialIndex = findMaterial(cbMaterial);
    Real lambda = 0;
    if (materialIndex > 0) {
        lambda = kTubeMaterials[static_cast<std::size_t>(materialIndex - 1)].conductivity;
    } else {
        InputRequest request;
        request.id = "design.conductivity";
        request.caption = text("Input of the initial data", "Ввод исходных данных");
        request.prompt = text("Enter coefficient of heat conductivity of pipes\r\nmaterial",
                              "Введите коэффициент теплопроводности материала\r\nтруб ");
        request.unit = text(" Watt/(m*K)", " Ватт/(м*K)");
        request.errorPrefix = prefix;
        request.kind = InputKind::Real;
        const Real stored = conductivityFromWallResistance(session.Problem.Design);
        if (stored > 0) request.defaultAnswer = formatShortest(stored);
        const InputAnswer answer = dialogs.ask(request);
        // Cancel, or "Default" (the conductivity has none), leave the form open.
        if (answer.cancelled || answer.isDefault) {
            DialogCheck check;
            check.silent = true;
            check.focus = "cbMaterial";
            return check;
        }
        if (!(answer.real > 0))
            return warning(text("The heat conductivity of the pipe material must be greater than "
                                "zero",
                                "Теплопроводность материала труб должна быть больше нуля") +
                               ": " + answer.text,
                           "cbMaterial");
        lambda = answer.real;
    }

    record.TubeCount = static_cast<std::uint16_t>(*tubeCount);
    record.TubeLength = *length;
    record.OuterDiameter = *outer;
    record.InnerDiameter = *inner;
    record.ShellPasses = static_cast<std::uint8_t>(*shellPasses);
    record.TubePasses = static_cast<std::uint8_t>(tubePasses);
    record.ShellDiameter = shellDiameter;
    record.RowsOnVertical = static_cast<std::uint8_t>(*rows);
    record.ParallelFlows = static_cast<std::uint8_t>(*parallel);
    record.StaggeredTubes = staggered ? 1 : 0;
    record.HorizontalBundle = horizontal ? 1 : 0;
    record.MaterialIndex = static_cast<std::uint8_t>(materialIndex);
    record.MaterialName = cutCharacters(cbMaterial, 20);
    record.WallResistance = wallResistance(*outer, *inner, lambda);
    record.Surface =
        heatExchangeSurface(record.ParallelFlows, record.TubeCount, *outer, *inner, *length);

    values = record;
    conductivity = lambda;
    lastShellDiameter = shellDiameter;
    accepted = true;
    DialogCheck check;
    check.accepted = true;
    return check;
}

void DesignDialogModel::harvest(Session& session) const {
    DesignRecord& design = session.Problem.Design;
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
    design.HorizontalBundle = values.HorizontalBundle;
    design.StaggeredTubes = values.StaggeredTubes;
    design.MaterialName = values.MaterialName;
    design.Surface = values.Surface;
}

bool DesignActionExecute(Session& session, Dialogs& dialogs) {
    DesignDialogModel& model = session.DesignDialog;
    model.prepare(session);
    model.FormActivate(session.LanguageFlag);
    const bool ok = dialogs.showDesign(model) && model.accepted;
    if (ok) model.harvest(session);
    session.DesignPending = false;
    session.DesignEntered = true;
    return ok;
}

}  // namespace vexamo
