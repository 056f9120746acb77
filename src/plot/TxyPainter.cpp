#include "plot/TxyPainter.h"

#include <QColor>
#include <QFont>
#include <QFontMetrics>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QPen>
#include <QPointF>
#include <QRectF>
#include <QString>
#include <QSvgGenerator>
#include <algorithm>
#include <cctype>
#include <cmath>
#include <stdexcept>

#include "common/AtomicFile.h"
#include "common/NumberFormat.h"
#include "plot/ProfilePainter.h"

namespace vexamo::plot {

namespace {

constexpr double kLeft = 78, kRight = 30, kTop = 48, kBottom = 62;
const QColor kBoilingColour(0x1f, 0x4e, 0xb4);     // T(x)
const QColor kCondensingColour(0xc0, 0x30, 0x30);  // T(y)

struct Range {
    double low = 0, high = 1, step = 0.1;
};

// An axis over [low, high] with a round step giving 5 to 10 divisions.
Range niceRange(double low, double high) {
    if (!(high > low)) {
        low -= 1;
        high += 1;
    }
    const double raw = (high - low) / 6;
    const double magnitude = std::pow(10.0, std::floor(std::log10(raw)));
    double step = magnitude;
    for (double factor : {1.0, 2.0, 5.0, 10.0})
        if (factor * magnitude >= raw) {
            step = factor * magnitude;
            break;
        }
    return {std::floor(low / step) * step, std::ceil(high / step) * step, step};
}

QString text(const std::string& s) { return QString::fromStdString(s); }

// The plot area and its scales: x from 0 to 1, t over the round range.
struct Frame {
    QRectF plot;
    Range range;
    double px(double x) const { return plot.left() + x * plot.width(); }
    double py(double t) const {
        return plot.bottom() - (t - range.low) / (range.high - range.low) * plot.height();
    }
};

// The round temperature range over every finite computed and measured
// temperature; none at all cannot be drawn.
Range temperatureRange(const TxyDiagram& d) {
    double low = INFINITY, high = -INFINITY;
    for (const std::vector<Real>* values : {&d.t, &d.measuredT})
        for (Real t : *values)
            if (std::isfinite(t)) {
                low = std::min(low, static_cast<double>(t));
                high = std::max(high, static_cast<double>(t));
            }
    if (!std::isfinite(low))
        throw std::runtime_error("the T-x-y diagram has no temperature to draw");
    return niceRange(low, high);
}

// Grid lines, ticks and their labels, then the frame.
void drawGrid(QPainter& painter, const Frame& f, const QFontMetrics& metrics) {
    const QRectF& plot = f.plot;
    QPen grid(QColor(0xdd, 0xdd, 0xdd), 1);
    for (int i = 0; i <= 10; ++i) {
        const double x = i / 10.0;
        painter.setPen(grid);
        painter.drawLine(QPointF(f.px(x), plot.top()), QPointF(f.px(x), plot.bottom()));
        painter.setPen(Qt::black);
        const QString label = text(formatFixed(x, 0, 1));
        painter.drawText(
            QPointF(f.px(x) - metrics.horizontalAdvance(label) / 2.0, plot.bottom() + 18), label);
    }
    const int divisions =
        static_cast<int>(std::lround((f.range.high - f.range.low) / f.range.step));
    for (int i = 0; i <= divisions; ++i) {
        const double t = f.range.low + i * f.range.step;
        painter.setPen(grid);
        painter.drawLine(QPointF(plot.left(), f.py(t)), QPointF(plot.right(), f.py(t)));
        painter.setPen(Qt::black);
        const QString label = text(formatShortest(std::round(t * 1000) / 1000));
        painter.drawText(QPointF(plot.left() - 8 - metrics.horizontalAdvance(label),
                                 f.py(t) + metrics.ascent() / 2.0),
                         label);
    }
    painter.setPen(QPen(Qt::black, 1));
    painter.drawRect(plot);
}

// The title above the plot, the axes' names below and left of it.
void drawTitles(QPainter& painter, const Frame& f, const TxyDiagram& d, const QFont& font) {
    const QRectF& plot = f.plot;
    QFont bold = font;
    bold.setPixelSize(14);
    bold.setBold(true);
    painter.setFont(bold);
    painter.drawText(QRectF(0, 8, kTxyWidth, 24), Qt::AlignHCenter | Qt::AlignVCenter,
                     text(d.title));
    painter.setFont(font);
    painter.drawText(QRectF(plot.left(), plot.bottom() + 28, plot.width(), 20), Qt::AlignHCenter,
                     text(d.compositionAxis));
    painter.save();
    painter.translate(18, plot.center().y());
    painter.rotate(-90);
    painter.drawText(QRectF(-plot.height() / 2, -10, plot.height(), 20), Qt::AlignHCenter,
                     text(d.temperatureAxis));
    painter.restore();
}

// One computed curve, t over the given composition; a point that was not
// found breaks the line.
void drawCurve(QPainter& painter, const Frame& f, const std::vector<Real>& composition,
               const std::vector<Real>& t, const QColor& colour) {
    QPainterPath path;
    bool started = false;
    for (std::size_t k = 0; k < composition.size() && k < t.size(); ++k) {
        if (!std::isfinite(composition[k]) || !std::isfinite(t[k])) {
            started = false;
            continue;
        }
        const QPointF point(f.px(static_cast<double>(composition[k])),
                            f.py(static_cast<double>(t[k])));
        if (started)
            path.lineTo(point);
        else
            path.moveTo(point);
        started = true;
    }
    painter.setPen(QPen(colour, 2));
    painter.setBrush(Qt::NoBrush);
    painter.drawPath(path);
}

// Measured points: circles at (x, t), squares at (y, t).
void drawMeasuredPoints(QPainter& painter, const Frame& f, const TxyDiagram& d) {
    for (std::size_t k = 0; k < d.measuredT.size(); ++k) {
        const double t = static_cast<double>(d.measuredT[k]);
        if (k < d.measuredX.size()) {
            painter.setPen(QPen(kBoilingColour, 1.5));
            painter.drawEllipse(QPointF(f.px(static_cast<double>(d.measuredX[k])), f.py(t)), 3.5,
                                3.5);
        }
        if (k < d.measuredY.size()) {
            painter.setPen(QPen(kCondensingColour, 1.5));
            painter.drawRect(
                QRectF(f.px(static_cast<double>(d.measuredY[k])) - 3.5, f.py(t) - 3.5, 7, 7));
        }
    }
}

// The legend, top right inside the plot: the two curves and, where there
// are any, the measured points.
void drawLegend(QPainter& painter, const Frame& f, const TxyDiagram& d,
                const QFontMetrics& metrics) {
    const double lx = f.plot.right() - 190, ly = f.plot.top() + 12;
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(255, 255, 255, 220));
    const int rows = d.measuredT.empty() ? 2 : 4;
    painter.drawRect(QRectF(lx - 8, ly - 10, 192, rows * 18 + 6));
    painter.setBrush(Qt::NoBrush);
    auto legendLine = [&](int row, const QColor& colour, const QString& label) {
        painter.setPen(QPen(colour, 2));
        painter.drawLine(QPointF(lx, ly + row * 18), QPointF(lx + 24, ly + row * 18));
        painter.setPen(Qt::black);
        painter.drawText(QPointF(lx + 32, ly + row * 18 + metrics.ascent() / 2.0 - 1), label);
    };
    legendLine(0, kBoilingColour, "T(x)");
    legendLine(1, kCondensingColour, "T(y)");
    if (d.measuredT.empty()) return;
    painter.setPen(QPen(kBoilingColour, 1.5));
    painter.drawEllipse(QPointF(lx + 12, ly + 36), 3.5, 3.5);
    painter.setPen(QPen(kCondensingColour, 1.5));
    painter.drawRect(QRectF(lx + 8.5, ly + 54 - 3.5, 7, 7));
    painter.setPen(Qt::black);
    painter.drawText(QPointF(lx + 32, ly + 36 + metrics.ascent() / 2.0 - 1),
                     text(d.measuredLabel + " x"));
    painter.drawText(QPointF(lx + 32, ly + 54 + metrics.ascent() / 2.0 - 1),
                     text(d.measuredLabel + " y"));
}

}  // namespace

