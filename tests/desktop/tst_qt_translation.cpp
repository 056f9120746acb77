// Qt's own texts follow the program's language: the standard buttons speak
// Russian while Russian is selected, English again after a switch to English
// or when the main window is gone, and English when the file is missing.
#include <QDialogButtonBox>
#include <QFile>
#include <QLocale>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include "desktop/MainWindow.h"
#include "desktop/QtTranslation.h"

using namespace vexamo;
using namespace vexamo::desktop;

namespace {

QString cancelText() {
    QDialogButtonBox box(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    return box.button(QDialogButtonBox::Cancel)->text();
}

QString yesText() {
    QMessageBox box(QMessageBox::Question, QStringLiteral("t"), QStringLiteral("q"),
                    QMessageBox::Yes | QMessageBox::No);
    return box.button(QMessageBox::Yes)->text().remove(QLatin1Char('&'));
}

}  // namespace

class QtTranslationTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { QLocale::setDefault(QLocale::c()); }

    void standardButtonsFollowTheLanguageOfTheWindow() {
        if (!QFile::exists(QtTranslation::russianFile()))
            QSKIP("Qt's Russian translation is not installed (qt6-translations-l10n)");
        QCOMPARE(cancelText(), QStringLiteral("Cancel"));
        {
            Session session;
            session.LanguageFlag = 2;
            MainWindow window(session);
            QCOMPARE(cancelText(), QString::fromUtf8("Отмена"));
            QCOMPARE(yesText(), QString::fromUtf8("Да"));

            // A switch at run time: the frame's texts are set again.
            session.LanguageFlag = kEnglish;
            window.FrameEnter();
            QCOMPARE(cancelText(), QStringLiteral("Cancel"));
            session.LanguageFlag = 0;  // also Russian
            window.FrameEnter();
            QCOMPARE(cancelText(), QString::fromUtf8("Отмена"));
        }
        // The window took its translation with it.
        QCOMPARE(cancelText(), QStringLiteral("Cancel"));

        Session english;
        english.LanguageFlag = kEnglish;
        MainWindow window(english);
        QCOMPARE(cancelText(), QStringLiteral("Cancel"));
    }

    void missingTranslationLeavesQtInEnglish() {
        QTemporaryDir empty;
        QtTranslation translation(empty.path());
        QVERIFY(!translation.setLanguage(2));
        QVERIFY(!translation.installed());
        QCOMPARE(cancelText(), QStringLiteral("Cancel"));
        QVERIFY(translation.setLanguage(kEnglish));
    }
};

QTEST_MAIN(QtTranslationTest)
#include "tst_qt_translation.moc"
