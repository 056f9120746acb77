#include "common/InputBounds.h"

#include "common/NumberFormat.h"

namespace vexamo {

std::optional<std::string> temperatureBeyondBound(Real temperature_C,
                                                  LanguageFlagType languageFlag) {
    if (temperature_C <= kMaxInletTemperature_C) return std::nullopt;
    return tr(languageFlag, "The temperature must not be above 1000 deg.C: ",
              "Температура должна быть не выше 1000 град.С: ");
}

std::optional<std::string> pressureBeyondBound(Real pressure_kgfcm2,
                                               LanguageFlagType languageFlag) {
    if (pressure_kgfcm2 <= kMaxPressure_kgfcm2) return std::nullopt;
    return tr(languageFlag, "The pressure must not be above 200 kgf/cm2: ",
              "Давление должно быть не выше 200 кгс/см2: ");
}

std::optional<std::string> flowRateBeyondBound(Real flowRate_kg_h, LanguageFlagType languageFlag) {
    if (flowRate_kg_h <= kMaxFlowRate_kg_h) return std::nullopt;
    return tr(languageFlag, "The flow rate must not be above 1E8 kg/hour: ",
              "Расход должен быть не выше 1E8 кг/час: ");
}

Real mostTubesInCasing(Real shellDiameter, Real outerDiameter, bool staggered) {
    const Real pitch = 1.25L * outerDiameter;
    const Real perTube = (staggered ? 0.8660254037844386468L : 1.0L) * pitch * pitch;
    return 3.141592653589793238462643383279502884L * shellDiameter * shellDiameter / 4 / perTube;
}

std::optional<std::string> bundleDoesNotFit(unsigned tubeCount, Real shellDiameter,
                                            Real outerDiameter, bool staggered,
                                            LanguageFlagType lang) {
    if (!(shellDiameter > 0) || !(outerDiameter > 0)) return std::nullopt;
    const Real most = mostTubesInCasing(shellDiameter, outerDiameter, staggered);
    if (tubeCount <= most) return std::nullopt;
    return std::to_string(tubeCount) + tr(lang, " tubes of ", " труб диаметром ") +
           formatShortest(outerDiameter) +
           tr(lang, " m cannot fit in a casing of ", " м не помещаются в кожух диаметром ") +
           formatShortest(shellDiameter) +
           tr(lang, " m: at the smallest usual pitch of 1.25 d (",
              " м: при наименьшем обычном шаге 1.25 d (") +
           (staggered ? tr(lang, "triangular", "по треугольнику")
                      : tr(lang, "square", "по квадрату")) +
           tr(lang, ") it holds at most ", ") в нем помещается не более ") +
           std::to_string(static_cast<long long>(most)) +
           tr(lang, "; the design data should be checked",
              "; конструктивные параметры следует проверить");
}

std::optional<std::string> inletsWithoutDrivingForce(Real heated_C, Real cooled_C,
                                                     LanguageFlagType languageFlag) {
    if (heated_C < cooled_C) return std::nullopt;
    return tr(languageFlag, "The heated medium must enter colder than the cooled one: ",
              "Нагреваемый теплоноситель должен входить холоднее охлаждаемого: ") +
           formatShortest(heated_C) + tr(languageFlag, " deg.C against ", " град.С против ") +
           formatShortest(cooled_C) + tr(languageFlag, " deg.C", " град.С");
}

}  // namespace vexamo
