#include "desktop/forms/TfmHexData.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <algorithm>
#include <functional>

#include "desktop/forms/FormSupport.h"
#include "desktop/forms/SubstanceLabels.h"

namespace vexamo::desktop {

namespace {

// The least width of a component list, pixels.
constexpr int kComponentListWidth = 320;

QString named(const char* prefix, int side) {
    return QString::fromLatin1(prefix) + QString::number(side + 1);
}

void showText(QLineEdit* edit, const std::string& text) {
    const QString shown = qText(text);
    if (edit->text() != shown) edit->setText(shown);
}

// A drop-down list with its entries and the text of the model; entries are
// replaced only when they differ, so an open list is not disturbed.
void showList(QComboBox* combo, const std::vector<std::string>& entries, const std::string& text) {
    QStringList items;
    for (const std::string& entry : entries) items << qText(entry);
    QStringList current;
    for (int i = 0; i < combo->count(); ++i) current << combo->itemText(i);
    if (current != items) {
        combo->clear();
        combo->addItems(items);
    }
    const QString shown = qText(text);
    combo->setCurrentIndex(combo->findText(shown, Qt::MatchExactly));
    if (combo->currentText() != shown) combo->setEditText(shown);
}

}  // namespace

TfmHexData::TfmHexData(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("TfmHexData"));

    auto* halves = new QHBoxLayout;
    // The labels of the halves, the hint and the button captions are the
    // same in both languages.
    halves->addWidget(buildHalf(0, QStringLiteral("Tube space")));
    halves->addWidget(buildHalf(1, QStringLiteral("Intertubular space")));

    const OkCancelRow buttonRow = okCancelRow(this, "bitbtOk", "bitbtCancel", true);
    QPushButton* ok = buttonRow.ok;
    QPushButton* cancel = buttonRow.cancel;
    QHBoxLayout* buttons = buttonRow.layout;

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(halves);
    layout->addLayout(buttons);

    connect(ok, &QPushButton::clicked, this, &TfmHexData::bitbtOkClick);
    connect(cancel, &QPushButton::clicked, this, &TfmHexData::reject);
}

QWidget* TfmHexData::buildHalf(int side, const QString& title) {
    Half& half = m_halves[static_cast<std::size_t>(side)];
    auto* box = new QGroupBox(title, this);
    box->setObjectName(named("gbSpace", side));

    half.process = new QComboBox(box);
    half.process->setObjectName(named("cbProcess", side));
    // A process name can also be typed.
    half.process->setEditable(true);
    half.process->setInsertPolicy(QComboBox::NoInsert);
    half.deleteButton = new QPushButton(QStringLiteral("Delete"), box);
    half.deleteButton->setObjectName(named("bitbtPross", side));
    half.components = new QTreeWidget(box);
    half.components->setObjectName(named("clQualRatio", side));
    half.components->setColumnCount(2);
    half.components->setRootIsDecorated(false);
    half.components->setUniformRowHeights(true);
    half.components->setAllColumnsShowFocus(true);
    half.components->header()->setStretchLastSection(true);
    half.components->header()->setSectionResizeMode(0, QHeaderView::ResizeToContents);
    half.components->setMinimumWidth(kComponentListWidth);
    half.components->setToolTip(QStringLiteral("Quality ratio of the heat-transfer medium"));
    half.selectAll = new QPushButton(box);
    half.selectAll->setObjectName(named("bitbtSelAll", side));
    half.unselectAll = new QPushButton(QStringLiteral("AnSelect All"), box);
    half.unselectAll->setObjectName(named("bitbtAnSelAll", side));
    half.consumption = new QCheckBox(QStringLiteral("Set Consumption"), box);
    half.consumption->setObjectName(named("chbConsump", side));
    half.flow = new QLineEdit(box);
    half.flow->setObjectName(named("edConsum", side));
    half.temperature = new QLineEdit(box);
    half.temperature->setObjectName(named("edTemp", side));
    half.pressure = new QLineEdit(box);
    half.pressure->setObjectName(named("edPress", side));
    for (QPushButton* button : {half.deleteButton, half.selectAll, half.unselectAll})
        button->setAutoDefault(false);

    auto* grid = new QGridLayout(box);
    int row = 0;
    grid->addWidget(new QLabel(QStringLiteral("Process"), box), row++, 0, 1, 3);
    grid->addWidget(half.process, row, 0, 1, 2);
    grid->addWidget(half.deleteButton, row++, 2);
    auto* listLabel = new QLabel(QStringLiteral("Quality ratio "), box);
    listLabel->setToolTip(half.components->toolTip());
    grid->addWidget(listLabel, row++, 0, 1, 3);
    grid->addWidget(half.components, row++, 0, 1, 3);
    grid->addWidget(half.selectAll, row, 0);
    grid->addWidget(half.unselectAll, row++, 1);
    grid->addWidget(half.consumption, row++, 0, 1, 3);
    grid->addWidget(half.flow, row, 0, 1, 2);
    grid->addWidget(new QLabel(QStringLiteral(" kg/hour"), box), row++, 2);
    grid->addWidget(new QLabel(QStringLiteral("Temperatur, deg.C"), box), row, 0, 1, 2);
    grid->addWidget(half.temperature, row++, 2);
    grid->addWidget(new QLabel(QStringLiteral("Pressure, kgs/sm2"), box), row, 0, 1, 2);
    grid->addWidget(half.pressure, row++, 2);

    connect(half.process, &QComboBox::activated, this,
            [this, side](int) { handle([this, side] { m_model->cbProcessSelect(side); }); });
    connect(half.deleteButton, &QPushButton::clicked, this,
            [this] { handle([this] { m_model->bitbtPrussClick(); }); });
    connect(half.selectAll, &QPushButton::clicked, this,
            [this, side] { handle([this, side] { m_model->bitbtSelAllClick(side); }); });
    connect(half.unselectAll, &QPushButton::clicked, this,
            [this, side] { handle([this, side] { m_model->bitbtAnSelAllClick(side); }); });
    connect(half.consumption, &QCheckBox::clicked, this, [this, side](bool checked) {
        handle([this, side, checked] { m_model->chbConsumpClick(side, checked); });
    });
    connect(half.components, &QTreeWidget::itemChanged, this,
            [this, side](QTreeWidgetItem* item, int column) {
                clQualRatioClickCheck(side, item, column);
            });
    return box;
}

