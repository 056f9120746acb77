#pragma once
// The message boxes of the program: warning, error, information (OK), Yes/No
// confirmation, Abort/Retry, with their icons. Texts come in the current
// language already; "\r\n" breaks lines.
#include <exception>
#include <string>

#include "common/Text.h"
#include "dialogs/Dialogs.h"

class QWidget;

namespace vexamo::desktop {

void showMessage(QWidget* parent, MessageKind kind, const std::string& text);
// The desktop's one translation of an exception into what the person reads:
// an error box with describeError's text, `before` (if any) on the line above.
void showError(QWidget* parent, const std::exception& e, LanguageFlagType languageFlag,
               const std::string& before = {});
bool askYesNo(QWidget* parent, const std::string& text);       // Yes -> true
bool askAbortRetry(QWidget* parent, const std::string& text);  // Retry -> true

// A box of the kind with an unchecked check box under the text (the offer
// not to show the box again); returns whether the person checked it.
bool showMessageWithCheckBox(QWidget* parent, MessageKind kind, const std::string& text,
                             const std::string& checkBoxText);

}  // namespace vexamo::desktop
