#include "exchanger/CondensationExchangers.h"

namespace vexamo {

namespace {

// The texts both condensation pairs share; `tubeSide` names the space of the
// heated medium in the warning.
TOutletIterationObj::Setup condensationSetup(LanguageFlagType lang, bool heatedInTubes) {
    TOutletIterationObj::Setup s;
    s.drivingForceLimit = 1;
    s.negativeMiddle = tr(lang, " degr.C exceeds temperature in a zone of condensation ",
                          " град.С превышает температуру в зоне конденсации ");
    s.negativeTail = tr(lang, " degr.C.", " град.С.");
    if (!heatedInTubes) {
        s.negativeLead = tr(lang,
                            "     Temperature of the heat-transfer medium on the input of outside "
                            "of tubes of the heat\r\nexchanger ",
                            "     Температура теплоносителя на входе в межтрубное пространство "
                            "теплооб-\r\nменника ");
        s.recommendation =
            lang == kEnglish
                ? std::string(
                      "    It is recommended to reduce temperature on the input of outside of "
                      "tubes of the heat") +
                      "\r\n" +
                      "exchanger or to increase pressure in a zone of condensation or to increase "
                      "the contents" +
                      "\r\n" + "of high-boiling components in a condensed mix"
                : std::string(
                      "    Рекомендуется уменьшить температуру на входе в межтрубное "
                      "пространство") +
                      "\r\n" +
                      "теплообменника или увеличить давление в зоне конденсации или увеличить" +
                      "\r\n" + "содержание высококипящих компонентов в конденсирующейся смеси.";
    } else {
        s.negativeLead = tr(
            lang,
            "     Temperature of the heat-transfer medium on the input of tubal space of the "
            "heat\r\nexchanger ",
            "     Температура теплоносителя на входе в трубное пространство теплооб-\r\nменника ");
        s.recommendation =
            lang == kEnglish
                ? std::string(
                      "    It is recommended to reduce temperature on the input of tubal space of "
                      "the heat") +
                      "\r\n" +
                      "exchanger or to increase pressure in a zone of condensation or to increase "
                      "the contents" +
                      "\r\n" + "of high-boiling components in a condensed mix"
                : std::string(
                      "    Рекомендуется уменьшить температуру на входе в трубное пространство") +
                      "\r\n" +
                      "теплообменника или увеличить давление в зоне конденсации или увеличить" +
                      "\r\n" + "содержание высококипящих компонентов в конденсирующейся смеси.";
    }
    return s;
}

TOutletIterationObj::Setup conHeatSetup(LanguageFlagType lang) {
    TOutletIterationObj::Setup s = condensationSetup(lang, false);
    s.phaseChangeInTubes = true;
    s.film = TOutletIterationObj::FilmKind::CondensationInTubes;
    s.slowConvergenceLimit = 120;
    s.progressLabel =
        tr(lang, "; Temperature of the heat-carrier on output from intertrumpet space = ",
           "; Темпеpатура теплоносителя на выходе из межтpубного пpостpанства = ");
    s.pressureLossBox = true;
    return s;
}

TOutletIterationObj::Setup heatConSetup(LanguageFlagType lang) {
    TOutletIterationObj::Setup s = condensationSetup(lang, true);
    s.phaseChangeInTubes = false;
    s.film = TOutletIterationObj::FilmKind::CondensationOnBundle;
    s.slowConvergenceLimit = 130;
    s.progressLabel = tr(lang, "; Temperature of the heat-carrier on output from trumpet space = ",
                         "; Темпеpатура теплоносителя на выходе из тpубного пpостpанства = ");
    return s;
}

}  // namespace

TConHeatObj::TConHeatObj(const ExchangerArguments& a)
    : TOutletIterationObj(a, conHeatSetup(a.context.language)) {}

THeatConObj::THeatConObj(const ExchangerArguments& a)
    : TOutletIterationObj(a, heatConSetup(a.context.language)) {}

}  // namespace vexamo
