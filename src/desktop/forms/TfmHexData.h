#pragma once
// TfmHexData: the technological data of both media, a view over the core's
// TechnologicalDialogModel. Every action of the person goes to the model's
// handler, and the widgets are then read again from the model. Lives as long
// as the program.
#include <QDialog>
#include <array>
#include <functional>

#include "common/Text.h"
#include "dialogs/TechnologicalDialog.h"

class QCheckBox;
class QComboBox;
class QLineEdit;
class QTreeWidget;
class QTreeWidgetItem;
class QPushButton;

namespace vexamo::desktop {

class TfmHexData : public QDialog {
    Q_OBJECT
public:
    explicit TfmHexData(QWidget* parent = nullptr);

    // The model to show (prepared and activated by TechnoActionExecute) and
    // the language of the checks' messages. The form keeps the reference
    // until the next call.
    void setModel(TechnologicalDialogModel& model, LanguageFlagType languageFlag);
    // The widgets as the model says.
    void refresh();

    // Cancel keeps what was typed for the next showing.
    void reject() override;

protected:
    void showEvent(QShowEvent* event) override;

private:
    // The controls of one half, suffix 1 (tube space) or 2 (shell space).
    struct Half {
        QComboBox* process = nullptr;         // cbProcessN
        QPushButton* deleteButton = nullptr;  // bitbtPrussN
        QTreeWidget* components = nullptr;    // clQualRatioN: name, chemical
        QPushButton* selectAll = nullptr;     // bitbtSelAllN
        QPushButton* unselectAll = nullptr;   // bitbtAnSelAllN
        QCheckBox* consumption = nullptr;     // chbConsumpN
        QLineEdit* flow = nullptr;            // edConsumN
        QLineEdit* temperature = nullptr;     // edTempN
        QLineEdit* pressure = nullptr;        // edPressN
    };

    QWidget* buildHalf(int side, const QString& title);
    void takeTexts();  // the typed texts into the model
    // Runs a handler of the model on the current texts and shows the result.
    void handle(const std::function<void()>& handler);
    void clQualRatioClickCheck(int side, QTreeWidgetItem* item, int column);
    void bitbtOkClick();

    TechnologicalDialogModel* m_model = nullptr;
    LanguageFlagType m_language = kEnglish;
    std::array<Half, 2> m_halves;
    bool m_refreshing = false;
};

}  // namespace vexamo::desktop
