#include "desktop/forms/TfmGapCalc.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <QVBoxLayout>

#include "desktop/forms/FormSupport.h"

namespace vexamo::desktop {

namespace {

QLabel* namedLabel(const char* name, QWidget* parent) {
    auto* label = new QLabel(parent);
    label->setObjectName(QString::fromLatin1(name));
    return label;
}

QLineEdit* namedEdit(const char* name, QWidget* parent) {
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(QString::fromLatin1(name));
    return edit;
}

// A radio group of two items side by side (two columns).
QGroupBox* twoChoiceGroup(const char* name, QButtonGroup*& buttons, QWidget* parent) {
    auto* group = new QGroupBox(parent);
    group->setObjectName(QString::fromLatin1(name));
    auto* layout = new QHBoxLayout(group);
    buttons = new QButtonGroup(group);
    for (int i = 0; i < 2; ++i) {
        auto* item = new QRadioButton(group);
        item->setObjectName(QStringLiteral("%1_%2").arg(QString::fromLatin1(name)).arg(i));
        buttons->addButton(item, i);
        layout->addWidget(item);
    }
    return group;
}

}  // namespace

TfmGapCalc::TfmGapCalc(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("TfmGapCalc"));

    m_comment = namedLabel("lbComment", this);
    m_comment->setAlignment(Qt::AlignCenter);
    m_headType = new QComboBox(this);
    m_headType->setObjectName(QStringLiteral("cbAddDate"));
    m_pitchLabel = namedLabel("lbStepTube", this);
    m_pitch = namedEdit("edStepTube", this);
    m_gapLabel = namedLabel("lbGap", this);
    m_gap = namedEdit("edGap", this);
    m_gapSize = twoChoiceGroup("RadioGroup1", m_gapSizes, this);
    m_holes = twoChoiceGroup("RadioGroup2", m_holeKinds, this);
    m_sealLabel = namedLabel("lbSealBar", this);
    m_sealingStrips = new QComboBox(this);
    m_sealingStrips->setObjectName(QStringLiteral("ComboBox1"));
    m_inletLabel = namedLabel("lbLbi", this);
    m_inlet = namedEdit("edLbi", this);
    m_outletLabel = namedLabel("lbLbo", this);
    m_outlet = namedEdit("edLbo", this);
    auto* ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setObjectName(QStringLiteral("BitbtOk"));
    ok->setDefault(true);

    auto* fields = new QGridLayout;
    int row = 0;
    fields->addWidget(m_headType, row++, 0, 1, 2);
    fields->addWidget(m_pitchLabel, row, 0);
    fields->addWidget(m_pitch, row++, 1);
    fields->addWidget(m_gapLabel, row, 0);
    fields->addWidget(m_gap, row++, 1);
    fields->addWidget(m_gapSize, row++, 0, 1, 2);
    fields->addWidget(m_holes, row++, 0, 1, 2);
    fields->addWidget(m_sealLabel, row, 0);
    fields->addWidget(m_sealingStrips, row++, 1);
    fields->addWidget(m_inletLabel, row, 0);
    fields->addWidget(m_inlet, row++, 1);
    fields->addWidget(m_outletLabel, row, 0);
    fields->addWidget(m_outlet, row++, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(ok);
    buttons->addStretch(1);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_comment);
    layout->addLayout(fields);
    layout->addLayout(buttons);

    m_pitch->installEventFilter(this);
    m_gap->installEventFilter(this);
    connect(m_headType, &QComboBox::activated, this, &TfmGapCalc::cbAddDateSelect);
    connect(ok, &QPushButton::clicked, this, &TfmGapCalc::BitbtOkClick);
}

void TfmGapCalc::setRequest(const GapCalcRequest& request, LanguageFlagType languageFlag) {
    m_request = request;
    m_language = languageFlag;
    m_result = GapCalcResult{};
    const GapCalcTexts texts = gapCalcTexts(languageFlag);
    setWindowTitle(qText(texts.caption));
    m_comment->setText(qText(texts.comment));
    m_pitchLabel->setText(qText(texts.pitchLabel));
    m_gapLabel->setText(qText(texts.gapLabel));
    m_holes->setTitle(qText(texts.holesCaption));
    m_sealLabel->setText(qText(texts.sealLabel));
    m_inletLabel->setText(qText(texts.inletLabel));
    m_outletLabel->setText(qText(texts.outletLabel));

    m_headType->clear();
    for (const std::string& head : texts.headTypes) m_headType->addItem(qText(head));
    m_headType->setCurrentIndex(-1);  // no head type chosen yet
    for (int i = 0; i < 2; ++i) {
        m_gapSizes->button(i)->setText(qText(texts.gapSizes[static_cast<std::size_t>(i)]));
        m_holeKinds->button(i)->setText(qText(texts.holes[static_cast<std::size_t>(i)]));
    }
    m_gapSizes->button(0)->setChecked(true);   // diminished
    m_holeKinds->button(1)->setChecked(true);  // drilling
    m_gapSize->setEnabled(true);
    m_sealingStrips->clear();
    m_sealingStrips->addItems(
        {QStringLiteral("0"), QStringLiteral("2"), QStringLiteral("4"), QStringLiteral("6")});
    m_sealingStrips->setCurrentIndex(-1);
    m_sealingStrips->setEnabled(true);
    for (QLineEdit* edit : {m_pitch, m_gap, m_inlet, m_outlet})
        edit->setText(QStringLiteral("Default"));
}

GapCalcAnswer TfmGapCalc::answer() const {
    GapCalcAnswer answer;
    answer.headType = m_headType->currentIndex() + 1;  // 0: none chosen
    answer.pitch = stdText(m_pitch->text());
    answer.gap = stdText(m_gap->text());
    answer.gapEnlarged = m_gapSizes->checkedId() == 1;
    answer.holesDrilled = m_holeKinds->checkedId() == 1;
    answer.sealingStrips = stdText(m_sealingStrips->currentText());  // "" none chosen
    answer.inletDistance = stdText(m_inlet->text());
    answer.outletDistance = stdText(m_outlet->text());
    return answer;
}

bool TfmGapCalc::eventFilter(QObject* watched, QEvent* event) {
    // edStepTubeClick, edGapClick: a click selects the whole text (after the
    // click has placed the cursor); a click into the gap makes the choice
    // between diminished and enlarged irrelevant.
    if (event->type() == QEvent::MouseButtonPress) {
        if (auto* edit = qobject_cast<QLineEdit*>(watched)) {
            QTimer::singleShot(0, edit, &QLineEdit::selectAll);
            if (edit == m_gap) m_gapSize->setEnabled(false);
        }
    }
    return QDialog::eventFilter(watched, event);
}

void TfmGapCalc::cbAddDateSelect() {
    m_sealingStrips->setEnabled(sealingStripsEnabled(m_headType->currentIndex() + 1));
}

void TfmGapCalc::BitbtOkClick() {
    GapCalcResult result;
    const DialogCheck check = checkGapCalc(m_request, answer(), m_language, result);
    if (!check.accepted) {
        showRefusal(this, check);
        return;
    }
    m_result = result;
    accept();
}

void TfmGapCalc::reject() { BitbtOkClick(); }

}  // namespace vexamo::desktop
