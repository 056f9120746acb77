#include "ReportActions.h"

#include <QAction>
#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QFontDialog>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPrintDialog>
#include <QPrinter>
#include <QStringDecoder>
#include <QUrl>
#include <cerrno>
#include <cstring>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <system_error>

#include "AboutDialog.h"
#include "Icons.h"
#include "ReportFont.h"
#include "common/AtomicFile.h"
#include "common/Errors.h"
#include "common/Str20.h"
#include "control/ProblemFile.h"
#include "dialogs/ReportMemo.h"
#include "forms/FormSupport.h"
#include "forms/MessageBoxes.h"
#include "graph/DataSheet.h"
#include "plot/DataSheetPainter.h"

namespace vexamo::desktop {

namespace fs = std::filesystem;

namespace {

QString qs(const char* utf8) { return QString::fromUtf8(utf8); }
QString qs(const std::string& utf8) { return QString::fromStdString(utf8); }

fs::path toPath(const QString& fileName) {
    return fs::path(QFile::encodeName(fileName).toStdString());
}

// The hourglass for as long as it lives.
class BusyCursor {
public:
    BusyCursor() { QGuiApplication::setOverrideCursor(Qt::WaitCursor); }
    ~BusyCursor() { QGuiApplication::restoreOverrideCursor(); }
    BusyCursor(const BusyCursor&) = delete;
    BusyCursor& operator=(const BusyCursor&) = delete;
};

// The filter of the report dialogs: text files.
QStringList textFilter(LanguageFlagType lang) {
    return nameFilters(vexamo::tr(lang, "Text files|*.txt", "Текстовые файлы|*.txt"));
}

}  // namespace

std::vector<std::string> readReportFile(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    if (!in.is_open()) throw std::system_error(errno, std::generic_category(), file.string());
    const std::string bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    if (in.bad()) throw std::system_error(errno, std::generic_category(), file.string());
    return reportFileLines(bytes);
}

void writeReportFile(const fs::path& file, const std::vector<std::string>& lines) {
    const std::string bytes = reportFileBytes(lines);
    writeFileAtomically(file, bytes, BackupRule::ReplaceExtension);
}

int printLeftMargin(const QPrinter& printer) {
    // 15 mm from the left edge of the paper; the painter's origin is the
    // corner of the printable area, which may already be inset.
    const int resolution = printer.resolution();
    const int fromPaper = qRound(15.0 * resolution / 25.4);
    const int inset = printer.pageLayout().paintRectPixels(resolution).left();
    return std::max(0, fromPaper - inset);
}

bool PrintReport(QPrinter& printer, const std::vector<std::string>& lines, const QFont& font) {
    if (lines.empty()) return true;
    const BusyCursor busy;
    QPainter painter;
    if (!painter.begin(&printer)) return false;
    painter.setFont(font);
    const QFontMetrics metrics = painter.fontMetrics();
    const int h = metrics.size(Qt::TextSingleLine, QStringLiteral("1")).height();
    const int ascent = metrics.ascent();
    const int pageWidth = printer.width();
    const int pageHeight = printer.height();
    const int x = printLeftMargin(printer);

    // Texts are placed by their top-left corner; Qt draws on the baseline.
    auto textAt = [&](int left, int top, const QString& text) {
        painter.drawText(left, top + ascent, text);
    };

    int y = pageWidth / 15;
    int page = 1;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        textAt(x, y, qs(lines[i]));
        y += h;
        // A new page only when a line is left for it: a full last page is
        // not followed by an empty numbered one.
        if (pageHeight - y < 2 * h && i + 1 < lines.size()) {
            if (!printer.newPage()) return false;
            ++page;
            const QString number = QStringLiteral("- %1 -").arg(page);
            textAt((pageWidth - metrics.horizontalAdvance(number)) / 2, h, number);
            // The rule under the number runs level at 9h/4, between the
            // number (h .. 2h) and the text (from 3h).
            painter.drawLine(x, 9 * h / 4, pageWidth - x, 9 * h / 4);
            y = 3 * h;
        }
    }
    return painter.end();
}

