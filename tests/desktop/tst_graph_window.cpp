// The temperature profile window: it paints every curve in its colour along
// the curve, paints new data when shown again, and offers not to be shown
// again during a Run.
#include <QCheckBox>
#include <QImage>
#include <QLocale>
#include <QtTest>

#include "control/Session.h"
#include "desktop/forms/QtDialogs.h"
#include "desktop/forms/TfmHexGraph.h"
#include "graph/ProfileGraph.h"
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
};

QTEST_MAIN(TestGraphWindow)
#include "tst_graph_window.moc"
