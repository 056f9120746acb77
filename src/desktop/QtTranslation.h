#pragma once
// Qt's own texts in the program's language: the standard buttons of message
// boxes and button boxes, the file dialog, the print dialog. While the
// language is Russian, Qt's translation qtbase_ru.qm (from Qt's translations
// folder, Debian package qt6-translations-l10n) is installed in the
// application; in English it is removed. Without the file Qt speaks English.
#include <QObject>
#include <QString>

#include "common/Text.h"

class QTranslator;

namespace vexamo::desktop {

class QtTranslation : public QObject {
    Q_OBJECT
public:
    // `folder`: where the .qm files are; empty for Qt's translations folder.
    explicit QtTranslation(QString folder = {}, QObject* parent = nullptr);
    // Removes the translation from the application.
    ~QtTranslation() override;
    QtTranslation(const QtTranslation&) = delete;
    QtTranslation& operator=(const QtTranslation&) = delete;

    // Follows the language (0 and 2 are Russian). Returns whether Qt's texts
    // are now in that language: false for Russian when the file is missing.
    bool setLanguage(LanguageFlagType languageFlag);
    bool installed() const { return m_installed; }

    // The file of Qt's Russian texts in Qt's translations folder.
    static QString russianFile();

private:
    QString m_folder;
    QTranslator* m_translator;
    bool m_loaded = false;
    bool m_triedLoading = false;
    bool m_installed = false;
};

}  // namespace vexamo::desktop
