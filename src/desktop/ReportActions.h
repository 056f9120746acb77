#pragma once
// TfmAction: the actions on the report text of the main window (open, save,
// save as, font, print, exit, about, home page), the report text file and
// the printing of the report.
#include <QFont>
#include <QObject>
#include <QString>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "control/Session.h"
#include "dialogs/Dialogs.h"

class QAction;
class QPlainTextEdit;
class QPrinter;
class QWidget;

namespace vexamo::desktop {

// The report text file (its bytes: reportFileBytes and reportFileLines of
// dialogs/ReportMemo.h).

// Reads a report text file into lines; CR LF, LF and CR all end a line, and a
// line end at the very end of the file does not start another line. Throws
// std::runtime_error (the file cannot be read) or EncodingError (a byte that
// is no Windows-1251 character).
std::vector<std::string> readReportFile(const std::filesystem::path& file);

// Encodes the lines first, so a text that cannot be stored touches nothing,
// then writes through writeFileAtomically: the new file is on disk before an
// existing one becomes "Report.bak". Throws EncodingError, OutputRefused (not
// a regular file) or FileWriteError; the previous file then keeps its name.
void writeReportFile(const std::filesystem::path& file, const std::vector<std::string>& lines);

// PrintReport: prints the lines in the font as one print job, a line every
// h pixels (h = the height of the text "1"), the first page starting at a
// fifteenth of the page width from the top; every further page carries
// "- n -" centred at the top over a rule and its text starts at 3h. Returns
// false when the print job could not be started or finished; an empty report
// prints nothing and returns true.
bool PrintReport(QPrinter& printer, const std::vector<std::string>& lines, const QFont& font);

// The left margin of the printed report, 15 mm, in the printer's pixels.
int printLeftMargin(const QPrinter& printer);

// The read-me text shown by About in the language: "ReadmeEn.txt" or
// "ReadmeRu.txt" from the current folder, else the copy installed with the
// program (share/vexamo beside bin), else the one compiled into it. UTF-8
// or Windows-1251. Returns false when none could be read.
bool loadReadme(LanguageFlagType languageFlag, QString& text, QString& error);

class ReportActions : public QObject {
    Q_OBJECT
public:
    // The memo shows session.Report; dialogs open over `window`.
    ReportActions(Session& session, QPlainTextEdit* memo, QWidget* window);
    ~ReportActions() override;

    QAction* OpenAction() const { return m_open; }
    QAction* SavAction() const { return m_save; }
    QAction* SavAsAction() const { return m_saveAs; }
    QAction* FontAction() const { return m_font; }
    QAction* PrintAction() const { return m_print; }
    QAction* CancAction() const { return m_exit; }
    QAction* AboutAction() const { return m_about; }
    QAction* HomePageAction() const { return m_homePage; }
    QAction* PdfAction() const { return m_pdf; }

    // Captions in the session's language.
    void setLanguage();

    // The current report file name: set by Open and Save As, used by Save.
    const QString& reportFileName() const { return m_reportFileName; }
    // The printer of Print, made on first use; it keeps the choices of the
    // print dialog from one Print to the next.
    QPrinter& printer();

    enum class SaveResult { Saved, Cancelled, Failed };

    void OpenActionExecute();
    SaveResult SavActionExecute();
    SaveResult SavAsActionExecute();
    void FontActionExecute();
    void PrintActionExecute();
    // Exit: offers to save a report that has lines, then asks the program to
    // end (quitRequested).
    void CancActionExecute();
    // The save offer of Exit; false when the program is to stay (the report
    // could not be written).
    bool confirmExit();
    void AboutActionExecute();
    void HomePageActionExecute();
    // Export PDF: the data sheet of the last Run (graph/DataSheet.h) into a
    // chosen .pdf file, the previous one kept as FILE.pdf.bak. A Run without
    // results gets its sheet with the reason; with no Run yet there is
    // nothing to export, and a message says so.
    SaveResult PdfActionExecute();
    // The sheet written to `fileName` without a dialog; errors are shown.
    SaveResult exportPdf(const QString& fileName);
    // Where Export PDF takes the temperature profile the Run showed last.
    void setProfileSource(std::function<std::optional<ProfileGraphRequest>()> source) {
        m_profileSource = std::move(source);
    }

    // The page opened by HomePage in the language.
    static QString homePageAddress(LanguageFlagType languageFlag);

signals:
    // Exit was confirmed: the program ends.
    void quitRequested();

private:
    SaveResult saveTo(const QString& fileName);

    Session& m_session;
    QPlainTextEdit* m_memo;
    QWidget* m_window;
    QString m_reportFileName;
    std::unique_ptr<QPrinter> m_printer;  // keeps the choices of the print dialog

    QAction* m_open;
    QAction* m_save;
    QAction* m_saveAs;
    QAction* m_font;
    QAction* m_print;
    QAction* m_exit;
    QAction* m_about;
    QAction* m_homePage;
    QAction* m_pdf;
    std::function<std::optional<ProfileGraphRequest>()> m_profileSource;
};

}  // namespace vexamo::desktop
