#include "exchanger/BoilingTexts.h"

#include "common/NumberFormat.h"
#include "exchanger/ExchangerTexts.h"

namespace vexamo::boilingTexts {

namespace {

std::string general4(Real v) { return formatGeneral(v, 4, 2); }

}  // namespace

std::string drivingForceWarning(LanguageFlagType lang, Real difference, Real Tb, Real Tc) {
    std::string text;
    if (difference >= 0)
        text = exchangerTexts::drivingForceTooSmall(lang, difference);
    else
        text = lang == kEnglish
                   ? "The temperature in a zone of boiling " + general4(Tb) + " degr.C exceeds" +
                         "\r\n" + " temperature in a zone of condensation " + general4(Tc) +
                         " degr.C."
                   : "Температура в зоне кипения " + general4(Tb) + " град.С превышает" + "\r\n" +
                         " температуру в зоне конденсации " + general4(Tc) + " град.С.";
    return lang == kEnglish
               ? "    ATTENTION! Incorrect technological mode! \r\n" + text + "\r\n" +
                     "It is recommended to increase pressure in a zone of condensation or to" +
                     "\r\n" +
                     "reduce pressure in a zone of boiling or to increase the contents of" +
                     "\r\n" +
                     "high-boiling components in a condensed mix or to increase the contents" +
                     "\r\n" + "low-boiling components in a boiling mix."
               : "    ВНИМАНИЕ! Некорректный технологический режим! \r\n" + text + "\r\n" +
                     "Рекомендуется увеличить давление в зоне конденсации или уменьшить давление в "
                     "зоне" +
                     "\r\n" +
                     "кипения или увеличить содержание высококипящих компонентов в "
                     "конденсирующейся" +
                     "\r\n" +
                     "смеси или увеличить содержание низкокипящих компонентов в кипящей смеси.";
}

std::string latentHeatNotPositive(LanguageFlagType lang) {
    return tr(lang, "The latent heat of a medium is not above zero.",
              "Теплота фазового перехода теплоносителя не больше нуля.");
}

}  // namespace vexamo::boilingTexts
