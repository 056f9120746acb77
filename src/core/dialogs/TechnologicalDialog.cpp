#include "dialogs/TechnologicalDialog.h"

#include <algorithm>

#include "common/Constants.h"
#include "common/InputBounds.h"
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

std::string controlName(const char* prefix, std::size_t side) {
    return prefix + std::to_string(side + 1);
}

// The lowest temperature a medium can have, degC.
constexpr Real kAbsoluteZero_C = -kZeroCelsius_K;

}  // namespace

void TechnologicalDialogModel::fillProcessList(std::size_t side) {
    sides[side].processList = processNames;
}

void TechnologicalDialogModel::prepare(const Session& session) {
    const LanguageFlagType lang = session.LanguageFlag;
    accepted = false;
    processNames.clear();
    for (int code = 0; code < 4; ++code) processNames.emplace_back(processName(code, lang));

    const auto& table = session.Data.SubstanceTable;
    for (std::size_t s = 0; s < sides.size(); ++s) {
        Side& side = sides[s];
        fillProcessList(s);
        side.processText.clear();  // refilling a drop-down list empties its text
        side.substances.clear();
        for (const Pro& substance : table)
            side.substances.push_back(lang == kEnglish ? substance.EnglishName
                                                       : substance.RussianName);
        side.checked.assign(side.substances.size(), false);
        side.prefilledState = 0;
        side.prefilledText.clear();
    }
    if (session.DataLoaded != 1) return;

    const std::array<const TechnSet*, 2> streams{&session.Problem.TubeStream,
                                                 &session.Problem.ShellStream};
    for (std::size_t s = 0; s < sides.size(); ++s) {
        const TechnSet& stream = *streams[s];
        const std::size_t count = std::min<std::size_t>(stream.ComponentCount, kMaxComponents);
        for (std::size_t i = 0; i < count; ++i) {
            // An index outside the table (a file from another table) checks nothing.
            const std::size_t entry = stream.ComponentIndex[i];
            if (entry < sides[s].checked.size()) sides[s].checked[entry] = true;
        }
    }
    for (std::size_t s = 0; s < sides.size(); ++s) {
        sides[s].processText = processName(streams[s]->ProcessCode, lang);
        cbProcessSelect(static_cast<int>(s));
    }
    for (std::size_t s = 0; s < sides.size(); ++s) sides[s].phaseLetter = streams[s]->PhaseChange;

    chbConsumpClick(0, true);
    if (streams[0]->FlowRate < 1e-8L) chbConsumpClick(0, false);

    for (std::size_t s = 0; s < sides.size(); ++s) {
        Side& side = sides[s];
        const TechnSet& stream = *streams[s];
        side.consumptionText = formatShortest(stream.FlowRate);
        if (stream.GivenState == 't') {
            side.temperatureText = formatFixed(stream.Temperature, 6, 2);
            side.pressureEnabled = false;
            side.prefilledState = 't';
            side.prefilledText = side.temperatureText;
            side.prefilledValue = stream.Temperature;
        } else {
            side.pressureText = formatFixed(paToKgfcm2(stream.Pressure), 6, 2);
            side.temperatureEnabled = false;
            side.prefilledState = 'p';
            side.prefilledText = side.pressureText;
            side.prefilledValue = paToKgfcm2(stream.Pressure);
        }
    }
}

void TechnologicalDialogModel::FormActivate(LanguageFlagType languageFlag) {
    caption = tr(languageFlag, "Choice of componental ratio of the heat-transfer medium",
                 "Выбор компонентного состава теплоносителя");
    selectAllCaption = tr(languageFlag, "Select All", "Выбр. все");
    if (!sides[1].consumptionChecked) {
        sides[1].consumptionEnabled = false;
        sides[0].consumptionChecked = true;
        sides[0].consumptionEnabled = true;
    }
    sides[0].selectionChanged = 0;
    sides[1].selectionChanged = 0;
}

