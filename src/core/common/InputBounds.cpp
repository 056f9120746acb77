#include "common/InputBounds.h"

#include "common/NumberFormat.h"

namespace vexamo {

std::optional<std::string> temperatureBeyondBound(Real temperature_C, LanguageFlagType languageFlag) {
    if (temperature_C <= kMaxInletTemperature_C) return std::nullopt;
    return tr(languageFlag, "The temperature must not be above 1000 deg.C: ",
              "Температура должна быть не выше 1000 град.С: ");
}

std::optional<std::string> pressureBeyondBound(Real pressure_kgfcm2, LanguageFlagType languageFlag) {
    if (pressure_kgfcm2 <= kMaxPressure_kgfcm2) return std::nullopt;
    return tr(languageFlag, "The pressure must not be above 200 kgf/cm2: ",
              "Давление должно быть не выше 200 кгс/см2: ");
}

std::optional<std::string> flowRateBeyondBound(Real flowRate_kg_h, LanguageFlagType languageFlag) {
    if (flowRate_kg_h <= kMaxFlowRate_kg_h) return std::nullopt;
    return tr(languageFlag, "The flow rate must not be above 1E8 kg/hour: ",
              "Расход должен быть не выше 1E8 кг/час: ");
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
