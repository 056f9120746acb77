#pragma once
// TfmAltern: one of two or three alternatives in the radio group
// RadioGroup1, optionally with the check boxes chbAltern1 and chbAltern2.
// Lives as long as the program; every showing takes a new request.
#include <QDialog>
#include <vector>

#include "dialogs/Dialogs.h"

class QButtonGroup;
class QCheckBox;
class QGroupBox;
class QGridLayout;
class QLabel;
class QRadioButton;

namespace vexamo::desktop {

class TfmAltern : public QDialog {
    Q_OBJECT
public:
    explicit TfmAltern(QWidget* parent = nullptr);

    // The caller's fields and FormActivate: check box 1 checked, the
    // alternatives as the group's items, caption, question, group caption,
    // item 0 selected; the check boxes shown when the request asks for them.
    void setRequest(const AlternRequest& request);
    // The tag (chosen index) and the answer letter; valid after the dialog
    // closed.
    AlternAnswer answer() const { return m_answer; }

    // The window has no Cancel: closing it takes the alternative the group
    // shows, as BitBtn1 does.
    void reject() override;
    // FormClose hides both check boxes.
    void done(int result) override;

private:
    void chbAltern1Click(bool checked);
    void chbAltern2Click(bool checked);
    void BitBtn1Click();

    AlternAnswer m_answer;
    QLabel* m_question = nullptr;  // Label1
    QGroupBox* m_group = nullptr;  // RadioGroup1
    QGridLayout* m_groupLayout = nullptr;
    QButtonGroup* m_buttons = nullptr;
    std::vector<QRadioButton*> m_items;
    QCheckBox* m_check1 = nullptr;  // chbAltern1
    QCheckBox* m_check2 = nullptr;  // chbAltern2
    QWidget* m_ok = nullptr;        // BitBtn1
};

}  // namespace vexamo::desktop
