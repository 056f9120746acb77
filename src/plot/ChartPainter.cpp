#include "plot/ChartPainter.h"

#include <QColor>
#include <QFont>
#include <QFontMetricsF>
#include <QPainter>
#include <QPainterPath>
#include <QPen>
#include <QPointF>
#include <QRectF>
#include <QSize>
#include <QString>
#include <algorithm>
#include <cmath>
#include <stdexcept>

#include "common/NumberFormat.h"
#include "plot/ProfilePainter.h"

namespace vexamo::plot {

namespace {

constexpr double kLeft = 84, kTop = 46, kBottom = 66, kGap = 18;
constexpr double kLegendMinWidth = 150, kLegendMaxWidth = 300;

// Colours that stay apart on white and in print, in the curves' order.
const QColor& curveColour(std::size_t curve) {
    static const QColor colours[] = {
        QColor(0x1f, 0x4e, 0xb4), QColor(0xc0, 0x30, 0x30), QColor(0x2a, 0x8a, 0x3a),
        QColor(0xd9, 0x7a, 0x00), QColor(0x7b, 0x3f, 0xa8), QColor(0x00, 0x8b, 0x8b),
        QColor(0x8c, 0x56, 0x2b), QColor(0xc2, 0x3b, 0x8e), QColor(0x55, 0x55, 0x55),
    };
    return colours[curve % (sizeof colours / sizeof colours[0])];
}

QString text(const std::string& s) { return QString::fromStdString(s); }

struct Range {
    double low = 0, high = 1, step = 0.1;
    int divisions() const { return static_cast<int>(std::lround((high - low) / step)); }
};

// An axis over [low, high] with a round step giving about six divisions; a
// single value gets a unit either side.
Range niceRange(double low, double high) {
    if (!(high > low)) {
        const double pad = std::max(1.0, std::fabs(low) * 0.05);
        low -= pad;
        high += pad;
    }
    const double raw = (high - low) / 6;
    const double magnitude = std::pow(10.0, std::floor(std::log10(raw)));
    double step = 10 * magnitude;
    for (double factor : {1.0, 2.0, 2.5, 5.0})
        if (factor * magnitude >= raw) {
            step = factor * magnitude;
            break;
        }
    // Rounding inwards by a hair keeps 0..1 from growing to -0.2..1.2.
    const double slack = step * 1e-9;
    return {std::floor((low + slack) / step) * step, std::ceil((high - slack) / step) * step, step};
}

// A tick's label: the value rounded to the step's digits.
QString tickLabel(double value, double step) {
    const int decimals = std::clamp(static_cast<int>(-std::floor(std::log10(step) + 1e-9)), 0, 6);
    const double scale = std::pow(10.0, decimals);
    const double rounded = std::round(value * scale) / scale;
    return text(formatShortest(rounded == 0 ? 0.0L : static_cast<Real>(rounded)));
}

struct Extent {
    double low = INFINITY, high = -INFINITY;
    void add(Real v) {
        if (!std::isfinite(v)) return;
        low = std::min(low, static_cast<double>(v));
        high = std::max(high, static_cast<double>(v));
    }
    bool empty() const { return !(low <= high); }
};

// The plot area and its scales.
struct Frame {
    QRectF plot;
    Range xr, yr;
    double px(double x) const {
        return plot.left() + (x - xr.low) / (xr.high - xr.low) * plot.width();
    }
    double py(double y) const {
        return plot.bottom() - (y - yr.low) / (yr.high - yr.low) * plot.height();
    }
};

void drawGrid(QPainter& painter, const Frame& f, const QFontMetricsF& metrics) {
    const QPen grid(QColor(0xdd, 0xdd, 0xdd), 1);
    for (int i = 0; i <= f.xr.divisions(); ++i) {
        const double x = f.xr.low + i * f.xr.step;
        painter.setPen(grid);
        painter.drawLine(QPointF(f.px(x), f.plot.top()), QPointF(f.px(x), f.plot.bottom()));
        painter.setPen(Qt::black);
        const QString label = tickLabel(x, f.xr.step);
        painter.drawText(
            QPointF(f.px(x) - metrics.horizontalAdvance(label) / 2, f.plot.bottom() + 18), label);
    }
    for (int i = 0; i <= f.yr.divisions(); ++i) {
        const double y = f.yr.low + i * f.yr.step;
        painter.setPen(grid);
        painter.drawLine(QPointF(f.plot.left(), f.py(y)), QPointF(f.plot.right(), f.py(y)));
        painter.setPen(Qt::black);
        const QString label = tickLabel(y, f.yr.step);
        painter.drawText(QPointF(f.plot.left() - 8 - metrics.horizontalAdvance(label),
                                 f.py(y) + metrics.ascent() / 2 - 1),
                         label);
    }
    painter.setPen(QPen(Qt::black, 1));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(f.plot);
}

void drawTitles(QPainter& painter, const Frame& f, const Chart& chart, const QRectF& panel,
                const QFont& font) {
    QFont bold = font;
    bold.setPixelSize(15);
    bold.setBold(true);
    painter.setFont(bold);
    painter.setPen(Qt::black);
    painter.drawText(QRectF(panel.left() + 8, panel.top() + 8, panel.width() - 16, 26),
                     Qt::AlignHCenter | Qt::AlignVCenter, text(chart.title));
    painter.setFont(font);
    painter.drawText(QRectF(f.plot.left(), f.plot.bottom() + 30, f.plot.width(), 22),
                     Qt::AlignHCenter, text(chart.xAxis));
    painter.save();
    painter.translate(panel.left() + 20, f.plot.center().y());
    painter.rotate(-90);
    painter.drawText(QRectF(-f.plot.height() / 2, -11, f.plot.height(), 22), Qt::AlignHCenter,
                     text(chart.yAxis));
    painter.restore();
}

QPen curvePen(const ChartCurve& curve, std::size_t index) {
    QPen pen(curveColour(index), curve.dashed ? 1.6 : 2.2);
    pen.setStyle(curve.dashed ? Qt::DashLine : Qt::SolidLine);
    pen.setCapStyle(Qt::FlatCap);
    pen.setJoinStyle(Qt::RoundJoin);
    return pen;
}

void drawCurve(QPainter& painter, const Frame& f, const ChartCurve& curve, std::size_t index) {
    QPainterPath path;
    bool started = false;
    for (std::size_t k = 0; k < curve.x.size() && k < curve.y.size(); ++k) {
        if (!std::isfinite(curve.x[k]) || !std::isfinite(curve.y[k])) {
            started = false;
            continue;
        }
        const QPointF point(f.px(static_cast<double>(curve.x[k])),
                            f.py(static_cast<double>(curve.y[k])));
        if (started)
            path.lineTo(point);
        else
            path.moveTo(point);
        started = true;
        if (curve.markers) {
            path.addEllipse(point, 3, 3);
            path.moveTo(point);  // the line goes on from the mark's centre
        }
    }
    painter.setPen(curvePen(curve, index));
    painter.setBrush(Qt::NoBrush);
    painter.drawPath(path);
}

// The legend column right of the plot: a short stroke of each curve's pen
// and its label, elided to the column's width.
void drawLegend(QPainter& painter, const Frame& f, const Chart& chart, double width,
                const QFontMetricsF& metrics) {
    const double left = f.plot.right() + kGap, rowHeight = 20;
    double y = f.plot.top() + 10;
    for (std::size_t i = 0; i < chart.curves.size(); ++i, y += rowHeight) {
        if (y > f.plot.bottom()) break;
        const ChartCurve& curve = chart.curves[i];
        painter.setPen(curvePen(curve, i));
        painter.drawLine(QPointF(left, y), QPointF(left + 26, y));
        if (curve.markers) {
            painter.setBrush(Qt::NoBrush);
            painter.drawEllipse(QPointF(left + 13, y), 3, 3);
        }
        painter.setPen(Qt::black);
        const QString label =
            metrics.elidedText(text(curve.label), Qt::ElideRight, width - 34 - kGap);
        painter.drawText(QPointF(left + 34, y + metrics.ascent() / 2 - 1), label);
    }
}

}  // namespace

void checkCharts(const std::vector<Chart>& charts) {
    if (charts.empty()) throw std::runtime_error("there is no chart to draw");
    for (const Chart& chart : charts)
        for (const ChartCurve& curve : chart.curves)
            if (curve.x.size() != curve.y.size())
                throw std::runtime_error("chart \"" + chart.title + "\", curve \"" + curve.label +
                                         "\": " + std::to_string(curve.x.size()) + " x and " +
                                         std::to_string(curve.y.size()) + " y values");
}

void paintChart(QPainter& painter, const Chart& chart, const QRectF& panel) {
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.fillRect(panel, Qt::white);
    QFont font = painter.font();
    font.setFamily("DejaVu Sans");
    font.setPixelSize(12);
    painter.setFont(font);
    const QFontMetricsF metrics(font);

    Extent xe, ye;
    for (const ChartCurve& curve : chart.curves)
        for (std::size_t k = 0; k < curve.x.size() && k < curve.y.size(); ++k)
            if (std::isfinite(curve.x[k]) && std::isfinite(curve.y[k])) {
                xe.add(curve.x[k]);
                ye.add(curve.y[k]);
            }
    double legend = kLegendMinWidth;
    for (const ChartCurve& curve : chart.curves)
        legend = std::max(legend, metrics.horizontalAdvance(text(curve.label)) + 34 + 2 * kGap);
    legend = std::min(legend, kLegendMaxWidth);
    const QRectF plot(panel.left() + kLeft, panel.top() + kTop,
                      panel.width() - kLeft - legend - kGap, panel.height() - kTop - kBottom);
    const Frame frame{plot, xe.empty() ? Range{} : niceRange(xe.low, xe.high),
                      ye.empty() ? Range{} : niceRange(ye.low, ye.high)};

    drawGrid(painter, frame, metrics);
    drawTitles(painter, frame, chart, panel, font);
    if (xe.empty()) {
        painter.setPen(Qt::black);
        painter.drawText(plot, Qt::AlignCenter, "no data to draw");
    } else {
        painter.setClipRect(plot.adjusted(-4, -4, 4, 4));
        for (std::size_t i = 0; i < chart.curves.size(); ++i)
            drawCurve(painter, frame, chart.curves[i], i);
        painter.setClipping(false);
    }
    drawLegend(painter, frame, chart, legend, metrics);
    painter.restore();
}

std::string chartsPicture(const std::vector<Chart>& charts, const std::string& format) {
    checkCharts(charts);
    const int height = kChartHeight * static_cast<int>(charts.size());
    return renderPicture(QSize(kChartWidth, height), charts.front().title, Qt::white, format,
                         [&](QPainter& painter) {
                             for (std::size_t i = 0; i < charts.size(); ++i)
                                 paintChart(painter, charts[i],
                                            QRectF(0, static_cast<double>(i) * kChartHeight,
                                                   kChartWidth, kChartHeight));
                         });
}

void renderCharts(const std::vector<Chart>& charts, const std::filesystem::path& file) {
    pictureFormat(file);
    // A picture taller than the toolkit's images can be is refused before drawing.
    if (charts.size() > 50)
        throw std::runtime_error(file.string() + ": " + std::to_string(charts.size()) +
                                 " charts are too many for one picture (at most 50)");
    try {
        checkCharts(charts);
    } catch (const std::exception& e) {
        throw std::runtime_error(file.string() + ": " + e.what());
    }
    writePicture(file, [&](const std::string& format) { return chartsPicture(charts, format); });
}

}  // namespace vexamo::plot
