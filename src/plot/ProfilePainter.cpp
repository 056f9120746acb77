#include "plot/ProfilePainter.h"

#include <unistd.h>

#include <QDir>
#include <QFile>

#include <QColor>
#include <QCoreApplication>
#include <QFile>
#include <QFont>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPen>
#include <QPoint>
#include <QPolygon>
#include <QString>
#include <QSvgGenerator>
#include <algorithm>
#include <cctype>
#include <stdexcept>
#include <string>

#if defined(__SANITIZE_ADDRESS__)
// fontconfig, which Qt uses to find fonts, keeps allocations for the life of
// the process that the leak checker reports at exit. They are not ours; every
// program that draws links this file, so the suppression lives here (it must
// be defined once per program).
extern "C" const char* __lsan_default_suppressions() { return "leak:libfontconfig.so\n"; }
#endif

namespace vexamo::plot {

namespace {

QColor toQColor(Rgb colour) { return QColor(colour.r, colour.g, colour.b); }

QPoint toQPoint(GraphPoint point) { return QPoint(point.x, point.y); }

QString fileName(const std::filesystem::path& file) { return QFile::decodeName(file.c_str()); }

[[noreturn]] void cannotWrite(const std::filesystem::path& file) {
    throw std::runtime_error(file.string() + ": cannot write the picture file");
}

void drawText(QPainter& painter, const GraphText& text) {
    painter.setPen(toQColor(text.colour));
    const QFontMetrics metrics(painter.font());
    painter.drawText(QPoint(text.topLeft.x, text.topLeft.y + metrics.ascent()),
                     QString::fromStdString(text.text));
}

std::string lowerExtension(const std::filesystem::path& file) {
    std::string extension = file.extension().string();
    std::transform(extension.begin(), extension.end(), extension.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return extension;
}

}  // namespace

void ensureGuiApplication() {
    if (QCoreApplication* existing = QCoreApplication::instance()) {
        if (qobject_cast<QGuiApplication*>(existing) == nullptr)
            throw std::runtime_error(
                "drawing needs a graphical application object, but a non-graphical one exists");
        return;
    }
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    // Without a session the toolkit warns about its runtime folder on every
    // start; a headless drawing has no use for one.
    if (qEnvironmentVariableIsEmpty("XDG_RUNTIME_DIR")) {
        const QByteArray folder = QDir::tempPath().toLocal8Bit() + "/vexamo-runtime-" + QByteArray::number(getuid());
        QDir().mkpath(QString::fromLocal8Bit(folder));
        QFile::setPermissions(QString::fromLocal8Bit(folder), QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                                                  QFileDevice::ExeOwner);
        qputenv("XDG_RUNTIME_DIR", folder);
    }
    static int argc = 1;
    static char name[] = "vexamo";
    static char* argv[] = {name, nullptr};
    // Lives until the process ends; kept reachable through this pointer.
    [[maybe_unused]] static QGuiApplication* application = nullptr;
    application = new QGuiApplication(argc, argv);
}

void paintProfileGraph(QPainter& painter, const ProfileGraphGeometry& geometry) {
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setBackgroundMode(Qt::TransparentMode);
    const QRect canvas(0, 0, geometry.canvasWidth, geometry.canvasHeight);
    for (const Rgb& colour : geometry.backgrounds) painter.fillRect(canvas, toQColor(colour));

    for (const GraphLine& line : geometry.lines) {
        QPen pen(toQColor(line.colour), line.penWidth, line.dotted ? Qt::DotLine : Qt::SolidLine,
                 Qt::FlatCap);
        painter.setPen(pen);
        painter.drawLine(toQPoint(line.from), toQPoint(line.to));
    }

    QFont font = painter.font();
    font.setPixelSize(11);
    painter.setFont(font);
    for (const GraphText& text : geometry.texts) drawText(painter, text);

    for (const GraphPolyline& curve : geometry.polylines) {
        QPolygon polygon;
        for (const GraphPoint& point : curve.points) polygon << toQPoint(point);
        painter.setPen(QPen(toQColor(curve.colour), curve.penWidth, Qt::SolidLine, Qt::RoundCap,
                            Qt::RoundJoin));
        painter.drawPolyline(polygon);
        drawText(painter, curve.label);
    }
    painter.restore();
}

void renderProfileGraph(const ProfileGraphRequest& request, const std::filesystem::path& file) {
    const std::string extension = lowerExtension(file);
    if (extension != ".png" && extension != ".svg")
        throw std::runtime_error(file.string() + ": the picture file must end in .png or .svg");
    ensureGuiApplication();
    const ProfileGraphGeometry geometry = profileGraphWindow(request);
    const QSize size(geometry.canvasWidth, geometry.canvasHeight);

    if (extension == ".png") {
        QImage image(size, QImage::Format_ARGB32);
        image.fill(Qt::transparent);
        {
            QPainter painter(&image);
            paintProfileGraph(painter, geometry);
        }
        if (!image.save(fileName(file), "PNG")) cannotWrite(file);
        return;
    }

    QFile out(fileName(file));
    if (!out.open(QIODevice::WriteOnly | QIODevice::Truncate)) cannotWrite(file);
    QSvgGenerator generator;
    generator.setOutputDevice(&out);
    generator.setSize(size);
    generator.setViewBox(QRect(QPoint(0, 0), size));
    generator.setTitle(QString::fromStdString(geometry.caption));
    QPainter painter;
    if (!painter.begin(&generator)) cannotWrite(file);
    paintProfileGraph(painter, geometry);
    painter.end();
    if (!out.flush() || out.error() != QFileDevice::NoError) cannotWrite(file);
    out.close();
}

}  // namespace vexamo::plot
