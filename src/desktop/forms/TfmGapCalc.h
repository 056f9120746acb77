#pragma once
// TfmGapCalc: the construction data of the shell-side pressure loss (head
// type, tube pitch, casing gap, baffle holes, sealing strips, nozzle
// distances). Created for one call; it has no Cancel.
#include <QDialog>

#include "common/Text.h"
#include "dialogs/Dialogs.h"
#include "dialogs/GenericDialogs.h"

class QButtonGroup;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;

namespace vexamo::desktop {

class TfmGapCalc : public QDialog {
    Q_OBJECT
public:
    explicit TfmGapCalc(QWidget* parent = nullptr);

    // The inputs and FormActivate: texts by language, the lists, "diminished"
    // and "drilling" chosen, the edits at "Default".
    void setRequest(const GapCalcRequest& request, LanguageFlagType languageFlag);
    // What the form shows (read by the core's GapCalc model).
    GapCalcAnswer answer() const;
    // The values the accepted OK computed.
    const GapCalcResult& result() const { return m_result; }

    // No Cancel: closing the window is OK, with its checks.
    void reject() override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void cbAddDateSelect();
    void BitbtOkClick();

    GapCalcRequest m_request;
    LanguageFlagType m_language = kEnglish;
    GapCalcResult m_result;
    QLabel* m_comment = nullptr;      // lbComment
    QComboBox* m_headType = nullptr;  // cbAddDate
    QLabel* m_pitchLabel = nullptr;   // lbStepTube
    QLineEdit* m_pitch = nullptr;     // edStepTube
    QLabel* m_gapLabel = nullptr;     // lbGap
    QLineEdit* m_gap = nullptr;       // edGap
    QGroupBox* m_gapSize = nullptr;   // RadioGroup1
    QButtonGroup* m_gapSizes = nullptr;
    QGroupBox* m_holes = nullptr;  // RadioGroup2
    QButtonGroup* m_holeKinds = nullptr;
    QLabel* m_sealLabel = nullptr;         // lbSealBar
    QComboBox* m_sealingStrips = nullptr;  // ComboBox1
    QLabel* m_inletLabel = nullptr;        // lbLbi
    QLineEdit* m_inlet = nullptr;          // edLbi
    QLabel* m_outletLabel = nullptr;       // lbLbo
    QLineEdit* m_outlet = nullptr;         // edLbo
};

}  // namespace vexamo::desktop