void TechnologicalDialogModel::cbProcessSelect(int sideIndex) {
    if (sideIndex < 0 || sideIndex > 1) return;
    const auto s = static_cast<std::size_t>(sideIndex);
    Side& side = sides[s];
    Side& other = sides[1 - s];
    side.temperatureEnabled = true;
    side.pressureEnabled = true;

    const auto found = std::find(processNames.begin(), processNames.end(), side.processText);
    if (found == processNames.end()) return;
    const auto position = static_cast<std::size_t>(found - processNames.begin());

    // The processes the other side can pair with, and what this side gives.
    struct Row {
        std::size_t partners[2];
        bool temperatureGiven;
        std::uint8_t phaseLetter;
    };
    static constexpr Row kRows[4] = {
        {{1, 2}, false, 'x'},  // condensation: boiling, heating
        {{0, 3}, false, 'y'},  // boiling: condensation, cooling
        {{0, 3}, true, 0},     // heating: condensation, cooling
        {{1, 2}, true, 0},     // cooling: boiling, heating
    };
    if (position >= 4 || processNames.size() < 4) return;
    const Row& row = kRows[position];
    other.processList = {processNames[row.partners[0]], processNames[row.partners[1]]};
    if (row.temperatureGiven)
        side.pressureEnabled = false;
    else
        side.temperatureEnabled = false;
    side.phaseLetter = row.phaseLetter;
}

void TechnologicalDialogModel::bitbtPrussClick() {
    fillProcessList(0);
    fillProcessList(1);
}

void TechnologicalDialogModel::bitbtSelAllClick(int sideIndex) {
    if (sideIndex < 0 || sideIndex > 1) return;
    Side& side = sides[static_cast<std::size_t>(sideIndex)];
    std::fill(side.checked.begin(), side.checked.end(), true);
    side.selectionChanged = 1;
}

void TechnologicalDialogModel::bitbtAnSelAllClick(int sideIndex) {
    if (sideIndex < 0 || sideIndex > 1) return;
    Side& side = sides[static_cast<std::size_t>(sideIndex)];
    std::fill(side.checked.begin(), side.checked.end(), false);
}

void TechnologicalDialogModel::chbConsumpClick(int sideIndex, bool checked) {
    if (sideIndex < 0 || sideIndex > 1) return;
    Side& side = sides[static_cast<std::size_t>(sideIndex)];
    Side& other = sides[1 - static_cast<std::size_t>(sideIndex)];
    // Exactly one of the two check boxes is checked and its flow edit enabled.
    side.consumptionChecked = checked;
    side.consumptionEnabled = checked;
    other.consumptionChecked = !checked;
    other.consumptionEnabled = !checked;
}

void TechnologicalDialogModel::clQualRatioClickCheck(int sideIndex, std::size_t entry,
                                                     bool checked) {
    if (sideIndex < 0 || sideIndex > 1) return;
    Side& side = sides[static_cast<std::size_t>(sideIndex)];
    if (entry < side.checked.size()) side.checked[entry] = checked;
    side.selectionChanged = 1;
}

