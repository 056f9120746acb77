#pragma once
// TfmAbProgr: the read-me text of the program, every line centred.
#include <QDialog>

#include "common/Text.h"

class QTextBrowser;

namespace vexamo::desktop {

class AboutDialog : public QDialog {
    Q_OBJECT
public:
    AboutDialog(LanguageFlagType languageFlag, QWidget* parent = nullptr);

    void setText(const QString& text);
    QString text() const;

private:
    QTextBrowser* m_view;
};

}  // namespace vexamo::desktop
