#include "exchanger/ExchangerTexts.h"

#include "common/NumberFormat.h"

namespace vexamo::exchangerTexts {

std::string givenFlowNotPositive(LanguageFlagType lang) {
    return tr(lang, "The given flow rate must be positive.",
              "Заданный расход должен быть положительным.");
}

std::string casingDiameterNeeded(LanguageFlagType lang) {
    return tr(lang, "The inner diameter of the casing is needed for the shell-side flow.",
              "Для потока в межтрубном пространстве нужен внутренний диаметр кожуха.");
}

std::string iterationLimitReached(LanguageFlagType lang, int limit) {
    return tr(lang, "The iteration did not converge within ", "Итерации не сошлись за ") +
           std::to_string(limit) + tr(lang, " steps.", " шагов.");
}

std::string progressLine(LanguageFlagType lang, int iteration, const std::string& label, Real T) {
    // English shows ten significant digits, Russian eight.
    return lang == kEnglish ? " Number of iteration " + std::to_string(iteration) + label +
                                  formatGeneral(T, 10, 2) + " degr.C;"
                            : " Число итераций " + std::to_string(iteration) + label +
                                  formatGeneral(T, 8, 2) + " град.С;";
}

std::string drivingForceTooSmall(LanguageFlagType lang, Real difference) {
    return tr(lang, "driving force of process of heat transfer ",
              "Движущая сила процесса теплопередачи ") +
           formatGeneral(difference, 4, 2) +
           tr(lang, " degr.C is too small.", " град.С слишком мала.");
}

}  // namespace vexamo::exchangerTexts
