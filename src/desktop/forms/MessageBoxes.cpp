#include "desktop/forms/MessageBoxes.h"

#include <QCheckBox>
#include <QMessageBox>

#include "common/Errors.h"
#include "desktop/forms/FormSupport.h"

namespace vexamo::desktop {

namespace {

QMessageBox::Icon iconOf(MessageKind kind) {
    switch (kind) {
        case MessageKind::Warning:
            return QMessageBox::Warning;
        case MessageKind::Error:
            return QMessageBox::Critical;
        case MessageKind::Information:
            break;
    }
    return QMessageBox::Information;
}

// The title bar names the kind of box, as the system's message boxes do.
QString titleOf(MessageKind kind) {
    switch (kind) {
        case MessageKind::Warning:
            return QStringLiteral("Warning");
        case MessageKind::Error:
            return QStringLiteral("Error");
        case MessageKind::Information:
            break;
    }
    return QStringLiteral("Information");
}

}  // namespace

void showMessage(QWidget* parent, MessageKind kind, const std::string& text) {
    QMessageBox box(iconOf(kind), titleOf(kind), qText(text), QMessageBox::Ok, parent);
    box.setDefaultButton(QMessageBox::Ok);
    box.exec();
}

void showError(QWidget* parent, const std::exception& e, LanguageFlagType languageFlag,
               const std::string& before) {
    const std::string text = describeError(e, languageFlag);
    showMessage(parent, MessageKind::Error, before.empty() ? text : before + "\r\n" + text);
}

bool askYesNo(QWidget* parent, const std::string& text) {
    QMessageBox box(QMessageBox::Question, QStringLiteral("Confirm"), qText(text),
                    QMessageBox::Yes | QMessageBox::No, parent);
    box.setDefaultButton(QMessageBox::Yes);
    return box.exec() == QMessageBox::Yes;
}

bool askAbortRetry(QWidget* parent, const std::string& text) {
    QMessageBox box(QMessageBox::Question, QStringLiteral("Confirm"), qText(text),
                    QMessageBox::Abort | QMessageBox::Retry, parent);
    box.setDefaultButton(QMessageBox::Abort);
    box.setEscapeButton(QMessageBox::Abort);
    return box.exec() == QMessageBox::Retry;
}

bool showMessageWithCheckBox(QWidget* parent, MessageKind kind, const std::string& text,
                             const std::string& checkBoxText) {
    QMessageBox box(iconOf(kind), titleOf(kind), qText(text), QMessageBox::Ok, parent);
    box.setDefaultButton(QMessageBox::Ok);
    auto* checkBox = new QCheckBox(qText(checkBoxText), &box);
    checkBox->setObjectName(QStringLiteral("chbDontShowAgain"));
    checkBox->setChecked(false);
    box.setCheckBox(checkBox);
    box.exec();
    return checkBox->isChecked();
}

}  // namespace vexamo::desktop
