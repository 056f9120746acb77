// The report actions: the report text file (open, save, save as, backup,
// code page), printing with page numbers, About: the read-me text and the
// table of the built-in substances.
#include <QAction>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QLineEdit>
#include <QLocale>
#include <QMenu>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPrintDialog>
#include <QPrinter>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>

#include "desktop/AboutDialog.h"
#include "desktop/MainWindow.h"
#include "desktop/ReportActions.h"
#include "desktop/ReportFont.h"
#include "tst_forms_support.h"

using namespace vexamo;
using namespace vexamo::desktop;
using vexamo::desktop::test::BoxCloser;
using vexamo::desktop::test::WhenModal;

namespace {

QByteArray readAll(const QString& file) {
    QFile f(file);
    if (!f.open(QIODevice::ReadOnly)) return "<missing>";
    return f.readAll();
}

void writeAll(const QString& file, const QByteArray& bytes) {
    QFile f(file);
    QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(bytes);
}

// Chooses `file` in the file dialog that comes up next, as a person types it.
std::unique_ptr<WhenModal<QFileDialog>> choose(const QString& file, QString* caption = nullptr,
                                               QString* proposed = nullptr) {
    return std::make_unique<WhenModal<QFileDialog>>([=](QFileDialog* dialog) {
        auto* edit = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
        if (caption) *caption = dialog->windowTitle();
        if (proposed && edit) *proposed = edit->text();
        if (edit) edit->setText(file);
        QMetaObject::invokeMethod(dialog, "accept", Qt::DirectConnection);
    });
}

// The text of every page of a PDF file (pdftotext -layout).
QStringList pdfPages(const QString& pdf) {
    QProcess process;
    process.start(QStringLiteral("pdftotext"),
                  {QStringLiteral("-layout"), pdf, QStringLiteral("-")});
    if (!process.waitForFinished(20000) || process.exitCode() != 0) return {};
    QStringList pages = QString::fromUtf8(process.readAllStandardOutput()).split(QLatin1Char('\f'));
    if (!pages.isEmpty() && pages.last().trimmed().isEmpty()) pages.removeLast();
    return pages;
}

QStringList nonEmptyLines(const QString& page) {
    QStringList lines;
    for (const QString& line : page.split(QLatin1Char('\n')))
        if (!line.trimmed().isEmpty()) lines << line.trimmed();
    return lines;
}

std::vector<std::string> numberedLines(int count) {
    std::vector<std::string> lines;
    for (int i = 1; i <= count; ++i)
        lines.push_back(
            QStringLiteral("report line %1").arg(i, 3, 10, QLatin1Char('0')).toStdString());
    return lines;
}

QStringList printToPdf(const QString& pdf, const std::vector<std::string>& lines) {
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(pdf);
    printer.setPageSize(QPageSize(QPageSize::A4));
    if (!PrintReport(printer, lines, QFont(QStringLiteral("DejaVu Sans Mono"), 10)))
        return {QStringLiteral("<failed>")};
    return pdfPages(pdf);
}

}  // namespace

class ShellReportTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() {
        QLocale::setDefault(QLocale::c());
        QVERIFY(m_dir.isValid());
    }

    void reportFileIsWindows1251WithCrLf();
    void saveOverAnExistingReportKeepsTheBackup();
    void saveWithoutANameIsSaveAsWithReport();
    void textTheCodePageCannotHoldIsNotWritten();
    void longReportPrintsPageNumbersFromPageTwo();
    void fullLastPageIsNotFollowedByAnEmptyOne();
    void printDialogCancelledPrintsAndSaysNothing();
    void printDialogAcceptedPrintsInAFixedPitchFont();
    void readmeComesFromTheCurrentFolderElseFromTheProgram();
    void aboutListsTheBuiltInSubstances_data();
    void aboutListsTheBuiltInSubstances();
    void exportPdfWritesTheDataSheet();

private:
    QTemporaryDir m_dir;
};

void ShellReportTest::reportFileIsWindows1251WithCrLf() {
    const QString file = m_dir.filePath(QStringLiteral("codepage.txt"));
    writeReportFile(QFile::encodeName(file).toStdString(),
                    {"Results", "Поверхность теплообмена", ""});
    // Every line ends with CR LF, an empty last line too.
    QCOMPARE(readAll(file), QByteArray("Results\r\n\xcf\xee\xe2\xe5\xf0\xf5\xed\xee\xf1\xf2\xfc "
                                       "\xf2\xe5\xef\xeb\xee\xee\xe1\xec\xe5\xed\xe0\r\n\r\n"));
    QVERIFY(reportFileBytes({}).empty());

    // Reading takes CR LF, LF and lone CR; the end of the last line opens no other line.
    writeAll(file, "one\r\ntwo\nthree\rfour\r\n\r\n\xcf\xf3\xf1\xea");
    const std::vector<std::string> lines = readReportFile(QFile::encodeName(file).toStdString());
    QCOMPARE(lines, (std::vector<std::string>{"one", "two", "three", "four", "", "Пуск"}));
}