DialogCheck TechnologicalDialogModel::bitbtOkClick(LanguageFlagType languageFlag) {
    accepted = false;
    for (const Side& side : sides)
        if (std::none_of(side.checked.begin(), side.checked.end(), [](bool c) { return c; }))
            return warning(
                tr(languageFlag,
                   "Choose even on one component of composition for each heat-transfer "
                   "medium",
                   "Выберите хотя-бы по одному компоненту состава каждого теплоносителя"));
    for (const Side& side : sides)
        if (side.processText.empty())
            return warning(tr(languageFlag,
                              "Choose thermal processes in tubal space and outside of tubes",
                              "Выберите тепловые процессы в трубном и межтрубном пространстве"));
    for (const Side& side : sides)
        if (side.consumptionEnabled && side.consumptionText.empty())
            return warning(
                tr(languageFlag,
                   "Set consumptions of heat-transfer medium in trumpet or intertrumpet "
                   "space",
                   "Задайте расход теплоносителя в трубном или межтрубном пространстве"));
    for (const Side& side : sides)
        if (side.temperatureEnabled && side.temperatureText.empty())
            return warning(tr(languageFlag,
                              "Set temperatures of heat-carrier in trumpet or intertrumpet space",
                              "Задайте температуру теплоносителя в трубном или межтрубном "
                              "пространстве"));
    for (const Side& side : sides)
        if (side.pressureEnabled && side.pressureText.empty())
            return warning(tr(languageFlag,
                              "Set pressure of heat-carrier in trumpet or intertrumpet space",
                              "Задайте давление теплоносителя в трубном или межтрубном "
                              "пространстве"));

    // The numbers, in the order of the form. Nothing is kept until every
    // check has passed.
    const std::string prefix = numberEntryPrefix(languageFlag);
    std::optional<DialogCheck> failure;
    auto read = [&](const std::string& text, const std::string& focus, Real& value) {
        const auto number = parseReal(trimText(text));
        if (!number) {
            failure = warning(prefix + text, focus);
            return false;
        }
        value = *number;
        return true;
    };

    std::array<Real, 2> flow{};
    std::uint8_t flowSide = FlowSide;
    for (std::size_t s = 0; s < sides.size(); ++s) {
        if (!sides[s].consumptionEnabled) continue;
        const std::string focus = controlName("edConsum", s);
        if (!read(sides[s].consumptionText, focus, flow[s])) return *failure;
        // The given flow is divided by later on: it must be a real flow.
        if (!(flow[s] > 0))
            return warning(tr(languageFlag,
                              "The flow rate of the heat-transfer medium must be "
                              "greater than zero: ",
                              "Расход теплоносителя должен быть больше нуля: ") +
                               sides[s].consumptionText,
                           focus);
        if (auto beyond = flowRateBeyondBound(flow[s], languageFlag))
            return warning(*beyond + sides[s].consumptionText, focus);
        flow[1 - s] = 0;
        flowSide = static_cast<std::uint8_t>(s);
    }

    std::array<std::uint8_t, 2> givenState{};
    std::array<Real, 2> entered{};
    for (std::size_t s = 0; s < sides.size(); ++s) {
        const Side& side = sides[s];
        if (side.temperatureEnabled) {
            const std::string focus = controlName("edTemp", s);
            // A value from the problem file confirmed unchanged keeps its
            // precision (its text has two decimals only).
            if (side.prefilledState == 't' && side.temperatureText == side.prefilledText)
                entered[s] = side.prefilledValue;
            else if (!read(side.temperatureText, focus, entered[s]))
                return *failure;
            if (!(entered[s] > kAbsoluteZero_C))
                return warning(
                    tr(languageFlag,
                       "The temperature must be above absolute zero (-273.15 deg.C): ",
                       "Температура должна быть выше абсолютного нуля (-273.15 град.С): ") +
                        side.temperatureText,
                    focus);
            if (auto beyond = temperatureBeyondBound(entered[s], languageFlag))
                return warning(*beyond + side.temperatureText, focus);
            givenState[s] = 't';
        } else {
            const std::string focus = controlName("edPress", s);
            Real pressure_kgfcm2 = 0;
            if (side.prefilledState == 'p' && side.pressureText == side.prefilledText)
                pressure_kgfcm2 = side.prefilledValue;
            else if (!read(side.pressureText, focus, pressure_kgfcm2))
                return *failure;
            if (!(pressure_kgfcm2 > 0))
                return warning(tr(languageFlag, "The pressure must be greater than zero: ",
                                  "Давление должно быть больше нуля: ") +
                                   side.pressureText,
                               focus);
            if (auto beyond = pressureBeyondBound(pressure_kgfcm2, languageFlag))
                return warning(*beyond + side.pressureText, focus);
            givenState[s] = 'p';
            entered[s] = kgfcm2ToMmHg(pressure_kgfcm2);
        }
    }

    std::array<std::vector<std::uint16_t>, 2> positions;
    for (std::size_t s = 0; s < sides.size(); ++s) {
        for (std::size_t entry = 0; entry < sides[s].checked.size(); ++entry)
            if (sides[s].checked[entry]) positions[s].push_back(static_cast<std::uint16_t>(entry));
        if (positions[s].size() > static_cast<std::size_t>(kMaxComponents))
            return warning(
                tr(languageFlag, "A heat-transfer medium may have at most six components",
                   "Теплоноситель может содержать не более шести компонентов"),
                controlName("clQualRatio", s));
    }

    std::array<int, 2> process{};
    for (std::size_t s = 0; s < sides.size(); ++s) {
        const auto found =
            std::find(processNames.begin(), processNames.end(), sides[s].processText);
        process[s] =
            found == processNames.end() ? -1 : static_cast<int>(found - processNames.begin());
    }
    const int pair = pairCode(process[0], process[1]);
    if (pair == 0) {
        PairCode = 0;
        return warning(tr(languageFlag, "ATTENTION! Incorrect technological mode! \r\n         ",
                          "ВНИМАНИЕ! Некорректный технологический режим! \r\n         ") +
                       sides[0].processText + " - " + sides[1].processText);
    }

    // Heating and cooling: the heated medium (process code 2) must enter
    // colder than the cooled one (3).
    for (std::size_t heated = 0; heated < sides.size(); ++heated) {
        const std::size_t cooled = 1 - heated;
        if (process[heated] != 2 || process[cooled] != 3) continue;
        if (givenState[heated] != 't' || givenState[cooled] != 't') continue;
        if (auto crossed = inletsWithoutDrivingForce(entered[heated], entered[cooled], languageFlag))
            return warning(*crossed, controlName("edTemp", heated));
    }

    for (std::size_t s = 0; s < sides.size(); ++s) {
        Side& side = sides[s];
        side.flowRate = flow[s];
        side.givenState = givenState[s];
        side.enteredValue = entered[s];
        side.checkedPositions = positions[s];
        side.singlePhase = singlePhaseFor(process[s]);
        side.process = process[s];
    }
    FlowSide = flowSide;
    PairCode = pair;
    accepted = true;
    DialogCheck check;
    check.accepted = true;
    return check;
}

