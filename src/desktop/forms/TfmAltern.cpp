#include "desktop/forms/TfmAltern.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QVBoxLayout>
#include <algorithm>

#include "desktop/forms/FormSupport.h"

namespace vexamo::desktop {

TfmAltern::TfmAltern(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("TfmAltern"));

    m_question = new QLabel(this);
    m_question->setObjectName(QStringLiteral("Label1"));
    m_question->setWordWrap(true);
    m_question->setAlignment(Qt::AlignHCenter | Qt::AlignTop);

    m_group = new QGroupBox(this);
    m_group->setObjectName(QStringLiteral("RadioGroup1"));
    m_groupLayout = new QGridLayout(m_group);
    m_buttons = new QButtonGroup(this);
    m_buttons->setExclusive(true);

    m_check1 = new QCheckBox(this);
    m_check1->setObjectName(QStringLiteral("chbAltern1"));
    m_check2 = new QCheckBox(this);
    m_check2->setObjectName(QStringLiteral("chbAltern2"));
    m_check1->hide();
    m_check2->hide();

    auto* ok = new QPushButton(QStringLiteral("Checked"), this);
    ok->setObjectName(QStringLiteral("BitBtn1"));
    ok->setDefault(true);
    m_ok = ok;

    auto* checks = new QHBoxLayout;
    checks->addWidget(m_check1);
    checks->addWidget(m_check2);
    checks->addStretch(1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(ok);
    buttons->addStretch(1);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_question);
    layout->addWidget(m_group);
    layout->addLayout(checks);
    layout->addLayout(buttons);
    setMinimumWidth(420);

    connect(m_check1, &QCheckBox::toggled, this, &TfmAltern::chbAltern1Click);
    connect(m_check2, &QCheckBox::toggled, this, &TfmAltern::chbAltern2Click);
    connect(m_buttons, &QButtonGroup::idClicked, this,
            [this](int) { m_ok->setFocus(Qt::OtherFocusReason); });  // RadioGroup1Click
    connect(ok, &QPushButton::clicked, this, &TfmAltern::BitBtn1Click);
}

void TfmAltern::setRequest(const AlternRequest& request) {
    m_answer = AlternAnswer{};
    // Check box 1 is checked first, with the letter 'y'; a request whose
    // default is the second box starts from that one.
    {
        const QSignalBlocker block1(m_check1);
        const QSignalBlocker block2(m_check2);
        m_check1->setChecked(request.defaultCheckBox1);
        m_check2->setChecked(!request.defaultCheckBox1);
    }
    m_answer.letter = request.defaultCheckBox1 ? 'y' : 'x';
    m_check1->setText(qText(request.checkBox1));
    m_check2->setText(qText(request.checkBox2));
    m_check1->setVisible(request.showCheckBoxes);
    // A question with one check box leaves the second hidden.
    m_check2->setVisible(request.showCheckBoxes && !request.checkBox2.empty());

    // The items, filled column by column.
    for (QRadioButton* item : m_items) {
        m_buttons->removeButton(item);
        delete item;
    }
    m_items.clear();
    const int count = static_cast<int>(request.alternatives.size());
    const int columns = std::max(request.groupColumns, 1);
    const int perColumn = std::max((count + columns - 1) / columns, 1);
    for (int i = 0; i < count; ++i) {
        auto* item =
            new QRadioButton(qText(request.alternatives[static_cast<std::size_t>(i)]), m_group);
        item->setObjectName(QStringLiteral("RadioGroup1_%1").arg(i));
        m_buttons->addButton(item, i);
        m_groupLayout->addWidget(item, i % perColumn, i / perColumn);
        m_items.push_back(item);
    }
    if (!m_items.empty()) m_items.front()->setChecked(true);

    setWindowTitle(qText(request.caption));
    m_question->setText(qText(request.question));
    m_group->setTitle(qText(request.groupCaption));
    adjustSize();
    m_ok->setFocus(Qt::OtherFocusReason);
}

void TfmAltern::chbAltern1Click(bool checked) {
    if (checked) {
        m_check2->setChecked(false);
        m_answer.letter = 'y';
    } else {
        m_check2->setChecked(true);
    }
    m_ok->setFocus(Qt::OtherFocusReason);
}

void TfmAltern::chbAltern2Click(bool checked) {
    if (checked) {
        m_check1->setChecked(false);
        m_answer.letter = 'x';
    } else {
        m_check1->setChecked(true);
    }
    m_ok->setFocus(Qt::OtherFocusReason);
}

void TfmAltern::BitBtn1Click() {
    m_answer.index = std::max(m_buttons->checkedId(), 0);
    accept();
}

void TfmAltern::reject() { BitBtn1Click(); }

void TfmAltern::done(int result) {
    m_check1->hide();
    m_check2->hide();
    QDialog::done(result);
}

}  // namespace vexamo::desktop
