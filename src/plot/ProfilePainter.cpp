#include "plot/ProfilePainter.h"

#include <unistd.h>

#include <QBuffer>
#include <QByteArray>
#include <QColor>
#include <QCoreApplication>
#include <QDir>
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
#include <functional>
#include <stdexcept>
#include <string>

#include "common/AtomicFile.h"

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
    // Without a platform and without a display the toolkit would end the
    // process; the program's entry point chooses the offscreen platform.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && qEnvironmentVariableIsEmpty("DISPLAY") &&
        qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY"))
        throw std::runtime_error(
            "drawing needs a display, or QT_QPA_PLATFORM=offscreen in the environment");
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

std::string renderPicture(const QSize& size, const std::string& title, const QColor& background,
                          const std::string& format, const std::function<void(QPainter&)>& paint) {
    ensureGuiApplication();
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    if (format == "png") {
        QImage image(size, QImage::Format_ARGB32);
        image.fill(background);
        {
            QPainter painter(&image);
            paint(painter);
        }
        if (!image.save(&buffer, "PNG"))
            throw std::runtime_error("the PNG picture could not be made");
    } else if (format == "svg") {
        QSvgGenerator generator;
        generator.setOutputDevice(&buffer);
        generator.setSize(size);
        generator.setViewBox(QRect(QPoint(0, 0), size));
        generator.setTitle(QString::fromStdString(title));
        QPainter painter;
        if (!painter.begin(&generator))
            throw std::runtime_error("the SVG picture could not be made");
        paint(painter);
        painter.end();
    } else {
        throw std::runtime_error("a picture is PNG or SVG, not \"" + format + "\"");
    }
    return std::string(bytes.constData(), static_cast<std::size_t>(bytes.size()));
}

std::string pictureFormat(const std::filesystem::path& file) {
    const std::string extension = lowerExtension(file);
    if (extension != ".png" && extension != ".svg")
        throw std::runtime_error(file.string() + ": the picture file must end in .png or .svg");
    return extension.substr(1);
}

std::string profileGraphPicture(const ProfileGraphRequest& request, const std::string& format) {
    const ProfileGraphGeometry geometry = profileGraphWindow(request);
    return renderPicture(QSize(geometry.canvasWidth, geometry.canvasHeight), geometry.caption,
                         Qt::transparent, format,
                         [&](QPainter& painter) { paintProfileGraph(painter, geometry); });
}

void writePicture(const std::filesystem::path& file,
                  const std::function<std::string(const std::string& format)>& picture) {
    const std::string format = pictureFormat(file);
    std::string bytes;
    try {
        bytes = picture(format);
    } catch (const VexamoError&) {
        throw;
    } catch (const std::exception& e) {
        throw std::runtime_error(file.string() + ": " + e.what());
    }
    writeFileAtomically(file, bytes, BackupRule::AppendBak);
}

void renderProfileGraph(const ProfileGraphRequest& request, const std::filesystem::path& file) {
    writePicture(file,
                 [&](const std::string& format) { return profileGraphPicture(request, format); });
}

}  // namespace vexamo::plot
