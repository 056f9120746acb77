#include "desktop/forms/TfmStrGr.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QStyledItemDelegate>
#include <QTableWidget>
#include <QVBoxLayout>
#include <algorithm>

#include "desktop/forms/FormSupport.h"
#include "desktop/forms/MessageBoxes.h"
#include "desktop/forms/SubstanceLabels.h"

namespace vexamo::desktop {

// The cell editor of the grid: reports every change the person types and
// keeps track of the editor that is open, so that OK reads a cell still
// being edited.
class GridCellDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                          const QModelIndex& index) const override {
        QWidget* editor = QStyledItemDelegate::createEditor(parent, option, index);
        if (auto* edit = qobject_cast<QLineEdit*>(editor)) {
            m_editor = edit;
            m_index = index;
            connect(edit, &QLineEdit::textEdited, this, &GridCellDelegate::cellTextEdited);
        }
        return editor;
    }

    // An editor open on the cell is emptied too.
    void clearEditorOf(int row, int column) const {
        if (!m_editor.isNull() && m_index.row() == row && m_index.column() == column)
            m_editor->clear();
    }

    // The open editor's text goes into its cell.
    void commitOpenEditor(QTableWidget* grid) const {
        if (m_editor.isNull() || !m_index.isValid()) return;
        if (QTableWidgetItem* item = grid->item(m_index.row(), m_index.column()))
            item->setText(m_editor->text());
    }

signals:
    void cellTextEdited(const QString& text);

private:
    mutable QPointer<QLineEdit> m_editor;
    mutable QPersistentModelIndex m_index;
};

namespace {

constexpr Qt::ItemFlags kFixedCellFlags = Qt::ItemIsEnabled;
constexpr Qt::ItemFlags kDataCellFlags =
    Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsEditable;

}  // namespace

TfmStrGr::TfmStrGr(QWidget* parent, int fixedRows, int fixedColumns, int baseHeight)
    : QDialog(parent) {
    setObjectName(QStringLiteral("TfmStrGr"));
    m_request.fixedRows = fixedRows;
    m_request.fixedColumns = fixedColumns;
    m_request.baseHeight = baseHeight;

    m_grid = new QTableWidget(this);
    m_grid->setObjectName(QStringLiteral("sgInput"));
    m_grid->horizontalHeader()->hide();
    m_grid->verticalHeader()->hide();
    m_grid->setEditTriggers(QAbstractItemView::AllEditTriggers);
    m_grid->setTabKeyNavigation(true);
    m_grid->setSelectionMode(QAbstractItemView::SingleSelection);
    m_delegate = new GridCellDelegate(m_grid);
    m_grid->setItemDelegate(m_delegate);

    m_label = new QLabel(this);
    m_label->setObjectName(QStringLiteral("lbStGr"));
    m_label->setWordWrap(false);

    const OkCancelRow buttonRow = okCancelRow(this, "btbtnOk", "btbtnCancel", false);
    QPushButton* ok = buttonRow.ok;
    QPushButton* cancel = buttonRow.cancel;
    QHBoxLayout* buttons = buttonRow.layout;
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_grid, 0, Qt::AlignHCenter);
    layout->addWidget(m_label);
    layout->addStretch(1);
    layout->addLayout(buttons);

    connect(ok, &QPushButton::clicked, this, &TfmStrGr::btbtnOkClick);
    connect(cancel, &QPushButton::clicked, this, &TfmStrGr::reject);
    // Checked once the key press that made the change is over: the message
    // box takes the focus, and the editor it closes must not go away while it
    // is still handling that key.
    connect(m_delegate, &GridCellDelegate::cellTextEdited, this, &TfmStrGr::sgInputSetEditText,
            Qt::QueuedConnection);
}

