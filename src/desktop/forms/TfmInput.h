#pragma once
// TfmInput: one number, or the text "Default", for a question of a
// calculation. Created for one question.
#include <QDialog>

#include "dialogs/Dialogs.h"

class QLabel;
class QLineEdit;
class QPushButton;

namespace vexamo::desktop {

class TfmInput : public QDialog {
    Q_OBJECT
public:
    explicit TfmInput(QWidget* parent = nullptr);

    // FormActivate: caption, prompt, unit, error prefix and the edit's
    // initial text from the request.
    void setRequest(const InputRequest& request);
    // InputCancelled, the value kind and the value read; valid after the
    // dialog closed.
    const InputAnswer& answer() const { return m_answer; }

    void reject() override;  // BitBtCancelClick

protected:
    void showEvent(QShowEvent* event) override;

private:
    void btInputClick();

    InputRequest m_request;
    InputAnswer m_answer;
    QLabel* m_prompt = nullptr;   // lbInput1
    QLabel* m_unit = nullptr;     // lbInput2
    QLineEdit* m_edit = nullptr;  // edInput
    QPushButton* m_ok = nullptr;  // btInput
};

}  // namespace vexamo::desktop
