#include "exchanger/PressureLossTexts.h"

#include "common/NumberFormat.h"
#include "dialogs/GenericDialogs.h"

namespace vexamo::pressureLossTexts {

namespace {

std::string lossNumber(Real kPa) { return formatGeneral(kPa, 6, 2); }

std::string additionalData(LanguageFlagType lang) {
    return tr(lang, "Input of the additional data", "Ввод дополнительных данных");
}

std::string pipesGroup(LanguageFlagType lang) {
    return tr(lang, "                      Pipes", "                      Трубы");
}

}  // namespace

AlternRequest tubeEndsRequest(LanguageFlagType lang, bool uTubeBox) {
    AlternRequest ends;
    ends.id = "tube_loss.ends";
    ends.caption = tr(lang, "Input of the additional datas for calculation of pressure losses",
                      "Ввод дополнительных данных для расчета потерь давления");
    ends.groupCaption = pipesGroup(lang);
    ends.question =
        tr(lang, "Describe pipes in a trumpet bunch", "Охарактеризуйте трубы в трубном пучке");
    ends.alternatives = {tr(lang, "with acute edges on the part of trumpet boards",
                            "с острыми краями со стороны трубных досок"),
                         tr(lang, "round-edged pipes on the part of trumpet boards",
                            "с закругленными краями со стороны трубных досок")};
    ends.groupColumns = 1;
    ends.showCheckBoxes = uTubeBox;
    ends.checkBoxId = "tube_loss.u_tubes";
    ends.checkBox1 = tr(lang, "U-shaped pipes", "U-образные трубы");  // letter 'y': U-tubes
    ends.defaultIndex = 0;
    ends.defaultCheckBox1 = false;
    return ends;
}

InputRequest bendRadiusRequest(LanguageFlagType lang) {
    InputRequest radius;
    radius.id = "tube_loss.bend_radius";
    radius.caption = additionalData(lang);
    radius.prompt =
        tr(lang, "Enter radius of curving of a pipe (m).", "Введите радиус изгиба трубы (м.)");
    radius.unit = tr(lang, " m.", " м.");
    radius.errorPrefix = numberEntryPrefix(lang);
    radius.initialText = "";
    return radius;
}

std::string bendRadiusRefused(LanguageFlagType lang) {
    return tr(lang, "The bend radius of the U-tubes must be a number above zero.",
              "Радиус изгиба U-образных труб должен быть числом больше нуля.");
}

InputRequest roughnessRequest(LanguageFlagType lang) {
    InputRequest roughness;
    roughness.id = "tube_loss.roughness";
    roughness.caption = additionalData(lang);
    roughness.prompt = tr(lang,
                          "Enter height of asperities in funnels (mm). or\r\nleave contents of "
                          "text box without change",
                          "Введите высоту микронеровностей в трубах (мм.) или\r\nоставьте "
                          "содержимое текстового поля без изменения");
    roughness.unit = tr(lang, " mm.", " мм.");
    roughness.errorPrefix = numberEntryPrefix(lang);
    roughness.initialText = "Default";
    roughness.defaultAnswer = "Default";
    return roughness;
}

std::string roughnessRefused(LanguageFlagType lang) {
    return tr(lang, "The height of the wall asperities must be above zero.",
              "Высота микронеровностей стенки должна быть больше нуля.");
}

AlternRequest tubeMaterialRequest(LanguageFlagType lang) {
    AlternRequest material;
    material.id = "tube_loss.material";
    material.caption = additionalData(lang);
    material.groupCaption = pipesGroup(lang);
    material.question = tr(lang, "Describe a material and a condition of pipes",
                           "Охарактеризуйте материал и состояние труб");
    material.alternatives = {
        tr(lang, "steel seamless new", "стальные бесшовные новые"),
        tr(lang, "steel seamless used cleared", "стальные бесшовные б/у очищенные"),
        tr(lang, "steel welded new", "стальные сварные новые"),
        tr(lang, "steel welded used at even corrosion",
           "стальные сварные б/у при равномерной коррозии"),
        tr(lang, "steel solid-drawn and welded at slight corrosion",
           "стальные цельнотянутые и сварные при незнач. коррозии"),
        tr(lang, "aluminium technically sleek", "алюминиевые технически гладкие"),
        tr(lang, "clear solid-drawn from brass, copper", "чистые цельнотянутые из латуни, меди")};
    // Headless answers name the row of the roughness table, "0" to "6".
    material.keywords = {"0", "1", "2", "3", "4", "5", "6"};
    material.defaultIndex = 0;
    return material;
}

std::string noTubeMaterial(LanguageFlagType lang) {
    return tr(lang, "No tube material was chosen for the wall roughness.",
              "Не выбран материал труб для шероховатости стенки.");
}

std::string tubeLossLabel(LanguageFlagType lang) {
    return tr(lang, "  Losses of pressure in trumpet space:             ",
              "  Потери давления в трубном пространстве:            ");
}

std::string tubeLossLine(LanguageFlagType lang, Real loss_kPa) {
    return tubeLossLabel(lang) + lossNumber(loss_kPa) + tr(lang, " kPa.", " кПа.") + "\r\n";
}

std::string shellLossLabel(LanguageFlagType lang) {
    return tr(lang, "  Losses of pressure in intertrumpet space:             ",
              "  Потери давления в межтрубном пространстве:            ");
}

std::string shellLossLine(LanguageFlagType lang, Real loss_kPa) {
    return shellLossLabel(lang) + lossNumber(loss_kPa) + tr(lang, " kPa.", " кПа.") + "\r\n";
}

std::string shellLossNeedsCompartments(LanguageFlagType lang) {
    return shellLossLabel(lang) +
           tr(lang,
              "not computed: the stream-analysis method needs at least two baffle "
              "compartments (shell passes).",
              "не рассчитаны: метод анализа потоков требует не менее двух отсеков "
              "между перегородками (ходов в межтрубном пространстве).") +
           "\r\n";
}

std::string shellGeometryLines(LanguageFlagType lang, Real pitch, Real bundleClearance_mm,
                               Real casingGap_mm) {
    return tr(lang, "  Step of pipe column:                                ",
              "  Шаг пучка труб:                                     ") +
           formatGeneral(pitch, 6, 2) + tr(lang, " m;", " м;") + "\r\n" +
           tr(lang, "  Difference between internal diameter of a casing    ",
              "  Разность между внутренним диаметром кожуха          ") +
           "\r\n" +
           tr(lang, "      and external diameter of pipe column:           ",
              "         и наружным диаметром пучка труб:             ") +
           formatGeneral(bundleClearance_mm, 6, 2) + tr(lang, " mm;", " мм;") + "\r\n" +
           tr(lang, "  gap between the casing and the baffle:              ",
              "  зазор между кожухом и перегородкой:                 ") +
           formatGeneral(casingGap_mm, 6, 2) + tr(lang, " mm", " мм") + "\r\n";
}

std::string lossNotComputedLine(LanguageFlagType lang, bool shellSpace, const std::string& reason) {
    return (shellSpace ? shellLossLabel(lang) : tubeLossLabel(lang)) +
           std::string(tr(lang, "not computed: ", "не рассчитаны: ")) + reason + "\r\n";
}

std::string lossNotComputedWarning(LanguageFlagType lang, const std::string& reason) {
    return tr(lang, "The pressure loss is not computed: ", "Потери давления не рассчитаны: ") +
           reason;
}

}  // namespace vexamo::pressureLossTexts
