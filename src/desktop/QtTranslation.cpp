#include "QtTranslation.h"

#include <QCoreApplication>
#include <QDir>
#include <QLibraryInfo>
#include <QTranslator>

namespace vexamo::desktop {

namespace {

constexpr auto kRussianBase = "qtbase_ru";

QString qtTranslationsFolder() { return QLibraryInfo::path(QLibraryInfo::TranslationsPath); }

}  // namespace

QtTranslation::QtTranslation(QString folder, QObject* parent)
    : QObject(parent),
      m_folder(folder.isEmpty() ? qtTranslationsFolder() : std::move(folder)),
      m_translator(new QTranslator(this)) {}

QtTranslation::~QtTranslation() {
    if (m_installed) QCoreApplication::removeTranslator(m_translator);
}

QString QtTranslation::russianFile() {
    return QDir(qtTranslationsFolder())
        .filePath(QLatin1String(kRussianBase) + QStringLiteral(".qm"));
}

bool QtTranslation::setLanguage(LanguageFlagType languageFlag) {
    const bool russian = languageFlag != kEnglish;
    if (!russian) {
        if (m_installed) QCoreApplication::removeTranslator(m_translator);
        m_installed = false;
        return true;
    }
    if (m_installed) return true;
    // Loaded once: a missing file is not looked for at every activation.
    if (!m_triedLoading) {
        m_triedLoading = true;
        m_loaded = m_translator->load(QLatin1String(kRussianBase), m_folder);
    }
    if (m_loaded) m_installed = QCoreApplication::installTranslator(m_translator);
    return m_installed;
}

}  // namespace vexamo::desktop