void TfmStrGr::setRequest(const GridRequest& request, LanguageFlagType languageFlag) {
    const int fixedRows = m_request.fixedRows;
    const int fixedColumns = m_request.fixedColumns;
    const int baseHeight = m_request.baseHeight;
    m_request = request;
    m_request.fixedRows = fixedRows;
    m_request.fixedColumns = fixedColumns;
    m_request.baseHeight = baseHeight;
    m_language = languageFlag;
    m_answer = GridAnswer{};

    const int rows = std::clamp(m_request.rows, 0, 25);
    const int columns = std::clamp(m_request.columns, 0, 25);
    m_grid->clear();
    m_grid->setRowCount(rows);
    m_grid->setColumnCount(columns);

    // Layout from the grid's default row height and column width.
    const int h = m_grid->verticalHeader()->defaultSectionSize();
    const int w = m_grid->horizontalHeader()->defaultSectionSize();
    const int w0 = columns > 0 ? m_grid->columnWidth(0) : w;
    m_layout = gridLayout(m_request, h, w, w0);
    m_grid->setFixedSize(m_layout.gridWidth, m_layout.gridHeight);
    m_grid->setVerticalScrollBarPolicy(m_layout.verticalScrollBar ? Qt::ScrollBarAlwaysOn
                                                                  : Qt::ScrollBarAlwaysOff);
    m_grid->setHorizontalScrollBarPolicy(m_layout.horizontalScrollBar ? Qt::ScrollBarAlwaysOn
                                                                      : Qt::ScrollBarAlwaysOff);

    // Cell texts; fixed cells look like headers and are not edited.
    const QPalette palette = m_grid->palette();
    for (int c = 0; c < columns; ++c) {
        for (int r = 0; r < rows; ++r) {
            const auto column = static_cast<std::size_t>(c);
            const auto row = static_cast<std::size_t>(r);
            const std::string text =
                column < m_request.cells.size() && row < m_request.cells[column].size()
                    ? m_request.cells[column][row]
                    : std::string();
            auto* item = new QTableWidgetItem(qText(text));
            if (r < fixedRows || c < fixedColumns) {
                item->setFlags(kFixedCellFlags);
                item->setBackground(palette.button());
                item->setForeground(palette.buttonText());
                // A component's system name heads its row or column; the
                // chemical it stands for is the hint.
                item->setToolTip(substanceIdentity(stdText(qText(text).trimmed()), languageFlag));
            } else {
                item->setFlags(kDataCellFlags);
            }
            m_grid->setItem(r, c, item);
        }
    }
    const int firstColumn =
        std::clamp(m_request.selectedColumn, std::min(fixedColumns, columns - 1), columns - 1);
    if (rows > fixedRows && columns > 0) m_grid->setCurrentCell(fixedRows, firstColumn);

    setWindowTitle(qText(m_request.caption));
    m_label->setText(qText(m_request.label));
    const int width = std::max({m_layout.gridWidth, m_label->sizeHint().width(), 240}) +
                      layout()->contentsMargins().left() + layout()->contentsMargins().right();
    setFixedSize(width, m_layout.windowHeight);
}

void TfmStrGr::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    m_grid->setFocus(Qt::OtherFocusReason);
    // The cell editor is always shown on the current cell.
    if (QTableWidgetItem* item = m_grid->currentItem();
        item && (item->flags() & Qt::ItemIsEditable))
        m_grid->editItem(item);
}

std::vector<std::vector<std::string>> TfmStrGr::cellTexts() const {
    std::vector<std::vector<std::string>> cells(static_cast<std::size_t>(m_grid->columnCount()));
    for (int c = 0; c < m_grid->columnCount(); ++c) {
        auto& column = cells[static_cast<std::size_t>(c)];
        for (int r = 0; r < m_grid->rowCount(); ++r) {
            const QTableWidgetItem* item = m_grid->item(r, c);
            column.push_back(item ? stdText(item->text()) : std::string());
        }
    }
    return cells;
}

void TfmStrGr::sgInputSetEditText(const QString& text) {
    if (const auto message = checkGridCell(stdText(text), m_language)) {
        QApplication::beep();
        showMessage(this, MessageKind::Error, *message);
        m_grid->setFocus(Qt::OtherFocusReason);
    }
}

void TfmStrGr::btbtnOkClick() {
    m_delegate->commitOpenEditor(m_grid);
    const DialogCheck check = readGrid(m_request, cellTexts(), m_language, m_answer);
    if (check.accepted) {
        m_answer.cancelled = false;
        accept();
        return;
    }
    if (check.silent) return;  // an empty data cell: nothing is said
    QApplication::beep();
    showMessage(this, check.kind, check.message);
    if (check.column >= 0 && check.row >= 0) {
        m_grid->setCurrentCell(check.row, check.column);
        m_delegate->clearEditorOf(check.row, check.column);
        if (QTableWidgetItem* item = m_grid->item(check.row, check.column))
            item->setText(QString());
    }
    m_grid->setFocus(Qt::OtherFocusReason);
}

void TfmStrGr::reject() {
    m_answer.cancelled = true;
    QDialog::reject();
}

}  // namespace vexamo::desktop

#include "TfmStrGr.moc"
