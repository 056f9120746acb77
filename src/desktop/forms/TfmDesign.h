#pragma once
// TfmDesign: the design data of the exchanger, a view over the core's
// DesignDialogModel. Lives as long as the program.
#include <QDialog>
#include <map>
#include <string>

#include "common/Text.h"
#include "dialogs/DesignDialog.h"

class QComboBox;
class QLabel;
class QLineEdit;

namespace vexamo {
struct Session;
}

namespace vexamo::desktop {

class TfmDesign : public QDialog {
    Q_OBJECT
public:
    explicit TfmDesign(QWidget* parent = nullptr);

    // The model to show (prepared and activated by DesignActionExecute); OK
    // asks the conductivity of a typed material through `dialogs`. The form
    // keeps the references until the next call.
    void setModel(DesignDialogModel& model, Dialogs& dialogs, const Session& session);
    // The widgets as the model says: lists, texts, labels, visibility.
    void refresh();

    // Cancel keeps what was typed for the next showing.
    void reject() override;

private:
    void takeTexts();  // the widgets' texts into the model
    void bitbtOkClick();

    DesignDialogModel* m_model = nullptr;
    Dialogs* m_dialogs = nullptr;
    const Session* m_session = nullptr;
    std::map<std::string, QLineEdit*> m_edits;   // by control name
    std::map<std::string, QComboBox*> m_combos;  // by control name
    std::map<std::string, QLabel*> m_labels;     // by the name of their control
};

}  // namespace vexamo::desktop
