#pragma once
// Every id a request through the Dialogs port carries, declared once: the
// questions with the dialog that asks them, what answers them and their
// documented default, and the messages with their kind, as docs/questions.md
// documents them. The front ends key on these ids (the answers file, the
// record, the test fakes); a request whose id is not declared here is a fault
// of the program, which the command line and the test fakes refuse.
#include <span>
#include <string>
#include <string_view>

namespace vexamo {

// The dialog of the port a declared id is used with.
enum class PortDialog : unsigned char {
    Message,         // message(): a box with OK, no answer
    Confirm,         // confirm(): Yes or No
    AbortRetry,      // abortRetry()
    OpenFile,        // openFile()
    SaveFile,        // saveFile()
    Input,           // TfmInput
    Grid,            // TfmStrGr
    Alternatives,    // TfmAltern
    CheckBox,        // the check box of a TfmAltern (AlternRequest::checkBoxId)
    Method,          // TForm1
    CheckList,       // TfmCheckListBox
    ShellLossForm,   // TfmGapCalc as a whole (GapCalcRequest::id)
    ShellLossField,  // one field of TfmGapCalc, answered on its own by the command line
    ProfileGraph,    // TfmHexGraph
};

struct QuestionDeclaration {
    std::string_view id;
    PortDialog dialog;  // the first dialog that asks it (a value may follow under the same id)
    // What answers it, as the answers file gives it; for a message its kind.
    std::string_view answer;
    // The answer a headless front end takes when none is given; empty when
    // the question has none (or is a message).
    std::string_view defaultAnswer;
};

// The shell-side loss form and its fields (the command line asks each field
// under its own id).
inline constexpr std::string_view kShellLossForm = "shell_loss";
inline constexpr std::string_view kShellLossHeadType = "shell_loss.head_type";
inline constexpr std::string_view kShellLossPitch = "shell_loss.pitch";
inline constexpr std::string_view kShellLossGap = "shell_loss.gap";
inline constexpr std::string_view kShellLossGapSize = "shell_loss.gap_size";
inline constexpr std::string_view kShellLossHoles = "shell_loss.holes";
inline constexpr std::string_view kShellLossSealingStrips = "shell_loss.sealing_strips";
inline constexpr std::string_view kShellLossInletDistance = "shell_loss.inlet_distance";
inline constexpr std::string_view kShellLossOutletDistance = "shell_loss.outlet_distance";

// Every declared id, questions first, each once.
std::span<const QuestionDeclaration> questionDeclarations();

// The declaration of `id`, or null when it is not declared.
const QuestionDeclaration* findQuestionDeclaration(std::string_view id);

// Throws std::logic_error naming `id` (and `where`, the front end that got
// it) when `id` is not declared: a request built without its declaration is
// a fault of the program, not of the person's answers.
void requireDeclaredId(std::string_view id, std::string_view where);

}  // namespace vexamo
