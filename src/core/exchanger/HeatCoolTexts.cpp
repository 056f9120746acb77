#include "exchanger/HeatCoolTexts.h"

#include "common/NumberFormat.h"

namespace vexamo::heatCoolTexts {

std::string passesNotEven(LanguageFlagType lang, int tubePasses) {
    return tr(lang,
              "The heating-cooling calculation needs an even number of tube passes (2 or 4); "
              "the design data give ",
              "Расчет нагрева-охлаждения требует четного числа ходов в трубах (2 или 4); "
              "в конструктивных данных ") +
           std::to_string(tubePasses) + ".";
}

std::string designNeeded(LanguageFlagType lang) {
    return tr(lang,
              "The design data need tubes, parallel flows, a tube length and tube diameters above "
              "zero.",
              "В конструктивных данных число труб, параллельных потоков, длина и диаметры труб "
              "должны быть больше нуля.");
}

std::string shellInletBeyondOutlet(LanguageFlagType lang, bool shellCooled, Real T2in) {
    return tr(lang, "The shell-side outlet temperature of this calculation is 40 degr.C: a ",
              "Температура на выходе из межтрубного пространства в этом расчете 40 град.С: ") +
           std::string(shellCooled ? tr(lang, "cooled medium must enter above it",
                                        "охлаждаемый теплоноситель должен входить выше нее")
                                   : tr(lang, "heated medium must enter below it",
                                        "нагреваемый теплоноситель должен входить ниже нее")) +
           tr(lang, " (shell inlet ", " (вход в межтрубное пространство ") + formatShortest(T2in) +
           tr(lang, " degr.C).", " град.С).");
}

std::string tubeInletBeyondOutlet(LanguageFlagType lang, bool shellCooled, Real T1in) {
    // A medium is never cooled below (or heated above) the inlet of the one it meets.
    return tr(lang, "The shell-side outlet temperature of this calculation is 40 degr.C: the ",
              "Температура на выходе из межтрубного пространства в этом расчете 40 град.С: ") +
           std::string(
               shellCooled
                   ? tr(lang, "heated medium in the tube space must enter below it (tube inlet ",
                        "нагреваемый теплоноситель в трубном пространстве должен входить "
                        "ниже нее (вход в трубное пространство ")
                   : tr(lang, "cooled medium in the tube space must enter above it (tube inlet ",
                        "охлаждаемый теплоноситель в трубном пространстве должен входить "
                        "выше нее (вход в трубное пространство ")) +
           formatShortest(T1in) +
           std::string(shellCooled
                           ? tr(lang,
                                " degr.C), since the shell medium cannot leave colder than the "
                                "medium that cools it.",
                                " град.С): теплоноситель межтрубного пространства не может выйти "
                                "холоднее того, который его охлаждает.")
                           : tr(lang,
                                " degr.C), since the shell medium cannot leave hotter than the "
                                "medium that heats it.",
                                " град.С): теплоноситель межтрубного пространства не может выйти "
                                "горячее того, который его нагревает."));
}

std::string noBalance(LanguageFlagType lang, bool shellFlowGiven, Real installed, Real T1in,
                      Real T2in) {
    if (shellFlowGiven)
        return tr(lang, "The installed surface of ", "Установленная поверхность ") +
               formatGeneral(installed, 6, 2) +
               tr(lang,
                  " m^2 cannot pass the heat of the given flow in the intertrumpet space: even an "
                  "unbounded flow in "
                  "the trumpet space would not bring its outlet to 40 degr.C. Give a larger "
                  "surface "
                  "or a smaller flow.",
                  " м^2 не может передать теплоту заданного расхода в межтрубном пространстве: "
                  "даже "
                  "неограниченный "
                  "расход в трубном пространстве не доведет температуру на выходе из него до 40 "
                  "град.С. Задайте "
                  "большую поверхность или меньший расход.");
    return tr(lang, "No outlet temperature of the trumpet space between ",
              "Никакая температура на выходе из трубного пространства между ") +
           formatShortest(T1in) + tr(lang, " and ", " и ") + formatShortest(T2in) +
           tr(lang, " degr.C balances the heat of both media over the installed surface of ",
              " град.С не сводит тепловой баланс обоих теплоносителей на установленной "
              "поверхности ") +
           formatGeneral(installed, 6, 2) + tr(lang, " m^2.", " м^2.");
}

std::string noPositiveFlow(LanguageFlagType lang, Real T) {
    return tr(lang, "The heat balance gives no positive flow rate at the outlet temperature ",
              "Тепловой баланс не дает положительного расхода при температуре на выходе ") +
           formatShortest(T) + tr(lang, " degr.C.", " град.С.");
}

std::string coefficientNotPositive(LanguageFlagType lang) {
    return tr(lang, "the overall heat transfer coefficient is not a positive number",
              "коэффициент теплопередачи не является положительным числом");
}

std::string meanStateUnsettled(LanguageFlagType lang, Real T) {
    return tr(lang,
              "the overall coefficient of the mean state does not settle at the outlet "
              "temperature ",
              "коэффициент теплопередачи среднего состояния не устанавливается при температуре на "
              "выходе ") +
           formatShortest(T) + tr(lang, " degr.C", " град.С");
}

std::string balanceNotANumber(LanguageFlagType lang) {
    return tr(lang, "the heat balance of the surface is not a number",
              "тепловой баланс поверхности не является числом");
}

std::string progressLabel(LanguageFlagType lang) {
    return tr(lang, "; Temperature of the heat-carrier on output from trumpet space = ",
              "; Темпеpатура теплоносителя на выходе из тpубного пpостpанства = ");
}

std::string passTemperatures(const std::vector<Real>& passes) {
    std::string text;
    for (std::size_t i = 1; i <= passes.size(); ++i)
        text += " Art[" + std::to_string(i) + "] = " + formatShortest(passes[i - 1]);
    return text;
}

std::string meanState(Real shellMean, Real tubeMean, Real T2out, Real T1out, Real heatFlux) {
    return " deltaT =" + formatShortest(shellMean - tubeMean) +
           " Tmid2 = " + formatShortest(shellMean) + " Tmid1 = " + formatShortest(tubeMean) +
           " Tout2 = " + formatShortest(T2out) + " Tout1 = " + formatShortest(T1out) +
           " Qu =" + formatShortest(heatFlux);
}

}  // namespace vexamo::heatCoolTexts
