#include "desktop/forms/TfmInput.h"

#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

#include "desktop/forms/FormSupport.h"
#include "dialogs/GenericDialogs.h"

namespace vexamo::desktop {

TfmInput::TfmInput(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("TfmInput"));

    m_prompt = new QLabel(this);
    m_prompt->setObjectName(QStringLiteral("lbInput1"));
    m_prompt->setWordWrap(true);
    m_prompt->setAlignment(Qt::AlignCenter);
    m_edit = new QLineEdit(this);
    m_edit->setObjectName(QStringLiteral("edInput"));
    m_unit = new QLabel(this);
    m_unit->setObjectName(QStringLiteral("lbInput2"));
    m_ok = new QPushButton(QStringLiteral("OK"), this);
    m_ok->setObjectName(QStringLiteral("btInput"));
    m_ok->setDefault(true);
    auto* cancel = new QPushButton(QStringLiteral("Cancel"), this);
    cancel->setObjectName(QStringLiteral("BitBtCancel"));
    cancel->setAutoDefault(false);

    auto* valueRow = new QHBoxLayout;
    valueRow->addWidget(m_edit, 1);
    valueRow->addWidget(m_unit);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(m_ok);
    buttons->addWidget(cancel);
    buttons->addStretch(1);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_prompt);
    layout->addLayout(valueRow);
    layout->addLayout(buttons);
    setMinimumWidth(360);

    connect(m_ok, &QPushButton::clicked, this, &TfmInput::btInputClick);
    connect(cancel, &QPushButton::clicked, this, &TfmInput::reject);
}

void TfmInput::setRequest(const InputRequest& request) {
    m_request = request;
    m_answer = InputAnswer{};
    setWindowTitle(qText(request.caption));
    m_prompt->setText(qText(request.prompt));
    m_unit->setText(qText(request.unit));
    m_edit->setText(qText(request.initialText));
    m_ok->setDefault(true);
}

void TfmInput::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    // The window stands in the middle of the screen.
    if (const QScreen* screen = this->screen()) {
        QRect frame = frameGeometry();
        frame.moveCenter(screen->availableGeometry().center());
        move(frame.topLeft());
    }
    m_edit->setFocus(Qt::OtherFocusReason);
}

void TfmInput::btInputClick() {
    const DialogCheck check = checkInput(m_request, stdText(m_edit->text()), m_answer);
    if (check.accepted) {
        m_answer.cancelled = false;
        accept();
        return;
    }
    showRefusal(this, check);
}

void TfmInput::reject() {
    m_answer.cancelled = true;
    QDialog::reject();
}

}  // namespace vexamo::desktop
