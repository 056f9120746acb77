// Whole Runs of the examples through the real forms, every modal window
// answered as a person would, each ending with the results in the memo of the
// main window exactly as in the reviewed report of the example.
#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QFile>
#include <QLineEdit>
#include <QLocale>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
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

// What a person types into the question forms of one example, in the order
// the forms come (the same answers as the example's answers file).
struct FormScript {
    int method = -1;                   // TForm1: the equilibrium method
    QStringList inputs;                // TfmInput: the texts typed
    QList<QPair<int, bool>> alterns;   // TfmAltern: item, first check box ticked
    int headType = 0;                  // TfmGapCalc: 1..4, 0 none shown
    bool stampedHoles = false;
    int sealingStripsItem = 0;         // item of "0", "2", "4", "6"
};

// Answers the modal windows of a Run and writes down what it met: the data
// forms and the concentration table are confirmed as shown, the question
// forms filled from the script, questions answered No, boxes OK; the boxes
// and graphs repeated at every iteration are declined for the rest of the Run.
class RunAnswerer : public QObject {
public:
    explicit RunAnswerer(FormScript script = {}) : script(std::move(script)) {
        connect(&m_timer, &QTimer::timeout, this, [this] { poll(); });
        m_timer.start(5);
    }

    FormScript script;  // consumed as the forms come
    QStringList met;    // in order: form names, "?" + question, "!" + box text
    int graphs = 0;
    int passTemperatureBoxes = 0;
    Qt::CursorShape cursorWhileAsking = Qt::BitmapCursor;

private:
    template <typename T>
    static T* child(QWidget* form, const QString& name) {
        return form->findChild<T*>(name);
    }

