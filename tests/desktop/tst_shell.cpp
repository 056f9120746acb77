// The application shell: language choice, main window texts and Run flags,
// the report memo, the clock, Exit, and a Run that fails in the middle.
#include <QAction>
#include <QDir>
#include <QImage>
#include <QLabel>
#include <QLocale>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTime>
#include <QToolButton>
#include <stdexcept>

#include "common/Errors.h"
#include "desktop/LanguageDialog.h"
#include "desktop/MainWindow.h"
#include "desktop/ReportFont.h"
#include "problem/ProblemRecords.h"
#include "tst_forms_support.h"

using namespace vexamo;
using namespace vexamo::desktop;
using vexamo::desktop::test::BoxCloser;
using vexamo::desktop::test::WhenModal;

namespace {

QString memoText(MainWindow& window) {
    return window.findChild<QPlainTextEdit*>(QStringLiteral("mmHeatEx"))->toPlainText();
}

QString reportText(const Session& session) {
    return QString::fromStdString(session.Report.text("\n"));
}

QToolButton* toolButton(MainWindow& window, const char* name) {
    return window.findChild<QToolButton*>(QLatin1String(name));
}

// The flags and buttons as a Run leaves them, before the window is activated again.
void setAsAfterRun(MainWindow& window) {
    Session& s = window.session();
    s.TechnoPending = s.DesignPending = false;
    s.TechnoEntered = s.DesignEntered = true;
    for (const char* name : {"ToolBtOpFile", "ToolBtEdTechn", "ToolBtEdDes"})
        toolButton(window, name)->setEnabled(true);
}

}  // namespace

class ShellTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { QLocale::setDefault(QLocale::c()); }

    void languageChoiceSetsTheTexts_data();
    void languageChoiceSetsTheTexts();
    void activationResetsTheRunFlags();
    void memoFollowsTheReport();
    void clock();
    void exitOffersToSaveOnlyAReportWithLines();
    void runThatFailsKeepsWindowReportAndProblem_data();
    void runThatFailsKeepsWindowReportAndProblem();
    void exitRequestedInARunEndsLikeExit();
    void runButtonPicturesFromTheCurrentFolder();
};

void ShellTest::languageChoiceSetsTheTexts_data() {
    QTest::addColumn<QString>("button");  // "" closes the dialog
    QTest::addColumn<int>("flag");
    QTest::addColumn<QString>("run");
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("edit");
    QTest::addColumn<QString>("cancel");
    QTest::newRow("En") << "Button1" << 1 << "Run"
                        << "File"
                        << "Edit"
                        << "Cancel";
    QTest::newRow("Ru") << "Button2" << 2 << QString::fromUtf8("Пуск") << QString::fromUtf8("Файл")
                        << QString::fromUtf8("Редактировать") << QString::fromUtf8("Выход");
    // Closing the dialog leaves 0, which is Russian.
    QTest::newRow("closed") << "" << 0 << QString::fromUtf8("Пуск") << QString::fromUtf8("Файл")
                            << QString::fromUtf8("Редактировать") << QString::fromUtf8("Выход");
}

void ShellTest::languageChoiceSetsTheTexts() {
    QFETCH(QString, button);
    QFETCH(int, flag);
    QFETCH(QString, run);
    QFETCH(QString, file);
    QFETCH(QString, edit);
    QFETCH(QString, cancel);
    WhenModal<LanguageDialog> chooser([&](LanguageDialog* dialog) {
        QCOMPARE(dialog->windowTitle(), QStringLiteral("Language of interface"));
        QCOMPARE(dialog->findChild<QLabel*>(QStringLiteral("Label1"))->text(),
                 QString::fromUtf8(
                     "     Choose language of interface       (Выберите язык интерфейса)"));
        if (button.isEmpty())
            dialog->reject();
        else
            dialog->findChild<QPushButton*>(button)->click();
    });
    Session session;
    session.LanguageFlag = LanguageDialog::choose();
    QCOMPARE(chooser.seen, 1);
    QCOMPARE(int(session.LanguageFlag), flag);

    MainWindow window(session);
    QCOMPARE(window.findChild<QPushButton*>(QStringLiteral("BitBtnRun"))->text(), run);
    QCOMPARE(window.findChild<QPushButton*>(QStringLiteral("BitBtCancel"))->text(), cancel);
    const QList<QAction*> items = window.menuBar()->actions();
    QVERIFY(items.size() >= 2);
    QCOMPARE(items.first()->menu()->title(), file);
    QCOMPARE(items.last()->menu()->title(), edit);
}

