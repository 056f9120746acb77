#pragma once
// The technological data dialog (TfmHexData) without its window: the state it
// keeps between showings, its handlers and checks, and the harvest into the
// stream records. The desktop form and the command line drive this model.
#include <array>
#include <optional>
#include <string>
#include <vector>

#include "common/Real.h"
#include "common/Text.h"
#include "dialogs/GenericDialogs.h"
#include "problem/ProblemRecords.h"

namespace vexamo {

class TechnologicalDialogModel {
public:
    // One half of the window: suffix 1 tube space, 2 shell space.
    struct Side {
        std::vector<std::string> processList;  // cbProcessN entries (current language)
        std::string processText;               // cbProcessN text ("" = nothing chosen)
        std::vector<std::string> substances;   // clQualRatioN entries
        std::vector<bool> checked;             // clQualRatioN check marks
        bool consumptionChecked = false;       // chbConsumpN
        bool consumptionEnabled = false;       // edConsumN enabled
        bool temperatureEnabled = true;        // edTempN
        bool pressureEnabled = true;           // edPressN
        std::string consumptionText;           // edConsumN
        std::string temperatureText;           // edTempN
        std::string pressureText;              // edPressN
        // values held between showings
        int process = -1;              // position in the full process list
        std::uint8_t givenState = 0;   // 't' or 'p'
        std::uint8_t phaseLetter = 0;  // 'x', 'y' or 0
        Real enteredValue = 0;         // degC, or mm Hg
        Real flowRate = 0;
        std::vector<std::uint16_t> checkedPositions;  // at most six
        std::uint8_t singlePhase = 0;
        std::uint8_t selectionChanged = 0;
        // The temperature or pressure text pre-filled from the records and the
        // exact value it rounds ('t' degC, 'p' kgf/cm2; 0 none): confirmed
        // unchanged, the exact value is taken, not its two-decimal text.
        std::uint8_t prefilledState = 0;
        std::string prefilledText;
        Real prefilledValue = 0;
    };

    std::array<Side, 2> sides;  // [0] tube space, [1] shell space
    std::uint8_t FlowSide = 0;
    int PairCode = 0;              // the dialog's tag
    std::string caption;           // window caption
    std::string selectAllCaption;  // bitbtSelAll1, bitbtSelAll2 ("Select All" / "Выбр. все")
    std::vector<std::string> processNames;  // the full process list (current language)
    // True once bitbtOkClick accepted the values of this showing (prepare and
    // every OK reset it); TechnoActionExecute harvests only then.
    bool accepted = false;

    // TechnoActionExecute before showing: lists in the current language (the
    // substances of `table`), no entry checked, no process chosen; pre-filled
    // from the stream records of `problem` when dataLoaded is 1.
    void prepare(const std::vector<Pro>& table, const ProblemData& problem, std::uint8_t dataLoaded,
                 LanguageFlagType languageFlag);
    // Handlers, side = 0 (suffix 1) or 1 (suffix 2).
    void FormActivate(LanguageFlagType languageFlag);
    void cbProcessSelect(int side);  // after processText was set
    void bitbtPrussClick();          // "Delete": full lists on both sides
    void bitbtSelAllClick(int side);
    void bitbtAnSelAllClick(int side);
    void chbConsumpClick(int side, bool checked);
    void clQualRatioClickCheck(int side, std::size_t entry, bool checked);
    // OK: the checks in their order; on acceptance the values are read and the
    // dialog may close. Besides the form's own checks it refuses a given flow
    // rate or a pressure that is not above zero, a temperature not above
    // -273.15 degC and more than six checked components. The values held
    // between showings change only when every check passed.
    DialogCheck bitbtOkClick(LanguageFlagType languageFlag);
    // After OK: into TubeStream and ShellStream of `problem`; the per-stream
    // letters and entered values stay here for stream preparation.
    void harvest(ProblemData& problem) const;

private:
    // The numbers of OK as they were read, before they are kept.
    struct TypedNumbers {
        std::array<Real, 2> flow{};
        std::uint8_t flowSide = 0;
        std::array<std::uint8_t, 2> givenState{};
        std::array<Real, 2> entered{};  // degC, or mm Hg
    };

    void fillProcessList(std::size_t side);
    // The first check of OK that finds an empty choice or field.
    std::optional<DialogCheck> emptyFieldRefusal(LanguageFlagType languageFlag) const;
    // Flow rates, temperatures and pressures by their field rules.
    std::optional<DialogCheck> readNumbers(LanguageFlagType languageFlag, TypedNumbers& n) const;
};

}  // namespace vexamo
