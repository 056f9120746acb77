#include "DesktopApp.h"

#include <QApplication>
#include <QLocale>
#include <QMessageBox>
#include <QPrinter>
#include <QPrinterInfo>
#include <QString>
#include <QStringList>
#include <stdexcept>

#include "Icons.h"
#include "LanguageDialog.h"
#include "MainWindow.h"
#include "ScreenshotRun.h"
#include "common/NumberFormat.h"
#include "control/Session.h"

namespace vexamo::desktop {

namespace {

// Numbers are written and read with the decimal separator of the system's
// number settings, when it is one the number formats can use; else '.'.
char systemDecimalSeparator() {
    const QString point = QLocale::system().decimalPoint();
    if (point.size() != 1 || point.at(0).unicode() >= 0x80) return '.';
    const char separator = static_cast<char>(point.at(0).unicode());
    try {
        const DecimalSeparatorScope probe(separator);
    } catch (const std::invalid_argument&) {
        return '.';
    }
    return separator;
}

// A printer of the system, or else printing into a PDF file.
bool printingPossible() {
    if (!QPrinterInfo::availablePrinters().isEmpty()) return true;
    QPrinter pdf;
    pdf.setOutputFormat(QPrinter::PdfFormat);
    return pdf.isValid();
}

void warnNoPrinter(const Session& session, QWidget* parent) {
    QMessageBox box(
        QMessageBox::Critical, QStringLiteral("Vexamo"),
        QString::fromUtf8(vexamo::tr(session.LanguageFlag,
                                     "For normal operation of the program on your\r\ncomputer the "
                                     "printer must be installed",
                                     "Для нормальной работы программы на Вашем\r\nкомпьютере "
                                     "должен быть установлен принтер"))
            .replace(QStringLiteral("\r\n"), QStringLiteral("\n")),
        QMessageBox::Yes | QMessageBox::No, parent);
    box.exec();  // the answer is not used
}

}  // namespace

int runDesktop(int argc, char** argv) {
    // The hidden scripted mode of tools/screenshots.sh: vexamo --screenshots DIR.
    QString screenshotFolder;
    for (int i = 1; i + 1 < argc; ++i)
        if (QString::fromLocal8Bit(argv[i]) == QStringLiteral("--screenshots"))
            screenshotFolder = QString::fromLocal8Bit(argv[i + 1]);

    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Vexamo"));
    QApplication::setWindowIcon(icon(IconId::Application));
    // The forms show and read numbers on this thread for the program's life.
    const char separator = systemDecimalSeparator();
    const DecimalSeparatorScope decimalSeparator(separator);

    if (!screenshotFolder.isEmpty()) return runScreenshots(screenshotFolder);

    // The built-in data tables are filled before any window exists.
    Session session;
    session.DecimalSeparator = separator;
    session.LanguageFlag = LanguageDialog::choose();

    MainWindow window(session);
    QObject::connect(&window, &MainWindow::quitRequested, &app, &QCoreApplication::quit,
                     Qt::QueuedConnection);
    if (!printingPossible()) warnNoPrinter(session, &window);
    window.show();
    return QApplication::exec();
}

}  // namespace vexamo::desktop
