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

std::string speedWarning(LanguageFlagType lang, Real speed) {
    return lang == kEnglish
               ? " ATTENTION! Speed of the heat-transfer medium in trumpet/intertrumpet space \r\n "
                 "W =" +
                     formatGeneral(speed, 8, 2) + " m/sec exceeds limiting value recommended " +
                     "\r\n" +
                     "for production pipelines of 2.5 m/sec. For reduction of speed it is "
                     "possible:" +
                     "\r\n" + "   - to reduce number of courses in tubal space," + "\r\n" +
                     "   - to increase number of co-currents of the heat-transfer medium," +
                     "\r\n" +
                     "   - to reduce temperature of the heat-transfer medium on entrance," +
                     "\r\n" +
                     "   - to set a new initial approximation of temperature of the heat-transfer" +
                     "\r\n" + "     medium on entrance (on 5 - 15 degr.C  less then Tcond)."
               : " ВНИМАНИЕ! Скоpость теплоносителя в тpубном/межтрубном \r\nпpостpанстве W = " +
                     formatGeneral(speed, 6, 2) + " м/с пpевышает pекомендованное" + "\r\n" +
                     "для пpомышленных тpубопpоводов пpедельное значение " + "\r\n" +
                     "2.5 м/с. Для уменьшения скоpости можно:" + "\r\n" +
                     " - уменьшеншить число ходов в тpубном пpостpанстве,      " + "\r\n" +
                     " - увеличить число паpалельных потоков теплоносителя,    " + "\r\n" +
                     " - уменьшить темпеpатуpу теплоносителя на входе.         " + "\r\n" +
                     " - задать новое начальное пpиближение темпеpатуpы тепло- " + "\r\n" +
                     "   носителя на входе (на 5 - 15 гpад. С  меньше Tcond).";
}

}  // namespace vexamo::exchangerTexts
