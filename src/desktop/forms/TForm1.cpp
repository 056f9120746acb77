#include "desktop/forms/TForm1.h"

#include <QButtonGroup>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "desktop/forms/FormSupport.h"
#include "dialogs/GenericDialogs.h"

namespace vexamo::desktop {

TForm1::TForm1(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("TForm1"));

    m_label = new QLabel(this);
    m_label->setObjectName(QStringLiteral("Label1"));
    m_label->setWordWrap(true);

    auto* group = new QGroupBox(this);
    group->setObjectName(QStringLiteral("RadioGroup1"));
    auto* groupLayout = new QVBoxLayout(group);
    m_methods = new QButtonGroup(this);
    m_methods->setExclusive(true);
    const char* names[] = {"Wilson", "NRTL", "UNIQUAC", "UNIFAC"};
    for (int i = 0; i < 4; ++i) {
        auto* item = new QRadioButton(QString::fromLatin1(names[i]), group);
        item->setObjectName(QStringLiteral("RadioGroup1_%1").arg(i));
        m_methods->addButton(item, i);
        groupLayout->addWidget(item);
    }

    m_ok = new QPushButton(QStringLiteral("OK"), this);
    m_ok->setObjectName(QStringLiteral("Button1"));
    m_ok->setDefault(true);
    m_exit = new QPushButton(this);
    m_exit->setObjectName(QStringLiteral("Button2"));
    m_exit->setAutoDefault(false);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(m_ok);
    buttons->addWidget(m_exit);
    buttons->addStretch(1);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_label);
    layout->addWidget(group);
    layout->addLayout(buttons);
    setMinimumWidth(320);

    connect(m_methods, &QButtonGroup::idClicked, this,
            [this](int) { m_ok->setFocus(Qt::OtherFocusReason); });  // RadioGroup1Click
    connect(m_ok, &QPushButton::clicked, this, &TForm1::Button1Click);
    connect(m_exit, &QPushButton::clicked, this, &TForm1::reject);
}

void TForm1::setRequest(const MethodRequest& request, LanguageFlagType languageFlag) {
    m_request = request;
    m_answer = MethodAnswer{};
    m_answer.index = request.initialTag;
    setWindowTitle(qText(request.caption));
    m_label->setText(qText(request.label));
    m_exit->setText(QString::fromUtf8(vexamo::tr(languageFlag, "Exit", "Выход")));
}

void TForm1::Button1Click() {
    const int selected = m_methods->checkedId();  // -1: nothing chosen
    const DialogCheck check = checkMethodChoice(m_request, selected);
    if (!check.accepted) {
        showRefusal(this, check);
        return;
    }
    m_answer.exit = false;
    m_answer.index = selected;
    accept();
}

void TForm1::reject() {
    m_answer.exit = true;
    m_answer.index = m_request.initialTag;
    QDialog::reject();
}

}  // namespace vexamo::desktop
