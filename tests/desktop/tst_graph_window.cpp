// The temperature profile window: it paints every curve in its colour along
// the curve, paints new data when shown again, offers not to be shown again
// during a Run, saves its picture, and the last Run's profile can be shown
// again from the main window.
#include <QAction>
#include <QCheckBox>
#include <QFileDialog>
#include <QImage>
#include <QLineEdit>
#include <QLocale>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>

#include "common/Errors.h"
#include "control/Session.h"
#include "desktop/MainWindow.h"
#include "desktop/forms/QtDialogs.h"
#include "desktop/forms/TfmHexGraph.h"
#include "graph/ProfileGraph.h"
#include "plot/ProfilePainter.h"
#include "tst_forms_support.h"

using namespace vexamo;
using namespace vexamo::desktop;

namespace {

// A two-pass exchanger: the shell side heated from 20 by `shellRise` degC,
// the tube passes cooling from 90 to 70 and from 70 to 55 degC.
ProfileGraphRequest twoPasses(Real shellRise = 30) {
    ProfileGraphRequest request;
    request.language = kEnglish;
    request.curves.resize(3);
    for (int j = 0; j <= 12; ++j) {
        const Real x = j / 12.0L;
        request.positions.push_back(x);
        request.curves[0].push_back(20 + shellRise * x);
        request.curves[1].push_back(90 - 20 * x);
        request.curves[2].push_back(55 + 15 * x);
    }
    return request;
}

bool hasColourNear(const QImage& image, int x, int y, QRgb colour) {
    for (int dy = -1; dy <= 1; ++dy)
        for (int dx = -1; dx <= 1; ++dx) {
            const QPoint p(x + dx, y + dy);
            if (image.rect().contains(p) &&
                (image.pixel(p) | 0xFF000000u) == (colour | 0xFF000000u))
                return true;
        }
    return false;
}

// The share of points along a polyline (inside each segment) where the
// picture has the curve's colour.
double coverage(const QImage& image, const GraphPolyline& curve) {
    const QRgb colour = qRgb(curve.colour.r, curve.colour.g, curve.colour.b);
    int samples = 0;
    int found = 0;
    for (std::size_t k = 0; k + 1 < curve.points.size(); ++k) {
        const GraphPoint a = curve.points[k];
        const GraphPoint b = curve.points[k + 1];
        for (int step = 1; step < 10; ++step) {
            const double t = step / 10.0;
            const int x = qRound(a.x + t * (b.x - a.x));
            const int y = qRound(a.y + t * (b.y - a.y));
            ++samples;
            if (hasColourNear(image, x, y, colour)) ++found;
        }
    }
    return samples == 0 ? 0.0 : double(found) / samples;
}

QByteArray readAll(const QString& file) {
    QFile f(file);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

std::filesystem::path toPath(const QString& file) {
    return std::filesystem::path(QFile::encodeName(file).toStdString());
}

// An exchanger whose results are the profiles it shows, one after another.
class ProfileExchanger : public ExchangerObject {
public:
    ProfileExchanger(Dialogs& dialogs, std::vector<ProfileGraphRequest> profiles)
        : m_dialogs(dialogs), m_profiles(std::move(profiles)) {}
    bool ReportResults(Real, Real) override {
        for (const ProfileGraphRequest& profile : m_profiles) m_dialogs.showProfileGraph(profile);
        return true;
    }

private:
    Dialogs& m_dialogs;
    std::vector<ProfileGraphRequest> m_profiles;
};

// The settings of a Run that goes straight from the entered data to an
// exchanger showing `profiles`; `cancel` cancels it in the preparation.
RunSettings profileRun(ExchangerRegistry& registry, std::vector<ProfileGraphRequest> profiles,
                       bool cancel = false) {
    registry.add(ExchangerClass::THeatCoolObj, [profiles](const ExchangerArguments& a) {
        return std::make_unique<ProfileExchanger>(a.dialogs, profiles);
    });
    RunSettings settings;
    settings.exchangers = &registry;
    settings.prepareStream = [cancel](std::uint8_t, char, std::uint8_t, TechnSet&, Real&, Real&,
                                      Real) {
        if (cancel) throw RunCancelled("preparation");
    };
    return settings;
}

void asAfterDataEntry(Session& session) {
    session.LanguageFlag = kEnglish;
    session.PairCode = 6;
    session.TechnoPending = session.DesignPending = false;
    session.TechnoEntered = session.DesignEntered = true;
}

QImage picture(TfmHexGraph& window) {
    return window.paintBox()->grab().toImage().convertToFormat(QImage::Format_RGB32);
}

}  // namespace

class TestGraphWindow : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { QLocale::setDefault(QLocale::c()); }