bool loadReadme(LanguageFlagType lang, QString& text, QString& error) {
    const QString name =
        lang == kEnglish ? QStringLiteral("ReadmeEn.txt") : QStringLiteral("ReadmeRu.txt");
    const QStringList places = {
        QDir::current().filePath(name),
        QDir(QCoreApplication::applicationDirPath())
            .filePath(QStringLiteral("../share/vexamo/") + name),
        QStringLiteral(":/vexamo/") + name,
    };
    for (const QString& place : places) {
        QFile file(place);
        if (!file.exists()) continue;
        if (!file.open(QIODevice::ReadOnly)) {
            error = file.fileName() + QStringLiteral(": ") + file.errorString();
            return false;
        }
        const QByteArray bytes = file.readAll();
        // UTF-8 when the bytes are valid UTF-8, else Windows-1251.
        QStringDecoder utf8(QStringDecoder::Utf8);
        QString decoded = utf8.decode(bytes);
        if (utf8.hasError()) {
            try {
                decoded = qs(cp1251ToUtf8(
                    std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size()))));
            } catch (const EncodingError& e) {
                error = file.fileName() + QStringLiteral(": ") + qs(e.what());
                return false;
            }
        }
        text = decoded;
        return true;
    }
    error = (lang == kEnglish ? qs("File not found: ") : qs("Файл не найден: ")) + name;
    return false;
}

ReportActions::ReportActions(Session& session, QPlainTextEdit* memo, QWidget* window)
    : QObject(window), m_session(session), m_memo(memo), m_window(window) {
    setObjectName(QStringLiteral("fmAction"));
    auto make = [this](const char* name, IconId id) {
        auto* action = new QAction(icon(id), QString(), this);
        action->setObjectName(QLatin1String(name));
        return action;
    };
    m_open = make("OpenAction", IconId::Open);
    m_save = make("SavAction", IconId::Save);
    m_saveAs = make("SavAsAction", IconId::SaveAs);
    m_font = make("FontAction", IconId::Font);
    m_print = make("PrintAction", IconId::Print);
    m_exit = make("CancAction", IconId::Exit);
    m_about = make("AboutAction", IconId::About);
    m_homePage = make("HomePageAction", IconId::HomePage);
    m_pdf = make("PdfAction", IconId::SaveAs);

    connect(m_open, &QAction::triggered, this, [this] { OpenActionExecute(); });
    connect(m_save, &QAction::triggered, this, [this] { SavActionExecute(); });
    connect(m_saveAs, &QAction::triggered, this, [this] { SavAsActionExecute(); });
    connect(m_font, &QAction::triggered, this, [this] { FontActionExecute(); });
    connect(m_print, &QAction::triggered, this, [this] { PrintActionExecute(); });
    connect(m_exit, &QAction::triggered, this, [this] { CancActionExecute(); });
    connect(m_about, &QAction::triggered, this, [this] { AboutActionExecute(); });
    connect(m_homePage, &QAction::triggered, this, [this] { HomePageActionExecute(); });
    connect(m_pdf, &QAction::triggered, this, [this] { PdfActionExecute(); });
    setLanguage();
}

ReportActions::~ReportActions() = default;

void ReportActions::setLanguage() {
    const LanguageFlagType lang = m_session.LanguageFlag;
    auto set = [lang](QAction* action, const char* en, const char* ru, const char* hintEn,
                      const char* hintRu) {
        action->setText(qs(vexamo::tr(lang, en, ru)));
        // The hint of the tool button that shows the action.
        if (hintEn) action->setToolTip(qs(vexamo::tr(lang, hintEn, hintRu)));
    };
    set(m_open, "Open", "Открыть", "To open a file", "Открыть файл");
    set(m_save, "Save", "Сохранить", "To save in the file", "Сохранить в файле");
    set(m_saveAs, "Save as", "Сохранить как", "To save As", "Сохранить как");
    set(m_font, "Font", "Шрифт", "Font", "Шрифт");
    set(m_print, "Print", "Печать", "Print", "Печать");
    set(m_exit, "Exit", "Выход", nullptr, nullptr);
    set(m_about, "About", "О программе", "About program", "О программе");
    set(m_homePage, "HomePage", "Домашняя страница", "To visit the HomePage",
        "Посетить Домашнюю страницу");
    set(m_pdf, "Export PDF", "Экспорт в PDF", "To export the data sheet of the Run in PDF",
        "Экспортировать расчётный лист в PDF");
}

