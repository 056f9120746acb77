#pragma once
// TfmCheckListBox: several items of a list, checked in the two-column list
// ChLiBoxVLE. Lives as long as the program.
#include <QDialog>

#include "common/Text.h"
#include "dialogs/Dialogs.h"

class QLabel;
class QListWidget;
class QPushButton;

namespace vexamo::desktop {

class TfmCheckListBox : public QDialog {
    Q_OBJECT
public:
    explicit TfmCheckListBox(QWidget* parent = nullptr);

    // The caller's fields and FormActivate: caption, "Select All" by the
    // language, label, the items (none checked).
    void setRequest(const CheckListRequest& request, LanguageFlagType languageFlag);
    CheckListAnswer answer() const;

    // No Cancel: closing the window is OK, with its check.
    void reject() override;

private:
    void BBtChLiBoxClick();
    void BitBtSelAllClick();

    LanguageFlagType m_language = kEnglish;
    QLabel* m_label = nullptr;           // lbChLiBox
    QListWidget* m_list = nullptr;       // ChLiBoxVLE
    QPushButton* m_ok = nullptr;         // BBtChLiBox
    QPushButton* m_selectAll = nullptr;  // BitBtSelAll
};

}  // namespace vexamo::desktop
