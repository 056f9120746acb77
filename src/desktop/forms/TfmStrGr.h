#pragma once
// TfmStrGr: a table of numbers in the grid sgInput above the label lbStGr.
// The fixed rows and columns are cells that look like headers and cannot be
// edited; every change typed into a data cell is checked at once. Created
// for one question.
#include <QDialog>

#include "common/Text.h"
#include "dialogs/Dialogs.h"
#include "dialogs/GenericDialogs.h"

class QLabel;
class QTableWidget;

namespace vexamo::desktop {

class GridCellDelegate;

class TfmStrGr : public QDialog {
    Q_OBJECT
public:
    // Create(owner, fixed rows, fixed columns, base height in pixels).
    TfmStrGr(QWidget* parent, int fixedRows, int fixedColumns, int baseHeight);

    // The caller's fields and FormActivate: size, scroll bars, cell texts,
    // caption, label. The request's own fixed counts and base height are
    // those of the constructor.
    void setRequest(const GridRequest& request, LanguageFlagType languageFlag);
    // GridCancelled and the values read (also those of an OK that stopped at
    // an empty cell); valid after the dialog closed.
    const GridAnswer& answer() const { return m_answer; }
    // The layout FormActivate applied.
    const GridLayout& appliedLayout() const { return m_layout; }

    void reject() override;  // btbtnCancelClick

protected:
    void showEvent(QShowEvent* event) override;

private:
    void btbtnOkClick();
    void sgInputSetEditText(const QString& text);
    std::vector<std::vector<std::string>> cellTexts() const;

    GridRequest m_request;
    LanguageFlagType m_language = kEnglish;
    GridAnswer m_answer;
    GridLayout m_layout;
    QTableWidget* m_grid = nullptr;  // sgInput
    QLabel* m_label = nullptr;       // lbStGr
    GridCellDelegate* m_delegate = nullptr;
};

}  // namespace vexamo::desktop
