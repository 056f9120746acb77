#include "desktop/forms/TfmDesign.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "control/Session.h"
#include "desktop/forms/FormSupport.h"

namespace vexamo::desktop {

namespace {

// The fields in the order of the window; combos are the names starting "cb".
constexpr const char* kFields[] = {"edPipeNmb",  "edPipeL",    "edPipeDex",    "edPipeDin",
                                   "cbTrumpsp",  "edCasing",   "edIntTrumpsp", "edRowNmb",
                                   "cbMaterial", "cbParall",   "cbPipeArrang", "cbWispArrang",
                                   "edFoulTube", "edFoulShell"};

bool isCombo(const std::string& name) { return name.rfind("cb", 0) == 0; }

// The label of a field: "lb" and the field's name without its prefix.
QString labelName(const std::string& field) {
    return QString::fromStdString("lb" + field.substr(2));
}

void showList(QComboBox* combo, const std::vector<std::string>& entries, const std::string& text) {
    combo->clear();
    for (const std::string& entry : entries) combo->addItem(qText(entry));
    const QString shown = qText(text);
    combo->setCurrentIndex(combo->findText(shown, Qt::MatchExactly));
    if (combo->currentText() != shown) combo->setEditText(shown);
}

}  // namespace

TfmDesign::TfmDesign(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("TfmDesign"));

    auto* fields = new QGridLayout;
    int row = 0;
    for (const char* field : kFields) {
        const std::string name = field;
        auto* label = new QLabel(this);
        label->setObjectName(labelName(name));
        m_labels[name] = label;
        QWidget* control = nullptr;
        if (isCombo(name)) {
            // Every list also takes a typed text: a material of its own, the
            // other language's arrangement word, a number.
            auto* combo = new QComboBox(this);
            combo->setEditable(true);
            combo->setInsertPolicy(QComboBox::NoInsert);
            m_combos[name] = combo;
            control = combo;
        } else {
            auto* edit = new QLineEdit(this);
            m_edits[name] = edit;
            control = edit;
        }
        control->setObjectName(QString::fromStdString(name));
        label->setBuddy(control);
        fields->addWidget(label, row, 0);
        fields->addWidget(control, row, 1);
        ++row;
    }
    fields->setColumnStretch(1, 1);

    const OkCancelRow buttonRow = okCancelRow(this, "bitbtOk", "bitBtCancel", true);
    QPushButton* ok = buttonRow.ok;
    QPushButton* cancel = buttonRow.cancel;
    QHBoxLayout* buttons = buttonRow.layout;

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(fields);
    layout->addLayout(buttons);
    setMinimumWidth(480);

    connect(ok, &QPushButton::clicked, this, &TfmDesign::bitbtOkClick);
    connect(cancel, &QPushButton::clicked, this, &TfmDesign::reject);
}

void TfmDesign::setModel(DesignDialogModel& model, Dialogs& dialogs, const Session& session) {
    m_model = &model;
    m_dialogs = &dialogs;
    m_session = &session;
    refresh();
}

void TfmDesign::refresh() {
    if (m_model == nullptr) return;
    const DesignDialogModel& model = *m_model;
    setWindowTitle(qText(model.caption));

    m_edits["edPipeNmb"]->setText(qText(model.edPipeNmb));
    m_edits["edPipeL"]->setText(qText(model.edPipeL));
    m_edits["edPipeDex"]->setText(qText(model.edPipeDex));
    m_edits["edPipeDin"]->setText(qText(model.edPipeDin));
    m_edits["edCasing"]->setText(qText(model.edCasing));
    m_edits["edIntTrumpsp"]->setText(qText(model.edIntTrumpsp));
    m_edits["edRowNmb"]->setText(qText(model.edRowNmb));
    m_edits["edFoulTube"]->setText(qText(model.edFoulTube));
    m_edits["edFoulShell"]->setText(qText(model.edFoulShell));
    showList(m_combos["cbTrumpsp"], model.tubePassList, model.cbTrumpsp);
    showList(m_combos["cbMaterial"], model.materialList, model.cbMaterial);
    showList(m_combos["cbParall"], model.parallelList, model.cbParall);
    showList(m_combos["cbPipeArrang"], model.pipeArrangList, model.cbPipeArrang);
    showList(m_combos["cbWispArrang"], model.wispArrangList, model.cbWispArrang);

    for (const auto& [control, text] : model.labels)
        if (const auto label = m_labels.find(control); label != m_labels.end())
            label->second->setText(qText(text));

    // A field that is not needed is hidden with its label.
    m_combos["cbTrumpsp"]->setVisible(model.tubePassesVisible);
    m_labels["cbTrumpsp"]->setVisible(model.tubePassesVisible);
    m_edits["edCasing"]->setVisible(model.casingVisible);
    m_labels["edCasing"]->setVisible(model.casingVisible);
    adjustSize();
}

void TfmDesign::takeTexts() {
    DesignDialogModel& model = *m_model;
    model.edPipeNmb = stdText(m_edits["edPipeNmb"]->text());
    model.edPipeL = stdText(m_edits["edPipeL"]->text());
    model.edPipeDex = stdText(m_edits["edPipeDex"]->text());
    model.edPipeDin = stdText(m_edits["edPipeDin"]->text());
    model.edCasing = stdText(m_edits["edCasing"]->text());
    model.edIntTrumpsp = stdText(m_edits["edIntTrumpsp"]->text());
    model.edRowNmb = stdText(m_edits["edRowNmb"]->text());
    model.edFoulTube = stdText(m_edits["edFoulTube"]->text());
    model.edFoulShell = stdText(m_edits["edFoulShell"]->text());
    model.cbTrumpsp = stdText(m_combos["cbTrumpsp"]->currentText());
    model.cbMaterial = stdText(m_combos["cbMaterial"]->currentText());
    model.cbParall = stdText(m_combos["cbParall"]->currentText());
    model.cbPipeArrang = stdText(m_combos["cbPipeArrang"]->currentText());
    model.cbWispArrang = stdText(m_combos["cbWispArrang"]->currentText());
}

void TfmDesign::bitbtOkClick() {
    if (m_model == nullptr || m_dialogs == nullptr || m_session == nullptr) return;
    takeTexts();
    const DialogCheck check =
        m_model->bitbtOkClick(m_session->LanguageFlag, *m_dialogs, m_session->Problem.Design);
    if (check.accepted) {
        accept();
        return;
    }
    showRefusal(this, check);
}

void TfmDesign::reject() {
    if (m_model != nullptr) takeTexts();
    QDialog::reject();
}

}  // namespace vexamo::desktop