    void poll() {
        QWidget* modal = QApplication::activeModalWidget();
        if (modal == nullptr || !modal->isVisible()) return;
        const QString name = modal->objectName();
        if (name == QLatin1String("TfmHexData") || name == QLatin1String("TfmDesign")) {
            met << name;
            if (name == QLatin1String("TfmHexData") && QApplication::overrideCursor())
                cursorWhileAsking = QApplication::overrideCursor()->shape();
            child<QPushButton>(modal, QStringLiteral("bitbtOk"))->click();
        } else if (name == QLatin1String("TfmHexGraph")) {
            ++graphs;
            if (auto* dontShow = child<QCheckBox>(modal, QStringLiteral("chbDontShowAgain")))
                dontShow->setChecked(true);
            modal->close();
        } else if (name == QLatin1String("TfmStrGr")) {
            met << name;
            child<QPushButton>(modal, QStringLiteral("btbtnOk"))->click();
        } else if (name == QLatin1String("TForm1") && script.method >= 0) {
            met << name;
            child<QRadioButton>(modal, QStringLiteral("RadioGroup1_%1").arg(script.method))
                ->setChecked(true);
            script.method = -1;
            child<QPushButton>(modal, QStringLiteral("Button1"))->click();
        } else if (name == QLatin1String("TfmInput") && !script.inputs.isEmpty()) {
            met << name;
            child<QLineEdit>(modal, QStringLiteral("edInput"))->setText(script.inputs.takeFirst());
            child<QPushButton>(modal, QStringLiteral("btInput"))->click();
        } else if (name == QLatin1String("TfmAltern") && !script.alterns.isEmpty()) {
            met << name;
            const auto [item, firstBox] = script.alterns.takeFirst();
            child<QRadioButton>(modal, QStringLiteral("RadioGroup1_%1").arg(item))->click();
            child<QCheckBox>(modal, QStringLiteral("chbAltern1"))->setChecked(firstBox);
            child<QPushButton>(modal, QStringLiteral("BitBtn1"))->click();
        } else if (name == QLatin1String("TfmGapCalc") && script.headType > 0) {
            met << name;
            auto* heads = child<QComboBox>(modal, QStringLiteral("cbAddDate"));
            heads->setCurrentIndex(script.headType - 1);
            emit heads->activated(script.headType - 1);
            child<QRadioButton>(modal, QStringLiteral("RadioGroup2_%1")
                                           .arg(script.stampedHoles ? 0 : 1))
                ->setChecked(true);
            child<QComboBox>(modal, QStringLiteral("ComboBox1"))
                ->setCurrentIndex(script.sealingStripsItem);
            script.headType = 0;
            child<QPushButton>(modal, QStringLiteral("BitbtOk"))->click();
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

// The results block of a report: from its heading to the end.
QString resultsBlock(const QString& report) {
    const qsizetype at = report.indexOf(QStringLiteral("   Results of the design calculation"));
    return at < 0 ? QString() : report.mid(at).trimmed();
}

}  // namespace

class ShellRunTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { QLocale::setDefault(QLocale::c()); }
    void heatingCoolingRunEndsWithTheResultsInTheMemo();
    void everyExampleRunsToItsResults_data();
    void everyExampleRunsToItsResults();
};

Q_DECLARE_METATYPE(FormScript)

namespace {

// A session with an example loaded as from the problem file: no load offer,
// both data forms shown pre-filled.
void loadExample(Session& session, const QString& name) {
    session.LanguageFlag = kEnglish;
    session.Problem = pjson::problemFromJson(
        readAll(QStringLiteral(VEXAMO_SOURCE_DIR "/examples/%1.json").arg(name)).toStdString(),
        session.Data);
    session.DataLoaded = 1;
}

}  // namespace

void ShellRunTest::heatingCoolingRunEndsWithTheResultsInTheMemo() {
    Session session;
    loadExample(session, QStringLiteral("water-water-2pass"));
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
    QVERIFY(!resultsBlock(golden).isEmpty());
    QCOMPARE(resultsBlock(memo), resultsBlock(golden));
    QVERIFY(memo.contains(QStringLiteral(" Number of iteration 6; ")));
    QCOMPARE(memo, QString::fromStdString(session.Report.text("\n")));
    QVERIFY(window.isVisible());
}

// The condensing, boiling and mixture examples, answered as in their answers
// files: each Run reaches its results, and they are those of the reviewed
// report.
void ShellRunTest::everyExampleRunsToItsResults_data() {
    QTest::addColumn<QString>("example");
    QTest::addColumn<FormScript>("script");

    FormScript condenser;  // Wilson; head type 2, stamped holes, 2 sealing strips
    condenser.method = 0;
    condenser.headType = 2;
    condenser.stampedHoles = true;
    condenser.sealingStripsItem = 1;
    QTest::newRow("mixture condenser") << QStringLiteral("ethanol-water-condenser") << condenser;

    FormScript heater;  // no air; sharp tube ends, default roughness of new seamless steel
    heater.inputs = {QStringLiteral("0"), QStringLiteral("Default")};
    heater.alterns = {{0, false}, {0, false}};
    QTest::newRow("steam heater") << QStringLiteral("steam-water-heater") << heater;

    FormScript kettle;  // no air
    kettle.inputs = {QStringLiteral("0")};
    QTest::newRow("kettle reboiler on steam") << QStringLiteral("steam-kettle-reboiler") << kettle;

    FormScript thermosiphon;  // Wilson, no air
    thermosiphon.method = 0;
    thermosiphon.inputs = {QStringLiteral("0")};
    QTest::newRow("thermosiphon reboiler on steam")
        << QStringLiteral("steam-thermosiphon-reboiler") << thermosiphon;

    FormScript hotWaterReboiler;  // head type 1, drilled holes, no sealing strips
    hotWaterReboiler.headType = 1;
    QTest::newRow("reboiler on hot water") << QStringLiteral("hot-water-reboiler")
                                           << hotWaterReboiler;

    FormScript uTubes;  // round-edged U-tubes bent at 0.075 m, used cleaned steel
    uTubes.inputs = {QStringLiteral("0.075"), QStringLiteral("Default")};
    uTubes.alterns = {{1, true}, {1, false}};
    QTest::newRow("kettle on hot water, U-tubes") << QStringLiteral("hot-water-kettle") << uTubes;

    QTest::newRow("mixture cooler") << QStringLiteral("ethanol-water-cooler") << FormScript{};
    QTest::newRow("methanol cooler") << QStringLiteral("methanol-water-cooler") << FormScript{};
}

void ShellRunTest::everyExampleRunsToItsResults() {
    QFETCH(QString, example);
    QFETCH(FormScript, script);

    Session session;
    loadExample(session, example);
    MainWindow window(session);
    window.show();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    session.TechnoPending = session.DesignPending = false;

    RunAnswerer answerer(script);
    window.findChild<QPushButton*>(QStringLiteral("BitBtnRun"))->click();

    const QString met = answerer.met.join(QLatin1Char('\n'));
    for (const QString& form : answerer.met)
        QVERIFY2(!form.startsWith(QStringLiteral("unexpected")), qPrintable(met));
    QVERIFY2(answerer.met.value(0) == QLatin1String("TfmHexData") &&
                 answerer.met.contains(QStringLiteral("TfmDesign")),
             qPrintable(met));
    // Every scripted answer was asked for.
    QVERIFY2(answerer.script.method < 0 && answerer.script.inputs.isEmpty() &&
                 answerer.script.alterns.isEmpty() && answerer.script.headType == 0,
             qPrintable(met));
    QVERIFY(QApplication::overrideCursor() == nullptr);

    QVERIFY2(session.Results.produced, qPrintable(met));
    const QString golden = QString::fromUtf8(
        readAll(QStringLiteral(VEXAMO_SOURCE_DIR "/examples/golden/%1.txt").arg(example)));
    QVERIFY(golden.startsWith(QStringLiteral("exit 0")));
    const QString memo =
        window.findChild<QPlainTextEdit*>(QStringLiteral("mmHeatEx"))->toPlainText();
    QVERIFY(!resultsBlock(golden).isEmpty());
    QCOMPARE(resultsBlock(memo), resultsBlock(golden));
}

QTEST_MAIN(ShellRunTest)
#include "tst_shell_run.moc"
