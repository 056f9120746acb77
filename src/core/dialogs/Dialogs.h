#pragma once
// The port through which a calculation talks to the person at the keyboard.
// The desktop forms, the command line (answers file) and the test fakes
// implement it. Every request carries a stable id (see docs/questions.md) and
// its texts in the current language.
#include <filesystem>
#include <optional>
#include <string>

namespace vexamo {

enum class MessageKind { Information, Warning, Error };

struct MessageRequest {
    std::string id;
    MessageKind kind = MessageKind::Information;
    std::string text;
};

// A question answered Yes or No.
struct ConfirmRequest {
    std::string id;
    std::string text;
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

class Dialogs {
public:
    virtual ~Dialogs() = default;
    virtual void message(const MessageRequest& request) = 0;
    virtual bool confirm(const ConfirmRequest& request) = 0;  // Yes -> true
    // The chosen file, or nothing when the dialog was cancelled.
    virtual std::optional<std::filesystem::path> openFile(const FileRequest& request) = 0;
    virtual std::optional<std::filesystem::path> saveFile(const FileRequest& request) = 0;
};

}  // namespace vexamo