    void paintsEveryCurveInItsColour() {
        TfmHexGraph window;
        const ProfileGraphRequest request = twoPasses();
        window.setRequest(request);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QCOMPARE(window.size(), QSize(870, 600));
        QCOMPARE(window.paintBox()->size(), QSize(862, 537));
        QCOMPARE(window.paintBox()->objectName(), QString("pbHex"));
        QCOMPARE(window.windowTitle(),
                 QString("Structures of temperatures on length of a heat-transmitting surface"));

        const ProfileGraphGeometry geometry = profileGraphWindow(request);
        QCOMPARE(geometry.polylines.size(), std::size_t(3));
        const QImage image = picture(window);
        for (const GraphPolyline& curve : geometry.polylines)
            QVERIFY2(coverage(image, curve) > 0.9,
                     qPrintable(QString::number(coverage(image, curve))));
        // The plot is drawn on the window colour, the axes in black.
        QCOMPARE(image.pixel(geometry.scales.ox + 100, geometry.scales.oy - 5) | 0xFF000000u,
                 qRgb(255, 255, 255));
        QCOMPARE(image.pixel(geometry.scales.ox + 100, geometry.scales.oy) | 0xFF000000u,
                 qRgb(0, 0, 0));
        window.close();

        // Shown again with other data: the new curves, not the old ones.
        const ProfileGraphRequest moved = twoPasses(10);
        window.setRequest(moved);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        const ProfileGraphGeometry again = profileGraphWindow(moved);
        const QImage second = picture(window);
        for (const GraphPolyline& curve : again.polylines) QVERIFY(coverage(second, curve) > 0.9);
        QVERIFY(coverage(second, geometry.polylines[0]) < 0.5);
        QCOMPARE(window.windowTitle(),
                 QString("Structures of temperatures on length of a heat-transmitting surface"));
        window.close();

        ProfileGraphRequest russian = twoPasses();
        russian.language = kRussian;
        window.setRequest(russian);
        window.show();
        QCOMPARE(window.windowTitle(),
                 QString("Профили температур по длине теплопередающей поверхности"));
        window.close();
    }

    // Through the port: the person may tick "Don't show again during this
    // Run"; the graph then stays away until the next Run begins.
    void notShownAgainDuringTheRun() {
        Session session;
        QtDialogs dialogs(session, nullptr);
        int shown = 0;
        auto close = [&](bool tick) {
            return [&shown, tick](TfmHexGraph* window) {
                ++shown;
                auto* box = window->findChild<QCheckBox*>("chbDontShowAgain");
                QVERIFY(box != nullptr && box->isVisible() && !box->isChecked());
                QCOMPARE(box->text(), QString("Don't show again during this Run"));
                if (tick) box->setChecked(true);
                window->close();
            };
        };
        {
            test::WhenModal<TfmHexGraph> driver(close(false));
            dialogs.showProfileGraph(twoPasses());
        }
        {
            test::WhenModal<TfmHexGraph> driver(close(true));
            dialogs.showProfileGraph(twoPasses());
        }
        QCOMPARE(shown, 2);
        dialogs.showProfileGraph(twoPasses());  // returns without a window
        QCOMPARE(shown, 2);
        dialogs.beginRun();
        {
            test::WhenModal<TfmHexGraph> driver(close(false));
            dialogs.showProfileGraph(twoPasses());
        }
        QCOMPARE(shown, 3);
    }

    void savesItsPictureAsPngOrSvg() {
        QTemporaryDir dir;
        TfmHexGraph window;
        window.setRequest(twoPasses());
        auto* save = window.findChild<QPushButton*>("btSavePicture");
        QVERIFY(save != nullptr);
        QCOMPARE(save->text(), QString("Save picture..."));

        const QString png = dir.filePath("profile.png");
        QVERIFY(window.savePicture(toPath(png)));
        QImage image;
        QVERIFY(image.load(png, "PNG"));
        QCOMPARE(image.size(), QSize(862, 537));
        const QString svg = dir.filePath("profile.SVG");
        QVERIFY(window.savePicture(toPath(svg)));
        QVERIFY(readAll(svg).contains("<svg"));

        // Saved again: the previous picture is kept as its backup.
        const QByteArray first = readAll(png);
        window.setRequest(twoPasses(10));
        QVERIFY(window.savePicture(toPath(png)));
        QCOMPARE(readAll(png + ".bak"), first);
        QVERIFY(readAll(png) != first);

        // A type it cannot write: said in a box, nothing written.
        test::BoxCloser boxes(QMessageBox::Ok);
        const QString jpeg = dir.filePath("profile.jpg");
        QVERIFY(!window.savePicture(toPath(jpeg)));
        QCOMPARE(boxes.texts.size(), 1);
        QVERIFY2(boxes.texts.first().contains(jpeg), qPrintable(boxes.texts.first()));
        QVERIFY(!QFile::exists(jpeg));
    }

