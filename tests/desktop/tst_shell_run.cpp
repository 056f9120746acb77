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
#include <QTableWidget>
#include <QTest>
#include <QTimer>
#include <optional>
#include <sstream>

#include "cli/Answers.h"
#include "cli/CliDialogs.h"
#include "common/NumberFormat.h"
#include "control/RunDriver.h"
#include "desktop/MainWindow.h"
#include "problemjson/ProblemJson.h"

using namespace vexamo;
using namespace vexamo::desktop;

namespace {

QByteArray readAll(const QString& file) {
    QFile f(file);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// One question of a Run and the answer the command line took for it from the
// example's answers file (or as its default): the same answers a person
// gives in the forms.
struct ScriptStep {
    enum class Form { Confirm, AbortRetry, Input, Grid, Alternatives, Method, ShellLoss };
    Form form = Form::Confirm;
    std::string id;
    bool yes = false;     // Confirm: Yes; AbortRetry: Retry
    QString typed;        // Input: the text typed
    GridRequest grid;     // Grid: the table as asked
    GridAnswer cells;     // Grid: the values of its data cells
    AlternAnswer choice;  // Alternatives
    bool checkBoxesShown = false;
    MethodAnswer method;      // Method
    GapCalcAnswer shellLoss;  // ShellLoss
};
using FormScript = QList<ScriptStep>;

// The port of the command line with every question written down in the order
// of the askings, with the answer it gave.
class RecordingDialogs : public Dialogs {
public:
    explicit RecordingDialogs(cli::CliDialogs& answers) : m_answers(answers) {}
    FormScript steps;

    void message(const MessageRequest& request) override { m_answers.message(request); }
    bool confirm(const ConfirmRequest& request) override {
        ScriptStep step = begin(ScriptStep::Form::Confirm, request.id);
        step.yes = m_answers.confirm(request);
        steps << step;
        return step.yes;
    }
    bool abortRetry(const AbortRetryRequest& request) override {
        ScriptStep step = begin(ScriptStep::Form::AbortRetry, request.id);
        step.yes = m_answers.abortRetry(request);
        steps << step;
        return step.yes;
    }
    std::optional<std::filesystem::path> openFile(const FileRequest& request) override {
        unscripted(request.id);
        return m_answers.openFile(request);
    }
    std::optional<std::filesystem::path> saveFile(const FileRequest& request) override {
        unscripted(request.id);
        return m_answers.saveFile(request);
    }
    InputAnswer ask(const InputRequest& request) override {
        ScriptStep step = begin(ScriptStep::Form::Input, request.id);
        const InputAnswer answer = m_answers.ask(request);
        step.typed = QString::fromStdString(answer.text);
        steps << step;
        return answer;
    }
    GridAnswer ask(const GridRequest& request) override {
        ScriptStep step = begin(ScriptStep::Form::Grid, request.id);
        step.grid = request;
        step.cells = m_answers.ask(request);
        steps << step;
        return step.cells;
    }
    AlternAnswer ask(const AlternRequest& request) override {
        ScriptStep step = begin(ScriptStep::Form::Alternatives, request.id);
        step.choice = m_answers.ask(request);
        step.checkBoxesShown = request.showCheckBoxes;
        steps << step;
        return step.choice;
    }
    MethodAnswer ask(const MethodRequest& request) override {
        ScriptStep step = begin(ScriptStep::Form::Method, request.id);
        step.method = m_answers.ask(request);
        steps << step;
        return step.method;
    }
    CheckListAnswer ask(const CheckListRequest& request) override {
        unscripted(request.id);
        return m_answers.ask(request);
    }
    GapCalcAnswer ask(const GapCalcRequest& request) override {
        ScriptStep step = begin(ScriptStep::Form::ShellLoss, request.id);
        step.shellLoss = m_answers.ask(request);
        steps << step;
        return step.shellLoss;
    }
    bool showTechnological(TechnologicalDialogModel& model) override {
        return m_answers.showTechnological(model);
    }
    bool showDesign(DesignDialogModel& model) override { return m_answers.showDesign(model); }
    void showProfileGraph(const ProfileGraphRequest& request) override {
        m_answers.showProfileGraph(request);
    }
    void setWaitLabel(const std::string& text) override { m_answers.setWaitLabel(text); }

    QStringList unscriptedIds;  // questions this script cannot answer in a form

private:
    static ScriptStep begin(ScriptStep::Form form, const std::string& id) {
        ScriptStep step;
        step.form = form;
        step.id = id;
        return step;
    }
    void unscripted(const std::string& id) { unscriptedIds << QString::fromStdString(id); }

    cli::CliDialogs& m_answers;
};

// Answers the modal windows of a Run and writes down what it met: the data
// forms are confirmed as shown, the question forms filled from the script in
// the order they come, boxes OK; the boxes and graphs repeated at every
// iteration are declined for the rest of the Run.
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
    // The control `name` of `form`; a missing one is written down (the test
    // fails on it) and the form closed, so that the Run goes on.
    template <typename T>
    T* child(QWidget* form, const QString& name) {
        auto* widget = form->findChild<T*>(name);
        if (widget == nullptr) {
            met << QStringLiteral("unexpected: no control %1 in %2").arg(name, form->objectName());
            if (auto* dialog = qobject_cast<QDialog*>(form)) dialog->reject();
        }
        return widget;
    }

    // The next step of the script when it is answered in `form`, else
    // nothing (the form is written down as unexpected and closed).
    std::optional<ScriptStep> next(QWidget* modal, ScriptStep::Form form) {
        if (!script.isEmpty() && script.front().form == form) return script.takeFirst();
        met << QStringLiteral("unexpected ") + modal->objectName() +
                   (script.isEmpty() ? QString()
                                     : QStringLiteral(" (%1 expected)")
                                           .arg(QString::fromStdString(script.front().id)));
        if (auto* dialog = qobject_cast<QDialog*>(modal)) dialog->reject();
        return std::nullopt;
    }

    void click(QWidget* form, const QString& name) {
        if (auto* button = child<QAbstractButton>(form, name)) button->click();
    }

    void typeInto(QWidget* form, const QString& name, const QString& text) {
        if (auto* edit = child<QLineEdit>(form, name); edit != nullptr && edit->text() != text)
            edit->setText(text);
    }

    void poll() {
        QWidget* modal = QApplication::activeModalWidget();
        if (modal == nullptr || !modal->isVisible()) return;
        const QString name = modal->objectName();
        if (name == QLatin1String("TfmHexData") || name == QLatin1String("TfmDesign")) {
            met << name;
            if (name == QLatin1String("TfmHexData") && QApplication::overrideCursor())
                cursorWhileAsking = QApplication::overrideCursor()->shape();
            click(modal, QStringLiteral("bitbtOk"));
        } else if (name == QLatin1String("TfmHexGraph")) {
            ++graphs;
            if (auto* dontShow = modal->findChild<QCheckBox*>(QStringLiteral("chbDontShowAgain")))
                dontShow->setChecked(true);
            modal->close();
        } else if (name == QLatin1String("TfmStrGr")) {
            met << name;
            const auto step = next(modal, ScriptStep::Form::Grid);
            if (!step) return;
            auto* table = child<QTableWidget>(modal, QStringLiteral("sgInput"));
            if (table == nullptr) return;
            const GridRequest& grid = step->grid;
            for (int c = grid.fixedColumns; c < grid.columns; ++c)
                for (int r = grid.fixedRows; r < grid.rows; ++r) {
                    const auto column = static_cast<std::size_t>(c);
                    const auto row = static_cast<std::size_t>(r);
                    const std::string text =
                        grid.integerColumns.size() > column && grid.integerColumns[column]
                            ? std::to_string(step->cells.integers.at(column).at(row))
                            : formatShortest(step->cells.reals.at(column).at(row));
                    if (QTableWidgetItem* cell = table->item(r, c))
                        cell->setText(QString::fromStdString(text));
                }
            click(modal, QStringLiteral("btbtnOk"));
        } else if (name == QLatin1String("TForm1")) {
            met << name;
            const auto step = next(modal, ScriptStep::Form::Method);
            if (!step) return;
            if (step->method.exit) {
                click(modal, QStringLiteral("Button2"));
                return;
            }
            if (auto* item = child<QRadioButton>(
                    modal, QStringLiteral("RadioGroup1_%1").arg(step->method.index)))
                item->setChecked(true);
            click(modal, QStringLiteral("Button1"));
        } else if (name == QLatin1String("TfmInput")) {
            met << name;
            const auto step = next(modal, ScriptStep::Form::Input);
            if (!step) return;
            typeInto(modal, QStringLiteral("edInput"), step->typed);
            click(modal, QStringLiteral("btInput"));
        } else if (name == QLatin1String("TfmAltern")) {
            met << name;
            const auto step = next(modal, ScriptStep::Form::Alternatives);
            if (!step) return;
            click(modal, QStringLiteral("RadioGroup1_%1").arg(step->choice.index));
            // The letter of the check boxes: 'y' the first ticked, 'x' the second.
            if (step->checkBoxesShown) {
                const QString box = step->choice.letter == 'y' ? QStringLiteral("chbAltern1")
                                                               : QStringLiteral("chbAltern2");
                if (auto* check = child<QCheckBox>(modal, box)) check->setChecked(true);
            }
            click(modal, QStringLiteral("BitBtn1"));
        } else if (name == QLatin1String("TfmGapCalc")) {
            met << name;
            const auto step = next(modal, ScriptStep::Form::ShellLoss);
            if (!step) return;
            const GapCalcAnswer& gap = step->shellLoss;
            auto* heads = child<QComboBox>(modal, QStringLiteral("cbAddDate"));
            if (heads == nullptr) return;
            heads->setCurrentIndex(gap.headType - 1);
            emit heads->activated(gap.headType - 1);
            typeInto(modal, QStringLiteral("edStepTube"), QString::fromStdString(gap.pitch));
            typeInto(modal, QStringLiteral("edGap"), QString::fromStdString(gap.gap));
            typeInto(modal, QStringLiteral("edLbi"), QString::fromStdString(gap.inletDistance));
            typeInto(modal, QStringLiteral("edLbo"), QString::fromStdString(gap.outletDistance));
            if (auto* size = child<QRadioButton>(
                    modal, QStringLiteral("RadioGroup1_%1").arg(gap.gapEnlarged ? 1 : 0)))
                size->setChecked(true);
            if (auto* holes = child<QRadioButton>(
                    modal, QStringLiteral("RadioGroup2_%1").arg(gap.holesDrilled ? 1 : 0)))
                holes->setChecked(true);
            if (auto* strips = child<QComboBox>(modal, QStringLiteral("ComboBox1")))
                strips->setCurrentIndex(
                    strips->findText(QString::fromStdString(gap.sealingStrips)));
            click(modal, QStringLiteral("BitbtOk"));
        } else if (auto* box = qobject_cast<QMessageBox*>(modal)) {
            if (box->button(QMessageBox::No) || box->button(QMessageBox::Retry)) {
                const bool confirmation = box->button(QMessageBox::No) != nullptr;
                met << QLatin1Char('?') + box->text();
                const auto step = next(
                    modal, confirmation ? ScriptStep::Form::Confirm : ScriptStep::Form::AbortRetry);
                if (!step) return;
                const QMessageBox::StandardButton answer =
                    confirmation ? (step->yes ? QMessageBox::Yes : QMessageBox::No)
                                 : (step->yes ? QMessageBox::Retry : QMessageBox::Abort);
                box->button(answer)->click();
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

// The answers of an example's Run as its answers file gives them
// (examples/answers/<name>.json, the file the command-line examples use): the
// Run is made headless first, its questions answered by the command line's
// port, and each question with its answer becomes a step of the script.
bool scriptOf(const QString& name, FormScript& script, QString& why) {
    Session session;
    loadExample(session, name);
    session.TechnoPending = session.DesignPending = false;
    const QString answers = QStringLiteral(VEXAMO_SOURCE_DIR "/examples/answers/%1.json").arg(name);
    cli::AnswerBook book;
    try {
        if (QFile::exists(answers)) book = cli::AnswerBook::fromFile(answers.toStdString());
    } catch (const std::exception& e) {
        why = QString::fromStdString(e.what());
        return false;
    }
    std::ostringstream log;
    cli::CliDialogs answering(session, book, log, true);
    RecordingDialogs recording(answering);
    const RunOutcome outcome = runCalculation(session, recording);
    // An answer the Run never asks for is, as for the command line, no fault.
    if (outcome != RunOutcome::Results || !recording.unscriptedIds.isEmpty()) {
        why = QStringLiteral("the headless Run of %1 (outcome %2, unscripted %3): %4")
                  .arg(name)
                  .arg(static_cast<int>(outcome))
                  .arg(recording.unscriptedIds.join(QLatin1Char(' ')))
                  .arg(QString::fromStdString(log.str()));
        return false;
    }
    script = recording.steps;
    return true;
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

    FormScript script;
    QString why;
    QVERIFY2(scriptOf(QStringLiteral("water-water-2pass"), script, why), qPrintable(why));
    RunAnswerer answerer(script);
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
    // Wilson; head type 2, stamped holes, 2 sealing strips
    QTest::newRow("mixture condenser") << QStringLiteral("ethanol-water-condenser");
    // no air; sharp tube ends, default roughness of new seamless steel
    QTest::newRow("steam heater") << QStringLiteral("steam-water-heater");
    // no air
    QTest::newRow("kettle reboiler on steam") << QStringLiteral("steam-kettle-reboiler");
    // Wilson, no air
    QTest::newRow("thermosiphon reboiler on steam")
        << QStringLiteral("steam-thermosiphon-reboiler");
    // head type 1, drilled holes, no sealing strips
    QTest::newRow("reboiler on hot water") << QStringLiteral("hot-water-reboiler");
    // round-edged U-tubes bent at 0.075 m, used cleaned steel
    QTest::newRow("kettle on hot water, U-tubes") << QStringLiteral("hot-water-kettle");
    QTest::newRow("mixture cooler") << QStringLiteral("ethanol-water-cooler");
    QTest::newRow("methanol cooler") << QStringLiteral("methanol-water-cooler");
}

void ShellRunTest::everyExampleRunsToItsResults() {
    QFETCH(QString, example);
    FormScript script;
    QString why;
    QVERIFY2(scriptOf(example, script, why), qPrintable(why));

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
    QVERIFY2(answerer.script.isEmpty(), qPrintable(met));
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
