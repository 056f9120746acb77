#include "LanguageDialog.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace vexamo::desktop {

LanguageDialog::LanguageDialog(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("Form0"));
    setWindowTitle(QStringLiteral("Language of interface"));

    auto* label = new QLabel(
        QString::fromUtf8("     Choose language of interface       (Выберите язык интерфейса)"),
        this);
    label->setObjectName(QStringLiteral("Label1"));
    label->setTextFormat(Qt::PlainText);

    auto* english = new QPushButton(QStringLiteral("En"), this);
    english->setObjectName(QStringLiteral("Button1"));
    auto* russian = new QPushButton(QStringLiteral("Ru"), this);
    russian->setObjectName(QStringLiteral("Button2"));
    connect(english, &QPushButton::clicked, this, [this] {  // Button1Click
        m_languageFlag = 1;
        accept();
    });
    connect(russian, &QPushButton::clicked, this, [this] {  // Button2Click
        m_languageFlag = 2;
        accept();
    });

    auto* contact =
        new QLabel(QString::fromUtf8("Vexamo \u2014 https://vexamo.example \u2014 "
                                     "questions and remarks are welcome / вопросы и замечания"),
                   this);
    contact->setObjectName(QStringLiteral("Label2"));
    contact->setTextFormat(Qt::PlainText);
    contact->setAlignment(Qt::AlignHCenter);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(english);
    buttons->addSpacing(24);
    buttons->addWidget(russian);
    buttons->addStretch();

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(label);
    layout->addSpacing(8);
    layout->addLayout(buttons);
    layout->addSpacing(8);
    layout->addWidget(contact);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    english->setFocus();
}

LanguageFlagType LanguageDialog::choose(QWidget* parent) {
    LanguageDialog dialog(parent);
    dialog.exec();
    return dialog.languageFlag();
}

}  // namespace vexamo::desktop