void paintTxyDiagram(QPainter& painter, const TxyDiagram& d) {
    const Frame frame{QRectF(kLeft, kTop, kTxyWidth - kLeft - kRight, kTxyHeight - kTop - kBottom),
                      temperatureRange(d)};
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.fillRect(QRectF(0, 0, kTxyWidth, kTxyHeight), Qt::white);
    QFont font = painter.font();
    font.setPixelSize(12);
    painter.setFont(font);
    const QFontMetrics metrics(font);

    drawGrid(painter, frame, metrics);
    drawTitles(painter, frame, d, font);
    painter.setClipRect(frame.plot.adjusted(-6, -6, 6, 6));
    drawCurve(painter, frame, d.x, d.t, kBoilingColour);
    drawCurve(painter, frame, d.y, d.t, kCondensingColour);
    drawMeasuredPoints(painter, frame, d);
    painter.setClipping(false);
    drawLegend(painter, frame, d, metrics);
    painter.restore();
}

std::string txyDiagramPicture(const TxyDiagram& diagram, const std::string& format) {
    return renderPicture(QSize(kTxyWidth, kTxyHeight), diagram.title, Qt::white, format,
                         [&](QPainter& painter) { paintTxyDiagram(painter, diagram); });
}

void renderTxyDiagram(const TxyDiagram& diagram, const std::filesystem::path& file) {
    pictureFormat(file);
    bool drawable = false;
    for (const std::vector<Real>* values : {&diagram.t, &diagram.measuredT})
        for (Real t : *values) drawable = drawable || std::isfinite(t);
    if (!drawable)
        throw std::runtime_error(file.string() + ": the T-x-y diagram has no temperature to draw");
    writePicture(file,
                 [&](const std::string& format) { return txyDiagramPicture(diagram, format); });
}

}  // namespace vexamo::plot