void ShellTest::activationResetsTheRunFlags() {
    Session session;
    MainWindow window(session);
    window.show();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    setAsAfterRun(window);

    QEvent activate(QEvent::WindowActivate);
    QApplication::sendEvent(&window, &activate);
    QVERIFY(session.TechnoPending && session.DesignPending);
    QVERIFY(!session.TechnoEntered && !session.DesignEntered);
    for (const char* name : {"ToolBtOpFile", "ToolBtEdTechn", "ToolBtEdDes"})
        QVERIFY2(!toolButton(window, name)->isEnabled(), name);
    // The Edit menu keeps the problem-data actions usable.
    for (const char* name : {"FileAction", "TechnoAction", "DesignAction"})
        QVERIFY2(window.findChild<QAction*>(QLatin1String(name))->isEnabled(), name);
    QCOMPARE(QApplication::focusWidget(),
             window.findChild<QPushButton*>(QStringLiteral("BitBtnRun")));
}

void ShellTest::memoFollowsTheReport() {
    Session session;
    session.Report.add("before the window");
    MainWindow window(session);
    QCOMPARE(memoText(window), reportText(session));

    session.Report.add("\r\n THE INITIAL DATA\r\n   Number of pipes: 40\r\n");
    QCOMPARE(memoText(window), reportText(session));
    // The progress line of an iteration is replaced in place, also when it
    // is not the last line, and when it becomes empty.
    const std::size_t progress = session.Report.lineCount();
    session.Report.add(" Number of iteration 1");
    session.Report.add("after the progress line");
    session.Report.setLine(progress, " Number of iteration 2");
    QCOMPARE(memoText(window), reportText(session));
    session.Report.setLine(progress, "");
    QCOMPARE(memoText(window), reportText(session));
    session.Report.insert(1, "inserted");
    QCOMPARE(memoText(window), reportText(session));
    session.Report.remove(session.Report.lineCount() - 1);
    QCOMPARE(memoText(window), reportText(session));
    session.Report.remove(0);
    QCOMPARE(memoText(window), reportText(session));
    session.Report.clear();
    QCOMPARE(memoText(window), QString());
    session.Report.add("again");
    QCOMPARE(memoText(window), QStringLiteral("again"));

    auto* memo = window.findChild<QPlainTextEdit*>(QStringLiteral("mmHeatEx"));
    QVERIFY(memo->isReadOnly());
    // Fixed-pitch by measurement: some such fonts are not marked so.
    QVERIFY2(hasFixedAdvance(memo->font()), qPrintable(QFontInfo(memo->font()).family()));
}

void ShellTest::clock() {
    QCOMPARE(MainWindow::clockText(QTime(9, 5, 7)), QStringLiteral("09.05.07"));
    QCOMPARE(MainWindow::clockText(QTime(0, 0, 0)), QStringLiteral("00.00.00"));
    QCOMPARE(MainWindow::clockText(QTime(23, 59, 59)), QStringLiteral("23.59.59"));

    Session session;
    MainWindow window(session);
    auto* panel = window.findChild<QLabel*>(QStringLiteral("StatusPanel1"));
    panel->clear();
    // Timer1 ticks every second and writes the time of day.
    QTRY_VERIFY_WITH_TIMEOUT(!panel->text().isEmpty(), 2500);
    QVERIFY2(QRegularExpression(QStringLiteral("^\\d\\d\\.\\d\\d\\.\\d\\d$"))
                 .match(panel->text())
                 .hasMatch(),
             qPrintable(panel->text()));
    QVERIFY(panel->width() >= 50);
    QVERIFY(panel->width() >= panel->fontMetrics().horizontalAdvance(panel->text()));
}

void ShellTest::exitOffersToSaveOnlyAReportWithLines() {
    Session session;
    session.LanguageFlag = kEnglish;
    MainWindow window(session);
    QSignalSpy quit(&window, &MainWindow::quitRequested);
    {
        BoxCloser closer(QMessageBox::No);
        window.findChild<QPushButton*>(QStringLiteral("BitBtCancel"))->click();
        QVERIFY(closer.texts.isEmpty());
    }
    QCOMPARE(quit.count(), 1);

    Session withReport;
    withReport.LanguageFlag = kEnglish;
    withReport.Report.add("a result");
    MainWindow second(withReport);
    QSignalSpy secondQuit(&second, &MainWindow::quitRequested);
    BoxCloser closer(QMessageBox::No);
    second.findChild<QAction*>(QStringLiteral("CancAction"))->trigger();
    QCOMPARE(closer.texts,
             QStringList{QStringLiteral("Wish to keep the text with results in a file (y/n) ?")});
    QCOMPARE(secondQuit.count(), 1);
}

void ShellTest::runThatFailsKeepsWindowReportAndProblem_data() {
    QTest::addColumn<bool>("coreError");
    QTest::newRow("condition that ends the calculation") << true;
    QTest::newRow("any other error") << false;
}