void TfmHexData::setModel(TechnologicalDialogModel& model, LanguageFlagType languageFlag) {
    m_model = &model;
    m_language = languageFlag;
    refresh();
}

void TfmHexData::refresh() {
    if (m_model == nullptr) return;
    m_refreshing = true;
    setWindowTitle(qText(m_model->caption));
    for (std::size_t s = 0; s < m_halves.size(); ++s) {
        const Half& half = m_halves[s];
        const TechnologicalDialogModel::Side& side = m_model->sides[s];
        const QSignalBlocker blockProcess(half.process);
        const QSignalBlocker blockList(half.components);
        const QSignalBlocker blockConsumption(half.consumption);

        showList(half.process, side.processList, side.processText);

        half.components->setHeaderLabels(
            {QString::fromUtf8(vexamo::tr(m_language, "Component", "Компонент")),
             QString::fromUtf8(vexamo::tr(m_language, "Substance", "Вещество"))});
        if (half.components->topLevelItemCount() != static_cast<int>(side.substances.size())) {
            half.components->clear();
            for (std::size_t i = 0; i < side.substances.size(); ++i) {
                auto* item = new QTreeWidgetItem(half.components);
                item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsUserCheckable | Qt::ItemIsSelectable);
            }
        }
        for (std::size_t i = 0; i < side.substances.size(); ++i) {
            QTreeWidgetItem* item = half.components->topLevelItem(static_cast<int>(i));
            // The model reads the check marks by row; the texts are only shown.
            item->setText(0, qText(side.substances[i]));
            const QString identity = substanceIdentity(i, side.substances[i], m_language);
            item->setText(1, identity);
            item->setToolTip(0, identity);
            item->setToolTip(1, identity);
            const bool checked = i < side.checked.size() && side.checked[i];
            item->setCheckState(0, checked ? Qt::Checked : Qt::Unchecked);
        }
        // Wide enough for the longest chemical without cutting it.
        const QAbstractItemView* list = half.components;
        const int wanted = list->sizeHintForColumn(0) + list->sizeHintForColumn(1) +
                           list->verticalScrollBar()->sizeHint().width() + 2 * list->frameWidth() +
                           8;
        half.components->setMinimumWidth(std::max(kComponentListWidth, wanted));

        half.selectAll->setText(qText(m_model->selectAllCaption));
        half.consumption->setChecked(side.consumptionChecked);
        half.flow->setEnabled(side.consumptionEnabled);
        half.temperature->setEnabled(side.temperatureEnabled);
        half.pressure->setEnabled(side.pressureEnabled);
        showText(half.flow, side.consumptionText);
        showText(half.temperature, side.temperatureText);
        showText(half.pressure, side.pressureText);
    }
    m_refreshing = false;
}

void TfmHexData::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    m_halves[0].selectAll->setFocus(Qt::OtherFocusReason);
}

void TfmHexData::takeTexts() {
    if (m_model == nullptr) return;
    for (std::size_t s = 0; s < m_halves.size(); ++s) {
        const Half& half = m_halves[s];
        TechnologicalDialogModel::Side& side = m_model->sides[s];
        side.processText = stdText(half.process->currentText());
        side.consumptionText = stdText(half.flow->text());
        side.temperatureText = stdText(half.temperature->text());
        side.pressureText = stdText(half.pressure->text());
    }
}

void TfmHexData::handle(const std::function<void()>& handler) {
    if (m_model == nullptr) return;
    // What was typed so far goes to the model first, so that reading the
    // model back keeps it.
    takeTexts();
    handler();
    refresh();
}

void TfmHexData::clQualRatioClickCheck(int side, QTreeWidgetItem* item, int column) {
    if (m_refreshing || item == nullptr || column != 0 || m_model == nullptr) return;
    const int row = m_halves[static_cast<std::size_t>(side)].components->indexOfTopLevelItem(item);
    if (row < 0) return;
    m_model->clQualRatioClickCheck(side, static_cast<std::size_t>(row),
                                   item->checkState(0) == Qt::Checked);
}

void TfmHexData::bitbtOkClick() {
    takeTexts();
    const DialogCheck check = m_model->bitbtOkClick(m_language);
    if (check.accepted) {
        accept();
        return;
    }
    showRefusal(this, check);
}

void TfmHexData::reject() {
    if (m_model != nullptr) takeTexts();
    QDialog::reject();
}

}  // namespace vexamo::desktop