void ReportActions::OpenActionExecute() {
    const LanguageFlagType lang = m_session.LanguageFlag;
    QFileDialog dialog(m_window, qs(vexamo::tr(lang, "Opening of file", "Открытие файла")));
    dialog.setObjectName(QStringLiteral("OpenDialog1"));
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setNameFilters(textFilter(lang));
    dialog.setDefaultSuffix(QStringLiteral("txt"));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return;
    const QString fileName = dialog.selectedFiles().constFirst();
    if (!QFileInfo(fileName).isFile()) return;

    std::vector<std::string> lines;
    try {
        lines = readReportFile(toPath(fileName));
    } catch (const std::exception& e) {
        showError(m_window, e, lang,
                  std::string(vexamo::tr(
                      lang, "The file could not be read: ", "Не удалось прочитать файл: ")) +
                      QFile::encodeName(fileName).toStdString());
        return;
    }
    std::string text;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (i) text += '\n';
        text += lines[i];
    }
    m_session.Report.clear();
    if (!lines.empty()) m_session.Report.add(text);
    m_reportFileName = fileName;
}

ReportActions::SaveResult ReportActions::SavActionExecute() {
    if (!m_reportFileName.isEmpty() && QFileInfo::exists(m_reportFileName))
        return saveTo(m_reportFileName);
    return SavAsActionExecute();
}

ReportActions::SaveResult ReportActions::SavAsActionExecute() {
    const LanguageFlagType lang = m_session.LanguageFlag;
    QFileDialog dialog(m_window, qs(vexamo::tr(lang, "Saving file", "Сохранение файла")));
    dialog.setObjectName(QStringLiteral("SaveDialog1"));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    // The file it replaces is kept as its backup.
    dialog.setOption(QFileDialog::DontConfirmOverwrite);
    dialog.setNameFilters(textFilter(lang));
    dialog.setDefaultSuffix(QStringLiteral("txt"));
    dialog.selectFile(QStringLiteral("Report"));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return SaveResult::Cancelled;
    const QString fileName = dialog.selectedFiles().constFirst();
    const SaveResult result = saveTo(fileName);
    if (result == SaveResult::Saved) m_reportFileName = fileName;
    return result;
}

ReportActions::SaveResult ReportActions::saveTo(const QString& fileName) {
    const LanguageFlagType lang = m_session.LanguageFlag;
    const std::string name = QFile::encodeName(fileName).toStdString();
    try {
        writeReportFile(toPath(fileName), m_session.Report.lines());
    } catch (const EncodingError& e) {
        showMessage(m_window, MessageKind::Error,
                    std::string(vexamo::tr(
                        lang, "The report cannot be stored in the Windows-1251 code page: ",
                        "Отчет нельзя сохранить в кодировке Windows-1251: ")) +
                        e.what() + "\r\n" +
                        vexamo::tr(lang, "The file was not written: ", "Файл не записан: ") + name);
        return SaveResult::Failed;
    } catch (const std::exception& e) {
        showError(m_window, e, lang,
                  std::string(vexamo::tr(
                      lang, "The file could not be written: ", "Не удалось записать файл: ")) +
                      name);
        return SaveResult::Failed;
    }
    return SaveResult::Saved;
}

void ReportActions::FontActionExecute() {
    bool ok = false;
    const QFont font = QFontDialog::getFont(&ok, m_memo->font(), m_window);
    if (ok) m_memo->setFont(font);
}

QPrinter& ReportActions::printer() {
    if (!m_printer) m_printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
    return *m_printer;
}

