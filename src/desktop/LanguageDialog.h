#pragma once
// TForm0: the choice of the interface language at start-up.
#include <QDialog>

#include "common/Text.h"

namespace vexamo::desktop {

class LanguageDialog : public QDialog {
    Q_OBJECT
public:
    explicit LanguageDialog(QWidget* parent = nullptr);

    // 1 after "En", 2 after "Ru", 0 when the dialog was closed otherwise
    // (0 and 2 both select Russian).
    LanguageFlagType languageFlag() const { return m_languageFlag; }

    // Shows the dialog modally and returns its choice.
    static LanguageFlagType choose(QWidget* parent = nullptr);

private:
    LanguageFlagType m_languageFlag = 0;
};

}  // namespace vexamo::desktop