    void saveButtonAsksForTheFileAndType() {
        QTemporaryDir dir;
        TfmHexGraph window;
        ProfileGraphRequest russian = twoPasses();
        russian.language = kRussian;
        window.setRequest(russian);
        QCOMPARE(window.findChild<QPushButton*>("btSavePicture")->text(),
                 QString("Сохранить рисунок..."));
        QStringList filters;
        test::WhenModal<QFileDialog> chooser([&](QFileDialog* dialog) {
            filters = dialog->nameFilters();
            dialog->setDirectory(dir.path());
            dialog->selectNameFilter(filters.value(1));
            dialog->findChild<QLineEdit*>("fileNameEdit")->setText("shown");
            QMetaObject::invokeMethod(dialog, "accept", Qt::DirectConnection);
        });
        window.findChild<QPushButton*>("btSavePicture")->click();
        QCOMPARE(chooser.seen, 1);
        QCOMPARE(filters, (QStringList{"Рисунки PNG (*.png)", "Рисунки SVG (*.svg)"}));
        // The type chosen gives the extension.
        QVERIFY(readAll(dir.filePath("shown.svg")).contains("<svg"));
    }

    // The profile of the last Run is kept, also when the person chose not to
    // see it again; the main window shows it again, and it can be saved.
    void lastProfileShownAgainFromTheMainWindow() {
        Session session;
        asAfterDataEntry(session);
        MainWindow window(session);
        auto* show = window.findChild<QAction*>("ShowProfileAction");
        QVERIFY(show != nullptr);
        QCOMPARE(show->text(), QString("Show last profile"));
        QVERIFY(!show->isEnabled());

        ExchangerRegistry registry;
        window.setRunSettings(profileRun(registry, {twoPasses(30), twoPasses(10)}));
        int shown = 0;
        test::WhenModal<TfmHexGraph> tick([&](TfmHexGraph* graph) {
            ++shown;
            graph->findChild<QCheckBox*>("chbDontShowAgain")->setChecked(true);
            graph->close();
        });
        {
            test::BoxCloser boxes(QMessageBox::No);  // the offer to save the problem
            window.frMainForm1BitBtnRunClick();
        }
        QCOMPARE(shown, 1);  // the second profile was not shown
        QVERIFY(show->isEnabled());
        QVERIFY(window.dialogs().lastProfile().has_value());

        QTemporaryDir dir;
        const QString png = dir.filePath("last.png");
        bool offered = true;
        ProfileGraphGeometry painted;
        test::WhenModal<TfmHexGraph> again([&](TfmHexGraph* graph) {
            offered = graph->findChild<QCheckBox*>("chbDontShowAgain")->isVisible();
            painted = graph->paintBox()->geometryData();
            QVERIFY(graph->savePicture(toPath(png)));
            graph->close();
        });
        show->trigger();
        QCOMPARE(again.seen, 1);
        QVERIFY(!offered);
        // The last profile the Run gave, not the first.
        const ProfileGraphGeometry expected = profileGraphWindow(twoPasses(10));
        QCOMPARE(painted.polylines.size(), expected.polylines.size());
        QCOMPARE(painted.polylines[0].points.back().y, expected.polylines[0].points.back().y);
        QCOMPARE(readAll(png),
                 QByteArray::fromStdString(plot::profileGraphPicture(twoPasses(10), "png")));

        // A cancelled Run leaves the profile as it was ...
        ExchangerRegistry cancelled;
        window.setRunSettings(profileRun(cancelled, {}, true));
        {
            test::BoxCloser boxes(QMessageBox::Ok);
            window.frMainForm1BitBtnRunClick();
        }
        QVERIFY(show->isEnabled());
        // ... a Run that draws none has no last profile.
        ExchangerRegistry none;
        window.setRunSettings(profileRun(none, {}));
        {
            test::BoxCloser boxes(QMessageBox::No);
            window.frMainForm1BitBtnRunClick();
        }
        QVERIFY(!show->isEnabled());
        QVERIFY(!window.dialogs().lastProfile().has_value());
    }
};

QTEST_MAIN(TestGraphWindow)
#include "tst_graph_window.moc"
