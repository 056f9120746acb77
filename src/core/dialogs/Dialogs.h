#pragma once
// The port through which a calculation talks to the person at the keyboard.
// The desktop forms, the command line (answers file) and the test fakes
// implement it. Every request carries a stable id (declared once in
// dialogs/QuestionIds.h, documented in docs/questions.md), its texts in the
// current language exactly as shown, and, where the question has one, the
// documented default answer that a headless front end uses.
#include <array>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "common/Real.h"

namespace vexamo {

class TechnologicalDialogModel;
class DesignDialogModel;

enum class MessageKind { Information, Warning, Error };

// A message box with an OK button (the "Error" box of a failed calculation
// has a single Yes button: same thing for the port).
struct MessageRequest {
    std::string id;
    MessageKind kind = MessageKind::Information;
    std::string text;
    // An intermediate value of an iteration shown for those who follow it
    // (the desktop shows it as the box it is; the command line logs it only
    // when asked to be verbose).
    bool diagnostic = false;
};

// A question answered Yes or No.
struct ConfirmRequest {
    std::string id;
    std::string text;
    bool defaultAnswer = false;  // what a headless front end answers by default
};

// A question answered Abort or Retry.
struct AbortRetryRequest {
    std::string id;
    std::string text;
    bool defaultRetry = false;
};

// An open-file or save-file dialog.
struct FileRequest {
    std::string id;
    std::string caption;
    std::string filter;  // "Datafiles|*.dat"
    std::filesystem::path initialFolder;
    std::string defaultExtension;  // without the dot
    bool promptOverwrite = false;  // save dialogs: ask before replacing a file
};

// TfmInput: one number (or the text "Default").
enum class InputKind : std::uint8_t { Real = 0, Integer = 1 };
struct InputRequest {
    std::string id;
    std::string caption;  // InputCaption
    std::string prompt;   // InputPrompt
    std::string unit;     // InputUnit
    std::string errorPrefix;  // "Error of number entry " / "Ошибка при вводе числа " unless the
                              // caller says otherwise
    std::string initialText;  // edInput before showing ("" or "Default" or a preset value)
    InputKind kind = InputKind::Real;
    std::optional<std::string> defaultAnswer;  // headless default, as the text typed
};
struct InputAnswer {
    bool cancelled = false;  // InputCancelled
    bool isDefault = false;  // the text "Default" was confirmed (value kind 2)
    Real real = 0;           // InputReal
    long long integer = 0;   // InputInteger
    std::string text;        // edInput as it was confirmed
};

// TfmStrGr: a table of numbers. Cells are column-major: cells[column][row].
struct GridRequest {
    std::string id;
    std::string caption;  // GridCaption
    std::string label;    // GridLabel
    int columns = 0;      // GridColumns, fixed ones included (at most 25)
    int rows = 0;         // GridRows, fixed ones included (at most 25)
    int fixedColumns = 1;
    int fixedRows = 1;
    int baseHeight = 0;                           // pixels
    std::vector<std::vector<std::string>> cells;  // initial texts
    std::vector<bool> integerColumns;             // per column
    int selectedColumn = 1;
    // Real cells that refuse a negative value (mass per cent of a mixture).
    bool nonNegative = false;
    // Headless default: the values of the data cells, column by column; none
    // when the question has no default.
    std::optional<std::vector<std::string>> defaultAnswer;
};
struct GridAnswer {
    bool cancelled = false;                        // GridCancelled
    std::vector<std::vector<Real>> reals;          // [column][row], real columns
    std::vector<std::vector<long long>> integers;  // [column][row], integer columns
};

// TfmAltern: one of a few alternatives, optionally with the two check boxes.
struct AlternRequest {
    std::string id;
    std::string caption;       // AlternCaption
    std::string question;      // AlternQuestion
    std::string groupCaption;  // AlternGroupCaption
    std::vector<std::string> alternatives;
    int groupColumns = 1;
    bool showCheckBoxes = false;
    std::string checkBoxId;            // id of the check-box answer ('y' / 'x')
    std::string checkBox1, checkBox2;  // their captions
    int defaultIndex = 0;              // headless default (0-based)
    bool defaultCheckBox1 = true;      // chbAltern1 checked by default
    // Headless answers may name an alternative by a keyword (per alternative,
    // empty = by its 1-based number); a number answer selects `numberSelects`
    // (when >= 0) and is kept for the input that follows under the same id.
    std::vector<std::string> keywords;
    int numberSelects = -1;
};
struct AlternAnswer {
    int index = 0;      // the dialog's tag
    char letter = 'y';  // 'y' chbAltern1 checked last, 'x' chbAltern2
};

// TForm1: the equilibrium method.
struct MethodRequest {
    std::string id;
    std::string caption;
    std::string label;
    std::string warning;   // shown for OK with nothing chosen
    int initialTag = 0;    // the tag it was shown with (kept by Exit)
    int defaultIndex = 0;  // headless default: Wilson
};
struct MethodAnswer {
    bool exit = false;  // Button2 "Exit"
    int index = 0;      // 0 Wilson, 1 NRTL, 2 UNIQUAC, 3 UNIFAC
};

// TfmCheckListBox: several items of a list.
struct CheckListRequest {
    std::string id;
    std::string caption;
    std::string label;
    std::vector<std::string> items;
    std::vector<bool> defaultChecked;
};
struct CheckListAnswer {
    std::vector<bool> checked;
};

// TfmGapCalc: the construction data of the shell-side pressure loss. The
// answer holds what the form shows; the core's GapCalc model reads it.
struct GapCalcRequest {
    std::string id =
        "shell_loss";        // kShellLossForm; its fields have ids of their own (QuestionIds.h)
    Real tubeDiameter = 0;   // d, m
    Real baffleSpacing = 0;  // TubeLength / ShellPasses, m
};
struct GapCalcAnswer {
    int headType = 1;                        // 1..4 (0: none chosen)
    std::string pitch = "Default";           // edStepTube, m
    std::string gap = "Default";             // edGap, mm
    bool gapEnlarged = false;                // RadioGroup1: diminished / enlarged
    bool holesDrilled = true;                // RadioGroup2: stamped / drilling
    std::string sealingStrips = "0";         // ComboBox1: "0", "2", "4", "6" ("" none chosen)
    std::string inletDistance = "Default";   // edLbi, mm
    std::string outletDistance = "Default";  // edLbo, mm
};

// The temperature profile graph of a heating-cooling calculation: the data
// fields of the graph window. The front end computes the picture with the
// core's graph geometry (graph/ProfileGraph.h) and draws it.
struct ProfileGraphRequest {
    std::string id = "graph.profile";
    std::uint8_t language = 1;              // 1 English
    std::vector<Real> positions;            // relative length of each point, 0..1
    std::vector<std::vector<Real>> curves;  // [curve][point], degC; curve 0 the shell side
};

class Dialogs {
public:
    virtual ~Dialogs() = default;

