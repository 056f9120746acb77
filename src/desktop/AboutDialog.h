#pragma once
// TfmAbProgr: the read-me text of the program, every line centred, and a
// table of what the built-in substances are.
#include <QDialog>

#include "common/Text.h"
#include "properties/SubstanceRecords.h"

class QLabel;
class QTableWidget;
class QTextBrowser;

namespace vexamo::desktop {

class AboutDialog : public QDialog {
    Q_OBJECT
public:
    AboutDialog(LanguageFlagType languageFlag, QWidget* parent = nullptr);

    void setText(const QString& text);
    QString text() const;
    // One row per built-in record of `table` that still carries its system
    // name: that name, the chemical's name, formula and CAS number, in the
    // dialog's language.
    void setSubstances(const SubArr& table);

private:
    LanguageFlagType m_language;
    QTextBrowser* m_view;
    QLabel* m_substancesLabel;
    QTableWidget* m_substances;
};

}  // namespace vexamo::desktop