void ShellTest::runThatFailsKeepsWindowReportAndProblem() {
    QFETCH(bool, coreError);
    Session session;
    session.LanguageFlag = kEnglish;
    session.Report.add("results of an earlier Run");
    session.Problem.Design.TubeCount = 123;
    MainWindow window(session);
    window.show();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    // Both data dialogs were entered since the window became active: the Run
    // goes straight to the preparation of the streams, which fails.
    setAsAfterRun(window);
    RunSettings settings;
    settings.prepareStream = [coreError](std::uint8_t, char, std::uint8_t, TechnSet&, Real&, Real&,
                                         Real) {
        if (coreError) throw CalculationAborted("the substance comp.9 is not in the table");
        throw std::runtime_error("something unexpected");
    };
    window.setRunSettings(settings);

    BoxCloser closer(QMessageBox::Ok);
    window.findChild<QPushButton*>(QStringLiteral("BitBtnRun"))->click();
    QCOMPARE(closer.texts.size(), 1);
    QVERIFY2(closer.texts.first().contains(coreError ? "comp.9" : "something unexpected"),
             qPrintable(closer.texts.first()));
    QCOMPARE(closer.icons.first(), QMessageBox::Critical);

    QVERIFY(window.isVisible());
    QVERIFY(!window.runInProgress());
    QCOMPARE(reportText(session), QStringLiteral("results of an earlier Run"));
    QCOMPARE(memoText(window), QStringLiteral("results of an earlier Run"));
    QCOMPARE(session.Problem.Design.TubeCount, 123);
    QVERIFY(QApplication::overrideCursor() == nullptr);
}

void ShellTest::exitRequestedInARunEndsLikeExit() {
    Session session;
    session.LanguageFlag = kEnglish;
    session.Report.add("unsaved results");
    MainWindow window(session);
    window.show();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    setAsAfterRun(window);
    RunSettings settings;
    settings.prepareStream = [](std::uint8_t, char, std::uint8_t, TechnSet&, Real&, Real&, Real) {
        throw ProgramExitRequested("Exit");
    };
    window.setRunSettings(settings);
    QSignalSpy quit(&window, &MainWindow::quitRequested);

    BoxCloser closer(QMessageBox::No);
    window.findChild<QPushButton*>(QStringLiteral("BitBtnRun"))->click();
    // The report is offered for saving before the program ends.
    QCOMPARE(closer.texts,
             QStringList{QStringLiteral("Wish to keep the text with results in a file (y/n) ?")});
    QCOMPARE(quit.count(), 1);
    QVERIFY(!window.isVisible());
}

namespace {

// A Run-button picture: two images side by side, the enabled one first.
void writePicture(const QString& file, Qt::GlobalColor enabled, Qt::GlobalColor disabled) {
    QImage image(32, 16, QImage::Format_RGB32);
    image.fill(disabled);
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x) image.setPixelColor(x, y, enabled);
    QVERIFY(image.save(file, "BMP"));
}

QColor runPictureColour(MainWindow& window) {
    auto* run = window.findChild<QPushButton*>(QStringLiteral("BitBtnRun"));
    return run->icon().pixmap(run->iconSize()).toImage().pixelColor(8, 8);
}

}  // namespace

void ShellTest::runButtonPicturesFromTheCurrentFolder() {
    QTemporaryDir folder;
    const QString before = QDir::currentPath();
    QDir::setCurrent(folder.path());
    writePicture(folder.filePath(QStringLiteral("LED2OFF.BMP")), Qt::red, Qt::gray);
    writePicture(folder.filePath(QStringLiteral("LED2ON.BMP")), Qt::green, Qt::gray);

    Session session;
    session.LanguageFlag = kEnglish;
    MainWindow window(session);
    QCOMPARE(window.findChild<QPushButton*>(QStringLiteral("BitBtnRun"))->iconSize(),
             QSize(16, 16));
    QCOMPARE(runPictureColour(window), QColor(Qt::red));

    window.show();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    setAsAfterRun(window);
    RunSettings settings;
    settings.prepareStream = [](std::uint8_t, char, std::uint8_t, TechnSet&, Real&, Real&, Real) {
        throw CalculationAborted("stop");
    };
    window.setRunSettings(settings);
    QColor during;
    WhenModal<QMessageBox> closer([&](QMessageBox* box) {
        QEvent activate(QEvent::WindowActivate);
        QApplication::sendEvent(&window, &activate);
        during = runPictureColour(window);
        box->button(QMessageBox::Ok)->click();
    });
    window.findChild<QPushButton*>(QStringLiteral("BitBtnRun"))->click();
    QDir::setCurrent(before);
    QCOMPARE(closer.seen, 1);
    // The running picture stays while the Run goes on, also when the window
    // is activated between its questions.
    QCOMPARE(during, QColor(Qt::green));
    QCOMPARE(runPictureColour(window), QColor(Qt::red));
}

QTEST_MAIN(ShellTest)
#include "tst_shell.moc"
