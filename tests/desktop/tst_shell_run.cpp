// A whole Run of a heating-cooling example through the real forms, every
// modal window answered as a person would, ending with the results in the
// memo of the main window.
#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QDialog>
#include <QFile>
#include <QLocale>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include "desktop/MainWindow.h"
#include "problemjson/ProblemJson.h"

using namespace vexamo;
using namespace vexamo::desktop;

namespace {

QByteArray readAll(const QString& file) {
    QFile f(file);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// Answers the modal windows of a Run and writes down what it met: the data
// forms are confirmed as shown, questions answered No, boxes OK; the boxes
// and graphs repeated at every iteration are declined for the rest of the Run.
class RunAnswerer : public QObject {
public:
    RunAnswerer() {
        connect(&m_timer, &QTimer::timeout, this, [this] { poll(); });
        m_timer.start(5);
    }

    QStringList met;  // in order: form names, "?" + question, "!" + box text
    int graphs = 0;
    int passTemperatureBoxes = 0;
    Qt::CursorShape cursorWhileAsking = Qt::BitmapCursor;

private:
    void poll() {
        QWidget* modal = QApplication::activeModalWidget();
        if (modal == nullptr || !modal->isVisible()) return;
        const QString name = modal->objectName();
        if (name == QLatin1String("TfmHexData") || name == QLatin1String("TfmDesign")) {
            met << name;
            if (name == QLatin1String("TfmHexData") && QApplication::overrideCursor())
                cursorWhileAsking = QApplication::overrideCursor()->shape();
            modal->findChild<QPushButton*>(QStringLiteral("bitbtOk"))->click();
        } else if (name == QLatin1String("TfmHexGraph")) {
            ++graphs;
            if (auto* dontShow = modal->findChild<QCheckBox*>(QStringLiteral("chbDontShowAgain")))
                dontShow->setChecked(true);
            modal->close();
        } else if (auto* box = qobject_cast<QMessageBox*>(modal)) {
            if (box->button(QMessageBox::No)) {
                met << QLatin1Char('?') + box->text();
                box->button(QMessageBox::No)->click();
                return;
            }
            if (QCheckBox* dontShow = box->checkBox()) {
                ++passTemperatureBoxes;
                dontShow->setChecked(true);
            } else {
                met << QLatin1Char('!') + box->text();
            }
            box->button(QMessageBox::Ok)->click();
        } else {
            met << QStringLiteral("unexpected ") + name;
            static_cast<QDialog*>(modal)->reject();
        }
    }

    QTimer m_timer;
};

}  // namespace

class ShellRunTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { QLocale::setDefault(QLocale::c()); }
    void heatingCoolingRunEndsWithTheResultsInTheMemo();
};

void ShellRunTest::heatingCoolingRunEndsWithTheResultsInTheMemo() {
    Session session;
    session.LanguageFlag = kEnglish;
    session.Problem = pjson::problemFromJson(
        readAll(QStringLiteral(VEXAMO_SOURCE_DIR "/examples/water-water-2pass.json")).toStdString(),
        session.Data);
    session.DataLoaded = 1;
    session.Report.add("an earlier report line");

    MainWindow window(session);
    window.show();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    // The problem counts as loaded: no load offer, both forms shown pre-filled.
    session.TechnoPending = session.DesignPending = false;

    RunAnswerer answerer;
    window.findChild<QPushButton*>(QStringLiteral("BitBtnRun"))->click();

    QVERIFY2(answerer.met.size() >= 4, qPrintable(answerer.met.join(QLatin1Char('\n'))));
    QCOMPARE(
        answerer.met.mid(0, 3),
        (QStringList{QStringLiteral("TfmHexData"), QStringLiteral("TfmDesign"),
                     QStringLiteral("?Wish to write down the entered data in a file (y/n) ? ")}));
    QVERIFY2(answerer.met[3].startsWith(QStringLiteral("?Wish to set an initial approximation")),
             qPrintable(answerer.met[3]));
    for (const QString& met : answerer.met)
        QVERIFY2(!met.startsWith(QStringLiteral("unexpected")), qPrintable(met));
    // Declined once, not shown again in this Run.
    QCOMPARE(answerer.graphs, 1);
    QCOMPARE(answerer.passTemperatureBoxes, 1);
    QCOMPARE(answerer.cursorWhileAsking, Qt::ArrowCursor);
    QVERIFY(QApplication::overrideCursor() == nullptr);

    QVERIFY(session.Results.produced);
    // The results block as in the reviewed report of this example.
    const QString golden = QString::fromUtf8(
        readAll(QStringLiteral(VEXAMO_SOURCE_DIR "/examples/golden/water-water-2pass.txt")));
    const QString memo =
        window.findChild<QPlainTextEdit*>(QStringLiteral("mmHeatEx"))->toPlainText();
    QVERIFY(memo.startsWith(QStringLiteral("an earlier report line\n")));
    const QString results = QStringLiteral("   Results of the design calculation");
    QVERIFY(golden.contains(results));
    QCOMPARE(memo.mid(memo.indexOf(results)).trimmed(),
             golden.mid(golden.indexOf(results)).trimmed());
    QVERIFY(memo.contains(QStringLiteral(" Number of iteration 82; ")));
    QCOMPARE(memo, QString::fromStdString(session.Report.text("\n")));
    QVERIFY(window.isVisible());
}

QTEST_MAIN(ShellRunTest)
#include "tst_shell_run.moc"
