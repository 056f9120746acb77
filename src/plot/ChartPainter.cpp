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

constexpr double kLeft = 84, kTop = 46, kBottom = 66;
constexpr double kRight = 30, kLegendStroke = 26, kLegendRow = 20;
constexpr int kLegendMaxRows = 8;

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

// The legend below the axis title: for each curve a short stroke of its pen
// and its label, set in rows across the plot's width.
struct LegendEntry {
    std::size_t curve = 0;
    QString label;
    QPointF at;  // the stroke's left end
};

std::vector<LegendEntry> legendLayout(const Chart& chart, double left, double width,
                                      const QFontMetricsF& metrics, int& rows) {
    std::vector<LegendEntry> entries;
    double x = 0;
    rows = chart.curves.empty() ? 0 : 1;
    for (std::size_t i = 0; i < chart.curves.size(); ++i) {
        const QString label = metrics.elidedText(text(chart.curves[i].label), Qt::ElideRight,
                                                 width - kLegendStroke - 8);
        const double entryWidth = kLegendStroke + 8 + metrics.horizontalAdvance(label);
        if (x > 0 && x + entryWidth > width) {
            x = 0;
            ++rows;
        }
        if (rows > kLegendMaxRows) {
            rows = kLegendMaxRows;
            break;
        }
        entries.push_back({i, label, QPointF(left + x, (rows - 1) * kLegendRow)});
        x += entryWidth + 26;
    }
    return entries;
}

void drawLegend(QPainter& painter, const Chart& chart, const std::vector<LegendEntry>& entries,
                double top, const QFontMetricsF& metrics) {
    for (const LegendEntry& e : entries) {
        const ChartCurve& curve = chart.curves[e.curve];
        const double y = top + e.at.y();
        painter.setPen(curvePen(curve, e.curve));
        painter.drawLine(QPointF(e.at.x(), y), QPointF(e.at.x() + kLegendStroke, y));
        if (curve.markers) {
            painter.setBrush(Qt::NoBrush);
            painter.drawEllipse(QPointF(e.at.x() + kLegendStroke / 2, y), 3, 3);
        }
        painter.setPen(Qt::black);
        painter.drawText(QPointF(e.at.x() + kLegendStroke + 8, y + metrics.ascent() / 2 - 1),
                         e.label);
    }
}

// The values written beside the ends a curve asks for, on a light ground,
// inside the plot.
void drawEndLabels(QPainter& painter, const Frame& f, const ChartCurve& curve, std::size_t index,
                   const QFontMetricsF& metrics) {
    std::vector<std::size_t> finite;
    for (std::size_t k = 0; k < curve.x.size() && k < curve.y.size(); ++k)
        if (std::isfinite(curve.x[k]) && std::isfinite(curve.y[k])) finite.push_back(k);
    if (finite.empty()) return;
    auto label = [&](std::size_t k) {
        const QPointF p(f.px(static_cast<double>(curve.x[k])),
                        f.py(static_cast<double>(curve.y[k])));
        const QString value = text(formatGeneral(curve.y[k], 5, 0));
        const double w = metrics.horizontalAdvance(value) + 6, h = metrics.height();
        // Right of the point, or left of it where the plot ends; above the
        // point, or below it at the top.
        double x = p.x() + 5;
        if (x + w > f.plot.right() - 2) x = p.x() - 5 - w;
        double y = p.y() - 4 - h;
        if (y < f.plot.top() + 2) y = p.y() + 4;
        const QRectF box(x, y, w, h);
        painter.fillRect(box, QColor(255, 255, 255, 210));
        painter.setPen(curveColour(index).darker(130));
        painter.drawText(box, Qt::AlignCenter, value);
    };
    if (curve.labelFirst) label(finite.front());
    if (curve.labelLast && (finite.size() > 1 || !curve.labelFirst)) label(finite.back());
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
    // The legend's rows decide how tall the plot can be.
    const double plotLeft = panel.left() + kLeft, plotWidth = panel.width() - kLeft - kRight;
    int rows = 0;
    const std::vector<LegendEntry> legend = legendLayout(chart, plotLeft, plotWidth, metrics, rows);
    const double below = kBottom + rows * kLegendRow + 4;
    const QRectF plot(plotLeft, panel.top() + kTop, plotWidth, panel.height() - kTop - below);
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
        for (std::size_t i = 0; i < chart.curves.size(); ++i)
            drawEndLabels(painter, frame, chart.curves[i], i, metrics);
    }
    drawLegend(painter, chart, legend, plot.bottom() + kBottom - 2, metrics);
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