void ReportActions::PrintActionExecute() {
    const LanguageFlagType lang = m_session.LanguageFlag;
    printer();
    m_printer->setCopyCount(1);
    m_printer->setPrintRange(QPrinter::AllPages);
    {
        QPrintDialog dialog(m_printer.get(), m_window);
        dialog.setObjectName(QStringLiteral("PrintDialog1"));
        // Cancel there prints nothing and asks nothing more.
        if (dialog.exec() != QDialog::Accepted) return;
    }
    if (!askYesNo(m_window, vexamo::tr(lang, "Wish to print the document ?",
                                       "Желаете напечатать документ ?")))
        return;
    if (!PrintReport(*m_printer, m_session.Report.lines(),
                     reportPrintFont(m_memo->font(), m_printer.get())))
        showMessage(m_window, MessageKind::Error,
                    vexamo::tr(lang, "The document could not be printed.",
                               "Не удалось напечатать документ."));
}

ReportActions::SaveResult ReportActions::PdfActionExecute() {
    const LanguageFlagType lang = m_session.LanguageFlag;
    if (m_session.Report.lineCount() == 0) {
        showMessage(m_window, MessageKind::Information,
                    vexamo::tr(lang, "There is no Run yet to put on a data sheet.",
                               "Расчета еще не было: расчётный лист пуст."));
        return SaveResult::Cancelled;
    }
    QFileDialog dialog(m_window, qs(vexamo::tr(lang, "Export PDF", "Экспорт в PDF")));
    dialog.setObjectName(QStringLiteral("PdfDialog1"));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    // The file it replaces is kept as its backup.
    dialog.setOption(QFileDialog::DontConfirmOverwrite);
    dialog.setNameFilters(nameFilters(vexamo::tr(lang, "PDF files|*.pdf", "Файлы PDF|*.pdf")));
    dialog.setDefaultSuffix(QStringLiteral("pdf"));
    dialog.selectFile(QStringLiteral("DataSheet"));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return SaveResult::Cancelled;
    return exportPdf(dialog.selectedFiles().constFirst());
}

ReportActions::SaveResult ReportActions::exportPdf(const QString& fileName) {
    const LanguageFlagType lang = m_session.LanguageFlag;
    try {
        const std::optional<ProfileGraphRequest> profile =
            m_profileSource ? m_profileSource() : std::nullopt;
        const DataSheet sheet =
            dataSheet(m_session, profile ? &*profile : nullptr,
                      {{}, todayDate(), std::string("Vexamo ") + VEXAMO_VERSION});
        plot::renderDataSheet(sheet, toPath(fileName));
    } catch (const std::exception& e) {
        showError(m_window, e, lang,
                  std::string(vexamo::tr(
                      lang, "The file could not be written: ", "Не удалось записать файл: ")) +
                      QFile::encodeName(fileName).toStdString());
        return SaveResult::Failed;
    }
    return SaveResult::Saved;
}

void ReportActions::CancActionExecute() {
    if (confirmExit()) emit quitRequested();
}

bool ReportActions::confirmExit() {
    const LanguageFlagType lang = m_session.LanguageFlag;
    if (m_session.Report.lineCount() == 0) return true;
    if (!askYesNo(m_window, vexamo::tr(lang, "Wish to keep the text with results in a file (y/n) ?",
                                       "Желаете сохранить текст с результатами в файле (y/n) ? ")))
        return true;
    // A report that could not be written is not thrown away with the program.
    return SavAsActionExecute() != SaveResult::Failed;
}

void ReportActions::AboutActionExecute() {
    AboutDialog dialog(m_session.LanguageFlag, m_window);
    QString text, error;
    if (!loadReadme(m_session.LanguageFlag, text, error)) {
        showMessage(m_window, MessageKind::Error, error.toStdString());
        return;
    }
    dialog.setText(text);
    dialog.setSubstances(m_session.Data.SubstanceTable);
    dialog.exec();
}

QString ReportActions::homePageAddress(LanguageFlagType lang) {
    return lang == kEnglish ? QStringLiteral("https://vexamo.example/en")
                            : QStringLiteral("https://vexamo.example/ru");
}

void ReportActions::HomePageActionExecute() {
    errno = 0;
    if (QDesktopServices::openUrl(QUrl(homePageAddress(m_session.LanguageFlag)))) return;
    // The same text in both languages; the number is the system's error
    // number when it left one.
    const int code = errno != 0 ? errno : ENOENT;
    showMessage(m_window, MessageKind::Error, "Ошибка " + std::to_string(code));
}

}  // namespace vexamo::desktop