void ShellReportTest::saveOverAnExistingReportKeepsTheBackup() {
    const QString report = m_dir.filePath(QStringLiteral("Report.txt"));
    const QString backup = m_dir.filePath(QStringLiteral("Report.bak"));
    writeAll(report, "old results\r\n");
    writeAll(backup, "older backup");

    Session session;
    session.LanguageFlag = kEnglish;
    MainWindow window(session);
    ReportActions& actions = window.reportActions();
    QString caption;
    {
        auto chooser = choose(report, &caption);
        actions.OpenActionExecute();
    }
    QCOMPARE(caption, QStringLiteral("Opening of file"));
    QCOMPARE(session.Report.lines(), std::vector<std::string>{"old results"});
    QCOMPARE(window.findChild<QPlainTextEdit*>(QStringLiteral("mmHeatEx"))->toPlainText(),
             QStringLiteral("old results"));
    QCOMPARE(actions.reportFileName(), report);

    session.Report.add("новые результаты");
    // Save writes under the name of the opened file, without a dialog.
    BoxCloser noBoxes(QMessageBox::Cancel);
    QCOMPARE(actions.SavActionExecute(), ReportActions::SaveResult::Saved);
    QVERIFY(noBoxes.texts.isEmpty());
    QCOMPARE(readAll(backup), QByteArray("old results\r\n"));
    QCOMPARE(
        readAll(report),
        QByteArray(
            "old results\r\n\xed\xee\xe2\xfb\xe5 \xf0\xe5\xe7\xf3\xeb\xfc\xf2\xe0\xf2\xfb\r\n"));
}

void ShellReportTest::saveWithoutANameIsSaveAsWithReport() {
    QDir folder(m_dir.filePath(QStringLiteral("saveas")));
    QVERIFY(QDir().mkpath(folder.path()));
    Session session;
    session.LanguageFlag = 2;
    session.Report.add("line");
    MainWindow window(session);
    QString caption, proposed;
    // The proposed name in the chosen folder; the extension comes by default.
    auto chooser = std::make_unique<WhenModal<QFileDialog>>([&](QFileDialog* dialog) {
        caption = dialog->windowTitle();
        auto* edit = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
        proposed = edit->text();
        dialog->setDirectory(folder);
        edit->setText(proposed);
        QMetaObject::invokeMethod(dialog, "accept", Qt::DirectConnection);
    });
    QCOMPARE(window.reportActions().SavActionExecute(), ReportActions::SaveResult::Saved);
    QCOMPARE(caption, QString::fromUtf8("Сохранение файла"));
    QCOMPARE(proposed, QStringLiteral("Report"));
    QCOMPARE(readAll(folder.filePath(QStringLiteral("Report.txt"))), QByteArray("line\r\n"));
    QVERIFY(!QFile::exists(folder.filePath(QStringLiteral("Report.bak"))));
}

void ShellReportTest::textTheCodePageCannotHoldIsNotWritten() {
    const QString report = m_dir.filePath(QStringLiteral("chinese.txt"));
    writeAll(report, "kept\r\n");
    Session session;
    session.LanguageFlag = kEnglish;
    session.Report.add("Surface 中 m2");
    MainWindow window(session);
    auto chooser = choose(report);
    BoxCloser closer(QMessageBox::Ok);
    QCOMPARE(window.reportActions().SavAsActionExecute(), ReportActions::SaveResult::Failed);
    QCOMPARE(closer.texts.size(), 1);
    QVERIFY2(closer.texts.first().contains(QString::fromUtf8("中")),
             qPrintable(closer.texts.first()));
    QCOMPARE(closer.icons.first(), QMessageBox::Critical);
    // Neither the file nor its backup was touched.
    QCOMPARE(readAll(report), QByteArray("kept\r\n"));
    QVERIFY(!QFile::exists(m_dir.filePath(QStringLiteral("chinese.bak"))));
    QVERIFY(window.reportActions().reportFileName().isEmpty());
}

