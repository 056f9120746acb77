// The report font: fixed-pitch by measurement on the screen and on the
// printer, the next candidate when one is not, the same choice for the memo
// and the printed report.
#include <QFontDatabase>
#include <QFontInfo>
#include <QLocale>
#include <QPlainTextEdit>
#include <QPrinter>
#include <QTemporaryDir>
#include <QTest>

#include "desktop/MainWindow.h"
#include "desktop/ReportFont.h"

using namespace vexamo;
using namespace vexamo::desktop;

namespace {

bool installed(const char* family) {
    return QFontDatabase::families().contains(QString::fromLatin1(family));
}

}  // namespace

class ReportFontTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() {
        QLocale::setDefault(QLocale::c());
        QVERIFY(m_dir.isValid());
        m_printer.setOutputFormat(QPrinter::PdfFormat);
        m_printer.setOutputFileName(m_dir.filePath(QStringLiteral("unused.pdf")));
    }

    void measurementTellsFixedFromProportional() {
        if (!installed("DejaVu Sans") || !installed("DejaVu Sans Mono"))
            QSKIP("the DejaVu fonts are not installed");
        const QFont mono(QStringLiteral("DejaVu Sans Mono"), 10);
        const QFont proportional(QStringLiteral("DejaVu Sans"), 10);
        QVERIFY(hasFixedAdvance(mono));
        QVERIFY(hasFixedAdvance(mono, &m_printer));
        QVERIFY(!hasFixedAdvance(proportional));
        QVERIFY(!hasFixedAdvance(proportional, &m_printer));
        // The sample holds the Cyrillic letters of the Russian report: a
        // family without them would borrow them at another width.
        QVERIFY(fixedPitchSample().contains(QString::fromUtf8("л")));
        QVERIFY(fixedPitchSample().contains(QString::fromUtf8("Ш")));
    }

    void aFamilyTheSystemDoesNotMarkFixedIsTakenWhenItMeasuresFixed() {
        // Noto Sans Mono is fixed-pitch, but the font settings do not say so.
        if (!installed("Noto Sans Mono")) QSKIP("fonts-noto-mono is not installed");
        const QFont noto(QStringLiteral("Noto Sans Mono"), 10);
        QVERIFY(hasFixedAdvance(noto));
        QCOMPARE(firstFixedPitch({noto}).family(), QStringLiteral("Noto Sans Mono"));
    }

    void aCandidateThatIsNotFixedGivesWayToTheNext() {
        if (!installed("DejaVu Sans") || !installed("DejaVu Sans Mono"))
            QSKIP("the DejaVu fonts are not installed");
        const QFont proportional(QStringLiteral("DejaVu Sans"), 9);
        const QFont mono(QStringLiteral("DejaVu Sans Mono"), 9);
        QCOMPARE(firstFixedPitch({proportional, mono}).family(), mono.family());
        QCOMPARE(firstFixedPitch({proportional, mono}, &m_printer).family(), mono.family());
        // Nothing fixed at all: the first candidate rather than no font.
        QCOMPARE(firstFixedPitch({proportional}).family(), proportional.family());
        QVERIFY(!firstFixedPitch({}).family().isEmpty());
    }

    void reportFontIsFixedOnTheScreenAndOnThePrinter() {
        const QFont screen = reportFont();
        QVERIFY2(hasFixedAdvance(screen), qPrintable(QFontInfo(screen).family()));
        const QFont printed = reportFont(11, &m_printer);
        QVERIFY2(hasFixedAdvance(printed, &m_printer), qPrintable(printed.family()));
        QCOMPARE(printed.pointSizeF(), 11.0);
    }

    void memoAndPrintUseAFixedPitchFont() {
        Session session;
        MainWindow window(session);
        auto* memo = window.findChild<QPlainTextEdit*>(QStringLiteral("mmHeatEx"));
        QVERIFY2(hasFixedAdvance(memo->font()), qPrintable(QFontInfo(memo->font()).family()));

        // A fixed-pitch font chosen with Font is printed as chosen.
        if (installed("DejaVu Sans Mono")) {
            const QFont chosen(QStringLiteral("DejaVu Sans Mono"), 13);
            QCOMPARE(reportPrintFont(chosen, &m_printer), chosen);
        }
        // A proportional one would break the columns of the report: the
        // report font of its size instead.
        if (installed("DejaVu Sans")) {
            const QFont printed =
                reportPrintFont(QFont(QStringLiteral("DejaVu Sans"), 12), &m_printer);
            QVERIFY(hasFixedAdvance(printed, &m_printer));
            QCOMPARE(printed.pointSizeF(), 12.0);
        }
    }

private:
    QTemporaryDir m_dir;
    QPrinter m_printer{QPrinter::HighResolution};
};

QTEST_MAIN(ReportFontTest)
#include "tst_report_font.moc"
