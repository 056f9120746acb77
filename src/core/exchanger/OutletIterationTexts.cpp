#include "exchanger/OutletIterationTexts.h"

#include "common/NumberFormat.h"

namespace vexamo::outletIterationTexts {

std::string designNeeded(LanguageFlagType lang) {
    return tr(lang,
              "The design data need tubes, passes, parallel flows and tube diameters above zero.",
              "В конструктивных данных число труб, ходов, параллельных потоков и диаметры труб "
              "должны быть больше нуля.");
}

std::string latentHeatNotPositive(LanguageFlagType lang, Real Ts) {
    return tr(lang, "The latent heat of the medium that changes phase is not above zero at ",
              "Теплота фазового перехода теплоносителя не больше нуля при ") +
           formatShortest(Ts) + tr(lang, " degr.C.", " град.С.");
}

std::string balanceJumps(LanguageFlagType lang, Real T) {
    return tr(lang,
              "the heat balance changes side without passing through balance at the "
              "outlet temperature ",
              "тепловой баланс меняет знак, не проходя через равновесие, при "
              "температуре на выходе ") +
           formatShortest(T) + tr(lang, " degr.C", " град.С");
}

std::string surfaceRatioNotANumber(LanguageFlagType lang) {
    return tr(lang, "the ratio of the installed to the required surface is not a number",
              "отношение установленной поверхности к требуемой не является числом");
}

std::string fluxBalanceUnsolved(int end, Real difference) {
    static const char* const where[] = {"at the inlet end", "at the outlet end",
                                        "at the mean state"};
    return std::string("the heat-flux balance across the wall has no solution ") + where[end] +
           " (temperature difference " + formatShortest(difference) + " K)";
}

std::string incorrectMode(LanguageFlagType lang) {
    return tr(lang, "    ATTENTION! Incorrect technological mode!\r\n",
              "    ВНИМАНИЕ! Некорректный технологический режим!\r\n");
}

std::string outsideInterval(LanguageFlagType lang, const Duty& duty, Real T, bool nearSaturation) {
    const bool up = duty.heated;
    if (nearSaturation) {
        return lang == kEnglish
                   ? std::string(" The outlet temperature of the ") + (up ? "heated" : "cooled") +
                         " medium, " + formatShortest(T) + " degr.C, comes within " +
                         formatShortest(duty.drivingForceLimit) + " degr.C of the " +
                         (up ? "condensation" : "boiling") + " temperature " +
                         formatShortest(duty.saturation) +
                         " degr.C: the surface is too large for the given flow (or the convergence "
                         "constant too large)."
                   : std::string(" Температура ") + (up ? "нагреваемого" : "охлаждаемого") +
                         " теплоносителя на выходе, " + formatShortest(T) + " град.С, ближе " +
                         formatShortest(duty.drivingForceLimit) + " град.С к температуре " +
                         (up ? "конденсации " : "кипения ") + formatShortest(duty.saturation) +
                         " град.С: поверхность слишком велика для заданного расхода (или слишком "
                         "велика константа "
                         "сходимости).";
    }
    return lang == kEnglish
               ? std::string(" The outlet temperature of the ") + (up ? "heated" : "cooled") +
                     " medium, " + formatShortest(T) +
                     " degr.C, hardly differs from its inlet temperature " +
                     formatShortest(duty.inlet) +
                     (duty.phaseChangeFlowGiven
                          ? std::string(" degr.C: the surface cannot pass the heat of the given "
                                        "flow of the ") +
                                (up ? "condensing" : "boiling") + " medium."
                          : std::string(
                                " degr.C: the surface is too small for the given flow of the ") +
                                (up ? "heated" : "cooled") + " medium.")
               : std::string(" Температура ") + (up ? "нагреваемого" : "охлаждаемого") +
                     " теплоносителя на выходе, " + formatShortest(T) +
                     " град.С, почти не отличается от температуры на входе " +
                     formatShortest(duty.inlet) +
                     (duty.phaseChangeFlowGiven
                          ? std::string(" град.С: поверхность не может передать теплоту заданного "
                                        "расхода ") +
                                (up ? "конденсирующегося" : "кипящего") + " теплоносителя."
                          : std::string(
                                " град.С: поверхность слишком мала для заданного расхода ") +
                                (up ? "нагреваемого" : "охлаждаемого") + " теплоносителя.");
}

std::string impossibleDuty(LanguageFlagType lang, const Duty& duty, bool atSaturation,
                           Real installed) {
    const bool up = duty.heated;
    const std::string surface = formatGeneral(installed, 6, 2);
    std::string text;
    if (lang == kEnglish) {
        const std::string singlePhase = up ? "heated" : "cooled";
        const std::string phaseChange = up ? "condensing" : "boiling";
        text = " The duty cannot be met: ";
        if (atSaturation)
            text += "with the installed surface of " + surface + " m^2 the " + singlePhase +
                    " medium would leave within " + formatShortest(duty.drivingForceLimit) +
                    " degr.C of the " + (up ? "condensation" : "boiling") + " temperature " +
                    formatGeneral(duty.saturation, 6, 2) + " degr.C; the given flow of the " +
                    (duty.phaseChangeFlowGiven ? phaseChange : singlePhase) +
                    " medium is too small for this surface.";
        else if (duty.phaseChangeFlowGiven)
            text += "the installed surface of " + surface +
                    " m^2 cannot pass the heat of the given flow of the " + phaseChange +
                    " medium, however large the flow of the " + singlePhase + " medium.";
        else
            text += "the installed surface of " + surface +
                    " m^2 is too small for the given flow of the " + singlePhase +
                    " medium: its temperature would hardly change.";
        text += " The calculation ends without results.";
    } else {
        const std::string singlePhase = up ? "нагреваемого" : "охлаждаемого";
        const std::string phaseChange = up ? "конденсирующегося" : "кипящего";
        text = " Режим невыполним: ";
        if (atSaturation)
            text += "при установленной поверхности " + surface + " м^2 температура " + singlePhase +
                    " теплоносителя на выходе была бы ближе " +
                    formatShortest(duty.drivingForceLimit) + " град.С к температуре " +
                    (up ? "конденсации " : "кипения ") + formatGeneral(duty.saturation, 6, 2) +
                    " град.С; заданный расход " +
                    (duty.phaseChangeFlowGiven ? phaseChange : singlePhase) +
                    " теплоносителя слишком мал для этой поверхности.";
        else if (duty.phaseChangeFlowGiven)
            text += "установленная поверхность " + surface +
                    " м^2 не может передать теплоту заданного расхода " + phaseChange +
                    " теплоносителя при сколь угодно большом расходе " + singlePhase +
                    " теплоносителя.";
        else
            text += "установленная поверхность " + surface +
                    " м^2 слишком мала для заданного расхода " + singlePhase +
                    " теплоносителя: его температура почти не изменилась бы.";
        text += " Расчет закончен без результатов.";
    }
    return text;
}

}  // namespace vexamo::outletIterationTexts