void ShellReportTest::longReportPrintsPageNumbersFromPageTwo() {
    if (QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty())
        QSKIP("pdftotext is not installed");
    const std::vector<std::string> lines = numberedLines(150);
    const QStringList pages = printToPdf(m_dir.filePath(QStringLiteral("long.pdf")), lines);
    QVERIFY2(pages.size() >= 3, qPrintable(pages.join(QStringLiteral("\n----\n"))));

    const QStringList first = nonEmptyLines(pages[0]);
    QCOMPARE(first.first(), QStringLiteral("report line 001"));
    QVERIFY(!pages[0].contains(QStringLiteral("- 1 -")));
    QVERIFY(!pages[0].contains(QStringLiteral("- 2 -")));

    const QStringList second = nonEmptyLines(pages[1]);
    QCOMPARE(second.first(), QStringLiteral("- 2 -"));
    // The second page goes on with the line after the last of the first.
    const int lastOnFirst = first.last().right(3).toInt();
    QCOMPARE(second.at(1),
             QStringLiteral("report line %1").arg(lastOnFirst + 1, 3, 10, QLatin1Char('0')));
    QCOMPARE(nonEmptyLines(pages[2]).first(), QStringLiteral("- 3 -"));
    QCOMPARE(nonEmptyLines(pages.last()).last(), QStringLiteral("report line 150"));

    // The number stands in the middle of the page, above the text.
    QProcess process;
    process.start(
        QStringLiteral("pdftotext"),
        {QStringLiteral("-bbox"), QStringLiteral("-f"), QStringLiteral("2"), QStringLiteral("-l"),
         QStringLiteral("2"), m_dir.filePath(QStringLiteral("long.pdf")), QStringLiteral("-")});
    QVERIFY(process.waitForFinished(20000));
    const QString html = QString::fromUtf8(process.readAllStandardOutput());
    const QRegularExpression pageRe(QStringLiteral("<page width=\"([0-9.]+)\""));
    const QRegularExpression wordRe(
        QStringLiteral("<word xMin=\"([0-9.]+)\" yMin=\"([0-9.]+)\" xMax=\"([0-9.]+)\" "
                       "yMax=\"[0-9.]+\">([^<]*)</word>"));
    const double pageWidth = pageRe.match(html).captured(1).toDouble();
    QList<QRegularExpressionMatch> words;
    for (auto it = wordRe.globalMatch(html); it.hasNext();) words << it.next();
    QVERIFY(words.size() > 4);
    QCOMPARE(words[0].captured(4) + words[1].captured(4) + words[2].captured(4),
             QStringLiteral("-2-"));
    const double middle = (words[0].captured(1).toDouble() + words[2].captured(3).toDouble()) / 2;
    QVERIFY2(qAbs(middle - pageWidth / 2) < 3,
             qPrintable(QStringLiteral("%1 of %2").arg(middle).arg(pageWidth)));
    QCOMPARE(words[3].captured(4), QStringLiteral("report"));
    QVERIFY(words[3].captured(2).toDouble() > words[0].captured(2).toDouble());
}

void ShellReportTest::fullLastPageIsNotFollowedByAnEmptyOne() {
    if (QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty())
        QSKIP("pdftotext is not installed");
    // How many lines the first page takes.
    const QStringList pages =
        printToPdf(m_dir.filePath(QStringLiteral("measure.pdf")), numberedLines(150));
    QVERIFY(pages.size() >= 2);
    const int perPage = int(nonEmptyLines(pages[0]).size());

    const QStringList full =
        printToPdf(m_dir.filePath(QStringLiteral("full.pdf")), numberedLines(perPage));
    QCOMPARE(full.size(), 1);
    const QStringList oneMore =
        printToPdf(m_dir.filePath(QStringLiteral("onemore.pdf")), numberedLines(perPage + 1));
    QCOMPARE(oneMore.size(), 2);
    QCOMPARE(
        nonEmptyLines(oneMore[1]),
        (QStringList{QStringLiteral("- 2 -"),
                     QStringLiteral("report line %1").arg(perPage + 1, 3, 10, QLatin1Char('0'))}));

    // Nothing to print: no job at all.
    const QString none = m_dir.filePath(QStringLiteral("none.pdf"));
    QPrinter printer;
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(none);
    QVERIFY(PrintReport(printer, {}, QFont()));
    QVERIFY(!QFile::exists(none));
}

