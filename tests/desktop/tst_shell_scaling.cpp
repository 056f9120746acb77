// The main window at 150 % scaling on a screen 1000 pixels high: it opens
// inside the screen's available area with the Run button in view. The screen
// is the offscreen platform's, 1600 x 1000, scaled by QT_SCALE_FACTOR=1.5.
#include <QApplication>
#include <QFile>
#include <QLocale>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QTemporaryDir>
#include <QTest>

#include "desktop/MainWindow.h"

using namespace vexamo;
using namespace vexamo::desktop;

namespace {

QString describe(const QRect& r) {
    return QStringLiteral("%1,%2 %3x%4").arg(r.x()).arg(r.y()).arg(r.width()).arg(r.height());
}

}  // namespace

class ShellScalingTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { QLocale::setDefault(QLocale::c()); }

    void sizeIsCutToTheAvailableArea_data() {
        QTest::addColumn<QSize>("available");
        QTest::addColumn<QSize>("expected");
        QTest::newRow("room enough") << QSize(1920, 1040) << QSize(980, 700);
        // 1000 pixels at 150 %: 667 less a task bar.
        QTest::newRow("150 %") << QSize(1067, 640) << QSize(980, 606);
        QTest::newRow("narrow") << QSize(900, 1000) << QSize(892, 700);
        // Below the window's minimum it keeps its minimum.
        QTest::newRow("tiny") << QSize(300, 200) << QSize(620, 300);
    }

    void sizeIsCutToTheAvailableArea() {
        QFETCH(QSize, available);
        QFETCH(QSize, expected);
        QCOMPARE(
            MainWindow::fittedWindowSize(QSize(980, 700), QSize(620, 300),
                                         QRect(QPoint(0, 0), available), QMargins(4, 30, 4, 4)),
            expected);
    }

    void windowAndRunButtonAreOnTheScreen() {
        QScreen* screen = QGuiApplication::primaryScreen();
        QCOMPARE(screen->geometry().height(), 667);  // 1000 / 1.5
        Session session;
        session.LanguageFlag = 2;
        MainWindow window(session);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        const QRect available = screen->availableGeometry();
        QVERIFY2(available.contains(window.frameGeometry()),
                 qPrintable(describe(window.frameGeometry()) + QStringLiteral(" in ") +
                            describe(available)));

        auto* run = window.findChild<QPushButton*>(QStringLiteral("BitBtnRun"));
        QVERIFY(run->isVisible());
        const QRect button(run->mapToGlobal(QPoint(0, 0)), run->size());
        QVERIFY2(available.contains(button), qPrintable(describe(button)));
        QVERIFY(!run->visibleRegion().isEmpty());
        QCOMPARE(run->visibleRegion().boundingRect(), run->rect());
        // The report takes what is left, and scrolls.
        auto* memo = window.findChild<QPlainTextEdit*>(QStringLiteral("mmHeatEx"));
        QVERIFY(memo->height() > 100);
    }
};

int main(int argc, char** argv) {
    // The screen of the scenario, before the application starts.
    QTemporaryDir dir;
    const QString config = dir.filePath(QStringLiteral("screens.json"));
    {
        QFile file(config);
        if (!file.open(QIODevice::WriteOnly)) return 2;
        file.write(R"({"screens": [{"name": "scaled", "x": 0, "y": 0, "width": 1600,
                        "height": 1000, "logicalDpi": 96, "logicalBaseDpi": 96, "dpr": 1.0}]})");
    }
    qputenv("QT_QPA_PLATFORM", ("offscreen:configfile=" + config).toLocal8Bit());
    qputenv("QT_SCALE_FACTOR", "1.5");
    QApplication app(argc, argv);
    ShellScalingTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_shell_scaling.moc"
