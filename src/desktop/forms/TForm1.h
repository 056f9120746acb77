#pragma once
// TForm1: the choice of the equilibrium method (Wilson, NRTL, UNIQUAC,
// UNIFAC) in RadioGroup1, with Button1 "OK" and Button2 "Exit". Created for
// one question.
#include <QDialog>

#include "common/Text.h"
#include "dialogs/Dialogs.h"

class QButtonGroup;
class QLabel;
class QPushButton;

namespace vexamo::desktop {

class TForm1 : public QDialog {
    Q_OBJECT
public:
    explicit TForm1(QWidget* parent = nullptr);

    // The caller's fields and FormActivate (caption, label, "Exit" / "Выход").
    void setRequest(const MethodRequest& request, LanguageFlagType languageFlag);
    // The chosen index, or Exit with the tag the dialog was shown with.
    MethodAnswer answer() const { return m_answer; }

    void reject() override;  // Button2Click; closing the window is Exit too

private:
    void Button1Click();

    MethodRequest m_request;
    MethodAnswer m_answer;
    QLabel* m_label = nullptr;          // Label1
    QButtonGroup* m_methods = nullptr;  // RadioGroup1
    QPushButton* m_ok = nullptr;        // Button1
    QPushButton* m_exit = nullptr;      // Button2
};

}  // namespace vexamo::desktop