namespace {

// Print of the window's report into a PDF file, the print dialog answered
// by `answer`; the texts of the message boxes that came up after it.
QStringList printThroughTheDialog(MainWindow& window, const QString& pdf,
                                  const std::function<void(QPrintDialog*)>& answer, int* seen) {
    QPrinter& printer = window.reportActions().printer();
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(pdf);
    WhenModal<QPrintDialog> dialog(answer);
    BoxCloser boxes(QMessageBox::Yes);
    window.reportActions().PrintActionExecute();
    *seen = dialog.seen;
    return boxes.texts;
}

}  // namespace

void ShellReportTest::printDialogCancelledPrintsAndSaysNothing() {
    Session session;
    session.LanguageFlag = kEnglish;
    session.Report.add("a result");
    MainWindow window(session);
    const QString pdf = m_dir.filePath(QStringLiteral("cancelled.pdf"));
    int seen = 0;
    const QStringList boxes = printThroughTheDialog(
        window, pdf, [](QPrintDialog* d) { d->reject(); }, &seen);
    QCOMPARE(seen, 1);
    QCOMPARE(boxes, QStringList());
    QVERIFY(!QFile::exists(pdf));
}

void ShellReportTest::printDialogAcceptedPrintsInAFixedPitchFont() {
    if (QStandardPaths::findExecutable(QStringLiteral("pdffonts")).isEmpty())
        QSKIP("pdffonts is not installed");
    Session session;
    session.LanguageFlag = kEnglish;
    session.Report.add("Surface   12.5 m2\r\nПоверхность   12.5 м2");
    MainWindow window(session);
    // A proportional font chosen for the memo.
    auto* memo = window.findChild<QPlainTextEdit*>(QStringLiteral("mmHeatEx"));
    memo->setFont(QFont(QStringLiteral("DejaVu Sans"), 10));
    const QString pdf = m_dir.filePath(QStringLiteral("accepted.pdf"));
    int seen = 0;
    const QStringList boxes = printThroughTheDialog(
        window, pdf, [](QPrintDialog* d) { d->accept(); }, &seen);
    QCOMPARE(seen, 1);
    QCOMPARE(boxes, QStringList{QStringLiteral("Wish to print the document ?")});
    QVERIFY(QFile::exists(pdf));

    const QFont expected = reportPrintFont(memo->font(), &window.reportActions().printer());
    QVERIFY(hasFixedAdvance(expected, &window.reportActions().printer()));
    QProcess process;
    process.start(QStringLiteral("pdffonts"), {pdf});
    QVERIFY(process.waitForFinished(20000));
    const QString fonts = QString::fromUtf8(process.readAllStandardOutput());
    const QString family = QFontInfo(expected).family().remove(QLatin1Char(' '));
    QVERIFY2(fonts.contains(family), qPrintable(family + QStringLiteral("\n") + fonts));
    QVERIFY2(!QRegularExpression(QStringLiteral("DejaVuSans(?!Mono)")).match(fonts).hasMatch(),
             qPrintable(fonts));
}

void ShellReportTest::readmeComesFromTheCurrentFolderElseFromTheProgram() {
    QString text, error;
    // No read-me in the current folder: the copy compiled into the program.
    QDir::setCurrent(m_dir.path());
    QVERIFY2(loadReadme(kEnglish, text, error), qPrintable(error));
    QVERIFY(text.contains(QStringLiteral("vexamo run")));
    QVERIFY2(loadReadme(2, text, error), qPrintable(error));
    QVERIFY(text.contains(QString::fromUtf8("Командная строка")));

    // One in the current folder wins, in Windows-1251 or in UTF-8.
    writeAll(m_dir.filePath(QStringLiteral("ReadmeRu.txt")),
             "\xcf\xf0\xee\xe3\xf0\xe0\xec\xec\xe0");
    QVERIFY(loadReadme(0, text, error));
    QCOMPARE(text, QString::fromUtf8("Программа"));
    writeAll(m_dir.filePath(QStringLiteral("ReadmeEn.txt")),
             QString::fromUtf8("Vexamo – local").toUtf8());
    QVERIFY(loadReadme(kEnglish, text, error));
    QCOMPARE(text, QString::fromUtf8("Vexamo – local"));
}

void ShellReportTest::aboutListsTheBuiltInSubstances_data() {
    QTest::addColumn<int>("language");
    QTest::addColumn<QStringList>("headers");
    QTest::addColumn<QStringList>("rows");
    QTest::newRow("English") << int(kEnglish)
                             << QStringList{"System name", "Substance", "Formula", "CAS"}
                             << QStringList{"comp.1|ethanol|C2H6O|64-17-5",
                                            "comp.2|water|H2O|7732-18-5",
                                            "comp.3|methanol|CH4O|67-56-1",
                                            "comp.4|ethyl acetate|C4H8O2|141-78-6"};
    QTest::newRow("Russian") << int(kRussian)
                             << QStringList{"Системное имя", "Вещество", "Формула", "CAS"}
                             << QStringList{"комп.1|этанол|C2H6O|64-17-5",
                                            "комп.2|вода|H2O|7732-18-5",
                                            "комп.3|метанол|CH4O|67-56-1",
                                            "комп.4|этилацетат|C4H8O2|141-78-6"};
}

