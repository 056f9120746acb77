#pragma once
// The checks and computations of the generic dialogs (TfmInput, TfmStrGr,
// TfmAltern, TForm1, TfmCheckListBox, TfmGapCalc). Forms and the command line
// call these, so both accept and refuse exactly the same texts.
#include <optional>
#include <string>
#include <string_view>
#include <utility>

#include "common/Text.h"
#include "dialogs/Dialogs.h"

namespace vexamo {

// A text without the spaces and control characters at both ends: the form in
// which every edit's number is read.
std::string trimText(std::string_view text);

// The error prefixes of number entry.
std::string numberEntryPrefix(
    LanguageFlagType languageFlag);  // "Error of number entry " / "Ошибка при вводе числа "

// The outcome of pressing OK in a dialog: accepted, or a message to show (in
// a warning or error box) with the dialog left open. `empty` is the silent
// case of an empty field that does nothing.
struct DialogCheck {
    bool accepted = false;
    bool silent = false;  // nothing happens, no message (TfmInput with an empty edit; grid with an
                          // empty cell)
    MessageKind kind = MessageKind::Warning;
    std::string message;
    std::string focus;  // objectName of the control to focus, "" if none
    int column = -1;    // grid: the column to select
    int row = -1;       // grid: the cell to empty
};

// A refusal with a warning box, and the control to focus ("" for none).
inline DialogCheck warningCheck(std::string message, std::string focus = {}) {
    DialogCheck check;
    check.kind = MessageKind::Warning;
    check.message = std::move(message);
    check.focus = std::move(focus);
    return check;
}

// TfmInput OK: "" -> silent; exactly "Default" -> accepted, isDefault; else
// the trimmed text must be a number of the kind -> accepted with the value;
// otherwise the message errorPrefix + text (focus "edInput"). The request
// carries no language: callers always fill errorPrefix (usually with
// numberEntryPrefix); an empty prefix gives the bare text as the message.
DialogCheck checkInput(const InputRequest& request, const std::string& text, InputAnswer& answer);

// TfmStrGr: a cell text that is not empty and not a real number gives the
// wrong-symbol message at once ("Wrong symbol at input of number " /
// "Неправильный символ при вводе числа " + text, error box).
std::optional<std::string> checkGridCell(const std::string& text, LanguageFlagType languageFlag);

// TfmStrGr OK: reads the data cells column by column, row by row. An empty
// cell stops silently (values after it unchanged); a cell not of its column's
// kind gives "Error of number entry " + text (error box), with that column
// selected and the cell to be emptied. An integer column holds 16-bit values:
// a larger number is refused like a text. Values are stored as they are read
// ([columns][rows]); on acceptance `answer` holds every value.
DialogCheck readGrid(const GridRequest& request, const std::vector<std::vector<std::string>>& cells,
                     LanguageFlagType languageFlag, GridAnswer& answer);

// TfmStrGr layout (FormActivate) with default row height h, default column
// width w and width w0 of column 0.
struct GridLayout {
    int gridHeight = 0;
    int gridWidth = 0;
    int windowHeight = 0;
    bool verticalScrollBar = false;
    bool horizontalScrollBar = false;
};
GridLayout gridLayout(const GridRequest& request, int rowHeight, int columnWidth,
                      int firstColumnWidth);

// TForm1 OK with nothing selected shows the caller's warning.
DialogCheck checkMethodChoice(const MethodRequest& request, int selectedIndex);  // -1 = nothing
// TfmCheckListBox OK with nothing checked: "Choose even one component of a mix" /
// "Выберите хотя-бы один компонент смеси".
DialogCheck checkCheckList(const std::vector<bool>& checked, LanguageFlagType languageFlag);

// TfmGapCalc: texts of the form, the head-type list and the results of OK.
struct GapCalcTexts {
    std::string caption, comment, pitchLabel, gapLabel, holesCaption, sealLabel, inletLabel,
        outletLabel;
    std::array<std::string, 4> headTypes;
    std::array<std::string, 2> gapSizes;  // diminished, enlarged
    std::array<std::string, 2> holes;     // stamped, drilling
};
GapCalcTexts gapCalcTexts(LanguageFlagType languageFlag);
// The sealing-strip list is enabled for every head type but 4 (U-tubes).
bool sealingStripsEnabled(int headType);

struct GapCalcResult {
    int headType = 0;
    Real pitch = 0;           // t, m
    Real casingGap = 0;       // delta_sb, mm
    Real holeClearance = 0;   // delta_tb
    int sealingStrips = 0;    // Nss
    Real inletDistance = 0;   // Lbi, mm
    Real outletDistance = 0;  // Lbo, mm
};
// BitbtOkClick: the checks in order ("All fields of this form should be
// filled" / "Все поля этой формы должны быть заполнены"; "incorrect input of
// number  " / "неверный ввод числа  " + text, focus on that edit) and the
// defaults from d and the baffle spacing. A typed pitch or nozzle distance
// must be above zero and a typed gap not negative (they are divided by or
// measure a clearance); the sealing-strip text must be a whole number >= 0.
DialogCheck checkGapCalc(const GapCalcRequest& request, const GapCalcAnswer& answer,
                         LanguageFlagType languageFlag, GapCalcResult& result);

}  // namespace vexamo