    virtual void message(const MessageRequest& request) = 0;
    virtual bool confirm(const ConfirmRequest& request) = 0;        // Yes -> true
    virtual bool abortRetry(const AbortRetryRequest& request) = 0;  // Retry -> true
    // The chosen file, or nothing when the dialog was cancelled.
    virtual std::optional<std::filesystem::path> openFile(const FileRequest& request) = 0;
    virtual std::optional<std::filesystem::path> saveFile(const FileRequest& request) = 0;

    virtual InputAnswer ask(const InputRequest& request) = 0;          // TfmInput
    virtual GridAnswer ask(const GridRequest& request) = 0;            // TfmStrGr
    virtual AlternAnswer ask(const AlternRequest& request) = 0;        // TfmAltern
    virtual MethodAnswer ask(const MethodRequest& request) = 0;        // TForm1
    virtual CheckListAnswer ask(const CheckListRequest& request) = 0;  // TfmCheckListBox
    virtual GapCalcAnswer ask(const GapCalcRequest& request) = 0;      // TfmGapCalc

    // The two data dialogs: the front end shows the model, forwards the
    // person's actions to its handlers and returns true when the model's OK
    // check passed, false for Cancel.
    virtual bool showTechnological(TechnologicalDialogModel& model) = 0;  // TfmHexData
    virtual bool showDesign(DesignDialogModel& model) = 0;                // TfmDesign

    virtual void showProfileGraph(const ProfileGraphRequest& request) = 0;  // TfmHexGraph
    // The frame's status label lbFrame; an empty text clears it.
    virtual void setWaitLabel(const std::string& text) = 0;
};

}  // namespace vexamo