// About, from the main window: under the read-me a table of the four
// built-in records, every row in view.
void ShellReportTest::aboutListsTheBuiltInSubstances() {
    QFETCH(int, language);
    QFETCH(QStringList, headers);
    QFETCH(QStringList, rows);
    Session session;
    session.LanguageFlag = static_cast<LanguageFlagType>(language);
    MainWindow window(session);
    auto* about = window.findChild<QAction*>(QStringLiteral("AboutAction"));
    QVERIFY(about != nullptr);

    QStringList shownHeaders, shownRows;
    QString readme;
    bool allInView = false;
    WhenModal<AboutDialog> reader([&](AboutDialog* dialog) {
        readme = dialog->text();
        auto* table = dialog->findChild<QTableWidget*>(QStringLiteral("tbSubstances"));
        if (table != nullptr) {
            for (int c = 0; c < table->columnCount(); ++c)
                shownHeaders << table->horizontalHeaderItem(c)->text();
            for (int r = 0; r < table->rowCount(); ++r) {
                QStringList cells;
                for (int c = 0; c < table->columnCount(); ++c) cells << table->item(r, c)->text();
                shownRows << cells.join(QLatin1Char('|'));
            }
            const int last = table->rowCount() - 1;
            allInView =
                table->isVisible() && last >= 0 &&
                table->visualItemRect(table->item(last, 0)).bottom() < table->viewport()->height();
        }
        dialog->accept();
    });
    about->trigger();
    QCOMPARE(reader.seen, 1);
    QVERIFY(!readme.isEmpty());
    QCOMPARE(shownHeaders, headers);
    QCOMPARE(shownRows, rows);
    QVERIFY(allInView);
}

// Export PDF in the File menu, in the session's language: the sheet of a
// Run that ended without results carries the reason and what the report
// says; a second export keeps the first as .bak; with no Run yet a message
// says there is nothing to export and no file is made.
void ShellReportTest::exportPdfWritesTheDataSheet() {
    if (QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty())
        QSKIP("pdftotext is not installed");
    Session session;
    session.LanguageFlag = 2;
    MainWindow window(session);
    ReportActions& actions = window.reportActions();
    QAction* pdf = window.findChild<QAction*>(QStringLiteral("PdfAction"));
    QVERIFY(pdf != nullptr);
    QCOMPARE(pdf, actions.PdfAction());
    QCOMPARE(pdf->text(), QString::fromUtf8("Экспорт в PDF"));
    auto* file = window.findChild<QMenu*>(QStringLiteral("mnFile"));
    QVERIFY(file != nullptr && file->actions().contains(pdf));

    const QString sheet = m_dir.filePath(QStringLiteral("sheet.pdf"));
    {
        BoxCloser closer(QMessageBox::Ok);
        QCOMPARE(actions.PdfActionExecute(), ReportActions::SaveResult::Cancelled);
        QCOMPARE(closer.texts.size(), 1);
        QVERIFY(!QFile::exists(sheet));
    }

    session.Report.add("  Причина: тестовый расчет без результатов");
    session.Results.reason = "тестовая причина";
    QString caption;
    {
        auto chooser = choose(sheet, &caption);
        QCOMPARE(actions.PdfActionExecute(), ReportActions::SaveResult::Saved);
    }
    QCOMPARE(caption, QString::fromUtf8("Экспорт в PDF"));
    const QString text = pdfPages(sheet).join(QLatin1Char('\n'));
    QVERIFY2(text.contains(QString::fromUtf8("Расчётный лист теплообменника")), qPrintable(text));
    QVERIFY(text.contains(QString::fromUtf8("Результатов нет: тестовая причина")));
    QVERIFY(text.contains(QString::fromUtf8("тестовый расчет без результатов")));
    QVERIFY(text.contains(QStringLiteral("Vexamo ")));

    const QByteArray first = readAll(sheet);
    QCOMPARE(actions.exportPdf(sheet), ReportActions::SaveResult::Saved);
    QCOMPARE(readAll(sheet + QStringLiteral(".bak")), first);
}

QTEST_MAIN(ShellReportTest)
#include "tst_shell_report.moc"
