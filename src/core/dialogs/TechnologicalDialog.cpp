#include "dialogs/TechnologicalDialog.h"

#include <algorithm>

#include "common/Constants.h"
#include "common/InputBounds.h"
#include "common/NumberFormat.h"
#include "common/Str20.h"
#include "dialogs/FieldRules.h"

namespace vexamo {

namespace {

std::string controlName(const char* prefix, std::size_t side) {
    return prefix + std::to_string(side + 1);
}

}  // namespace

void TechnologicalDialogModel::fillProcessList(std::size_t side) {
    sides[side].processList = processNames;
}

void TechnologicalDialogModel::prepare(const std::vector<Pro>& table, const ProblemData& problem,
                                       std::uint8_t dataLoaded, LanguageFlagType lang) {
    accepted = false;
    processNames.clear();
    for (int code = 0; code < 4; ++code) processNames.emplace_back(processName(code, lang));

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
    if (dataLoaded != 1) return;

    const std::array<const TechnSet*, 2> streams{&problem.TubeStream, &problem.ShellStream};
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

std::optional<DialogCheck> TechnologicalDialogModel::emptyFieldRefusal(
    LanguageFlagType languageFlag) const {
    for (const Side& side : sides)
        if (std::none_of(side.checked.begin(), side.checked.end(), [](bool c) { return c; }))
            return warningCheck(
                tr(languageFlag,
                   "Choose even on one component of composition for each heat-transfer "
                   "medium",
                   "Выберите хотя-бы по одному компоненту состава каждого теплоносителя"));
    for (const Side& side : sides)
        if (side.processText.empty())
            return warningCheck(
                tr(languageFlag, "Choose thermal processes in tubal space and outside of tubes",
                   "Выберите тепловые процессы в трубном и межтрубном пространстве"));
    for (const Side& side : sides)
        if (side.consumptionEnabled && side.consumptionText.empty())
            return warningCheck(
                tr(languageFlag,
                   "Set consumptions of heat-transfer medium in trumpet or intertrumpet "
                   "space",
                   "Задайте расход теплоносителя в трубном или межтрубном пространстве"));
    for (const Side& side : sides)
        if (side.temperatureEnabled && side.temperatureText.empty())
            return warningCheck(tr(
                languageFlag, "Set temperatures of heat-carrier in trumpet or intertrumpet space",
                "Задайте температуру теплоносителя в трубном или межтрубном "
                "пространстве"));
    for (const Side& side : sides)
        if (side.pressureEnabled && side.pressureText.empty())
            return warningCheck(tr(languageFlag,
                                   "Set pressure of heat-carrier in trumpet or intertrumpet space",
                                   "Задайте давление теплоносителя в трубном или межтрубном "
                                   "пространстве"));
    return std::nullopt;
}

namespace {

// A typed number checked by its field rule; the control gets the side's suffix.
std::optional<DialogCheck> readChecked(const std::string& text, const RealFieldRule& rule,
                                       std::size_t side, LanguageFlagType languageFlag,
                                       const std::optional<Real>& prefilled, Real& value) {
    const std::string focus = controlName(rule.control, side);
    if (prefilled) {
        value = *prefilled;
    } else {
        const auto number = parseReal(trimText(text));
        if (!number) return warningCheck(numberEntryPrefix(languageFlag) + text, focus);
        value = *number;
    }
    if (auto refused = realRefusal(rule, value, languageFlag, text))
        return warningCheck(*refused, focus);
    return std::nullopt;
}

}  // namespace

std::optional<DialogCheck> TechnologicalDialogModel::readNumbers(LanguageFlagType languageFlag,
                                                                 TypedNumbers& n) const {
    n.flowSide = FlowSide;
    for (std::size_t s = 0; s < sides.size(); ++s) {
        if (!sides[s].consumptionEnabled) continue;
        // The given flow is divided by later on: it must be a real flow.
        if (auto refused = readChecked(sides[s].consumptionText, field::FlowRate, s, languageFlag,
                                       std::nullopt, n.flow[s]))
            return refused;
        n.flow[1 - s] = 0;
        n.flowSide = static_cast<std::uint8_t>(s);
    }
    for (std::size_t s = 0; s < sides.size(); ++s) {
        const Side& side = sides[s];
        // A value from the problem file confirmed unchanged keeps its
        // precision (its text has two decimals only).
        if (side.temperatureEnabled) {
            std::optional<Real> prefilled;
            if (side.prefilledState == 't' && side.temperatureText == side.prefilledText)
                prefilled = side.prefilledValue;
            if (auto refused = readChecked(side.temperatureText, field::Temperature, s,
                                           languageFlag, prefilled, n.entered[s]))
                return refused;
            n.givenState[s] = 't';
        } else {
            std::optional<Real> prefilled;
            if (side.prefilledState == 'p' && side.pressureText == side.prefilledText)
                prefilled = side.prefilledValue;
            Real pressure_kgfcm2 = 0;
            if (auto refused = readChecked(side.pressureText, field::Pressure, s, languageFlag,
                                           prefilled, pressure_kgfcm2))
                return refused;
            n.givenState[s] = 'p';
            n.entered[s] = kgfcm2ToMmHg(pressure_kgfcm2);
        }
    }
    return std::nullopt;
}

DialogCheck TechnologicalDialogModel::bitbtOkClick(LanguageFlagType languageFlag) {
    accepted = false;
    if (auto refused = emptyFieldRefusal(languageFlag)) return *refused;

    // The numbers, in the order of the form. Nothing is kept until every
    // check has passed.
    TypedNumbers n;
    if (auto refused = readNumbers(languageFlag, n)) return *refused;

    std::array<std::vector<std::uint16_t>, 2> positions;
    for (std::size_t s = 0; s < sides.size(); ++s) {
        for (std::size_t entry = 0; entry < sides[s].checked.size(); ++entry)
            if (sides[s].checked[entry]) positions[s].push_back(static_cast<std::uint16_t>(entry));
        if (positions[s].size() > static_cast<std::size_t>(kMaxComponents))
            return warningCheck(
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
        return warningCheck(tr(languageFlag,
                               "ATTENTION! Incorrect technological mode! \r\n         ",
                               "ВНИМАНИЕ! Некорректный технологический режим! \r\n         ") +
                            sides[0].processText + " - " + sides[1].processText);
    }

    // Heating and cooling: the heated medium (process code 2) must enter
    // colder than the cooled one (3).
    for (std::size_t heated = 0; heated < sides.size(); ++heated) {
        const std::size_t cooled = 1 - heated;
        if (process[heated] != 2 || process[cooled] != 3) continue;
        if (n.givenState[heated] != 't' || n.givenState[cooled] != 't') continue;
        if (auto crossed =
                inletsWithoutDrivingForce(n.entered[heated], n.entered[cooled], languageFlag))
            return warningCheck(*crossed, controlName(field::Temperature.control, heated));
    }

    for (std::size_t s = 0; s < sides.size(); ++s) {
        Side& side = sides[s];
        side.flowRate = n.flow[s];
        side.givenState = n.givenState[s];
        side.enteredValue = n.entered[s];
        side.checkedPositions = positions[s];
        side.singlePhase = singlePhaseFor(process[s]);
        side.process = process[s];
    }
    FlowSide = n.flowSide;
    PairCode = pair;
    accepted = true;
    DialogCheck check;
    check.accepted = true;
    return check;
}

void TechnologicalDialogModel::harvest(ProblemData& problem) const {
    const std::array<TechnSet*, 2> streams{&problem.TubeStream, &problem.ShellStream};
    for (std::size_t s = 0; s < sides.size(); ++s) {
        const Side& side = sides[s];
        TechnSet& stream = *streams[s];
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
}

}  // namespace vexamo