void TechnologicalDialogModel::harvest(Session& session) const {
    const std::array<TechnSet*, 2> streams{&session.Problem.TubeStream,
                                           &session.Problem.ShellStream};
    for (std::size_t s = 0; s < sides.size(); ++s) {
        const Side& side = sides[s];
        TechnSet& stream = *streams[s];
        session.EnteredState[s] = side.enteredValue;
        stream.FlowRate = side.flowRate;
        if (side.givenState == 't')
            stream.Temperature = side.enteredValue;
        else
            stream.Pressure = mmHgToPa(side.enteredValue);
        stream.ProcessCode = static_cast<std::uint8_t>(std::max(side.process, 0));
        stream.ProcessName = cutCharacters(side.processText, 20);
        stream.SinglePhase = side.singlePhase;
        stream.ComponentIndex.fill(0);
        const std::size_t count =
            std::min<std::size_t>(side.checkedPositions.size(), kMaxComponents);
        std::copy_n(side.checkedPositions.begin(), count, stream.ComponentIndex.begin());
        stream.ComponentCount = static_cast<std::uint16_t>(count);
        stream.SelectionChanged = side.selectionChanged;
    }
    session.TubeFlow = sides[0].flowRate;
    session.ShellFlow = sides[1].flowRate;
    session.FlowSide = FlowSide;
    session.PairCode = PairCode;
}

bool TechnoActionExecute(Session& session, Dialogs& dialogs) {
    TechnologicalDialogModel& model = session.TechnoDialog;
    model.prepare(session);
    model.FormActivate(session.LanguageFlag);
    const bool ok = dialogs.showTechnological(model) && model.accepted;
    if (ok) model.harvest(session);
    session.TechnoPending = false;
    session.TechnoEntered = true;
    return ok;
}

}  // namespace vexamo
