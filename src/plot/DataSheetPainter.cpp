#include "plot/DataSheetPainter.h"

#include <QBuffer>
#include <QByteArray>
#include <QColor>
#include <QFont>
#include <QFontMetricsF>
#include <QMarginsF>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QPen>
#include <QPointF>
#include <QRectF>
#include <QString>
#include <QStringList>
#include <algorithm>
#include <cctype>
#include <stdexcept>

#include "common/AtomicFile.h"
#include "common/Errors.h"
#include "plot/ChartPainter.h"
#include "plot/ProfilePainter.h"

namespace vexamo::plot {

namespace {

constexpr int kResolution = 300;  // dots per inch of the page's coordinates

QString text(const std::string& s) { return QString::fromStdString(s); }

QFont font(const char* family, double points, bool bold = false) {
    QFont f(QString::fromLatin1(family));
    f.setStyleHint(std::string_view(family).find("Mono") != std::string_view::npos
                       ? QFont::Monospace
                       : QFont::SansSerif);
    // Without shaping there are no ligatures: "profile" is found again in the
    // file's text as the six letters it is, not with an "fi" glyph.
    f.setStyleStrategy(QFont::PreferNoShaping);
    f.setPointSizeF(points);
    f.setBold(bold);
    return f;
}

// The pieces of `line` that fit `width`: broken at spaces where it can be,
// else anywhere; the continuation lines indented by the line's own leading
// spaces and two more, so a wrapped value stays under its label.
QStringList wrap(const QString& line, const QFontMetricsF& metrics, double width) {
    QStringList pieces;
    QString rest = line;
    int lead = 0;
    while (lead < line.size() && line[lead] == u' ') ++lead;
    const QString indent(std::min(lead + 2, 40), u' ');
    for (int guard = 0; guard < 1000; ++guard) {
        if (metrics.horizontalAdvance(rest) <= width) {
            pieces << rest;
            break;
        }
        int fit = 1;
        while (fit < rest.size() && metrics.horizontalAdvance(rest.left(fit + 1)) <= width) ++fit;
        int cut = fit;
        const int space = rest.lastIndexOf(u' ', fit);
        if (space > indent.size() && space > 0) cut = space;
        pieces << rest.left(cut);
        rest = indent + rest.mid(cut).trimmed();
    }
    return pieces;
}

class PageFlow {
public:
    PageFlow(QPdfWriter& writer, QPainter& painter, const DataSheet& sheet)
        : m_writer(writer),
          m_painter(painter),
          m_sheet(sheet),
          m_width(writer.width()),
          m_height(writer.height()) {
        footer();
    }

    double width() const { return m_width; }

    // Room for `height` more on this page, else a new page.
    void need(double height) {
        if (m_y + height <= bodyBottom() || m_y == 0) return;
        m_writer.newPage();
        ++m_page;
        m_y = 0;
        footer();
    }

    void gap(double height) {
        if (m_y > 0) m_y += height;
    }

    void lines(const QString& line, const QFont& f, const QColor& colour = Qt::black) {
        const QFontMetricsF metrics(f, &m_writer);
        for (const QString& piece : wrap(line, metrics, m_width)) {
            need(metrics.lineSpacing());
            m_painter.setFont(f);
            m_painter.setPen(colour);
            m_painter.drawText(QPointF(0, m_y + metrics.ascent()), piece);
            m_y += metrics.lineSpacing();
        }
    }

    void heading(const QString& title) {
        const QFont f = font("DejaVu Sans", 12, true);
        const QFontMetricsF metrics(f, &m_writer);
        gap(metrics.lineSpacing() * 0.8);
        // A heading is not left alone at the foot of a page.
        need(metrics.lineSpacing() * 4);
        lines(title, f, QColor(0x1f, 0x3a, 0x6e));
        m_painter.setPen(QPen(QColor(0x1f, 0x3a, 0x6e), kResolution / 150.0));
        m_painter.drawLine(QPointF(0, m_y), QPointF(m_width, m_y));
        m_y += metrics.lineSpacing() * 0.3;
    }

    void chart(const Chart& chart) {
        const double scale = m_width / kChartWidth;
        const double height = kChartHeight * scale;
        need(height);
        m_painter.save();
        m_painter.translate(0, m_y);
        m_painter.scale(scale, scale);
        m_painter.setFont(font("DejaVu Sans", 9));
        paintChart(m_painter, chart, QRectF(0, 0, kChartWidth, kChartHeight));
        m_painter.restore();
        m_y += height;
    }

private:
    double bodyBottom() const {
        return m_height - QFontMetricsF(footerFont(), &m_writer).lineSpacing() * 2;
    }
    static QFont footerFont() { return font("DejaVu Sans", 8); }

    // The program, the problem and the page's number at the page's foot.
    void footer() {
        const QFont f = footerFont();
        const QFontMetricsF metrics(f, &m_writer);
        m_painter.setFont(f);
        m_painter.setPen(QColor(0x55, 0x55, 0x55));
        const QString left = text(m_sheet.title);
        const QString right = text(m_sheet.pageWord) + " " + QString::number(m_page);
        const double base = m_height - metrics.descent();
        m_painter.drawText(QPointF(0, base), left);
        m_painter.drawText(QPointF(m_width - metrics.horizontalAdvance(right), base), right);
    }

    QPdfWriter& m_writer;
    QPainter& m_painter;
    const DataSheet& m_sheet;
    double m_width, m_height;
    double m_y = 0;
    int m_page = 1;
};

void paintSheet(PageFlow& flow, const DataSheet& sheet) {
    const QFont body = font("DejaVu Sans", 10);
    const QFont mono = font("DejaVu Sans Mono", 8);
    flow.lines(text(sheet.title), font("DejaVu Sans", 17, true), QColor(0x1f, 0x3a, 0x6e));
    flow.gap(kResolution / 20.0);
    for (const std::string& line : sheet.titleBlock) flow.lines(text(line), body);
    if (!sheet.noResults.empty()) {
        flow.gap(kResolution / 20.0);
        flow.lines(text(sheet.noResults), font("DejaVu Sans", 11, true), QColor(0xb0, 0x20, 0x20));
    }
    for (const DataSheetSection& section : sheet.sections) {
        flow.heading(text(section.heading));
        for (const std::string& line : section.lines) flow.lines(text(line), mono);
    }
    flow.heading(text(sheet.warningsHeading));
    if (sheet.warnings.empty()) flow.lines(text(sheet.noWarnings), body);
    for (const std::string& line : sheet.warnings)
        flow.lines(text(line), body, QColor(0x8a, 0x4b, 0x00));
    if (!sheet.charts.empty()) {
        flow.heading(text(sheet.chartsHeading));
        for (const Chart& chart : sheet.charts) {
            flow.chart(chart);
            flow.gap(kResolution / 10.0);
        }
    }
}

}  // namespace

std::string dataSheetPdf(const DataSheet& sheet) {
    if (!sheet.charts.empty()) checkCharts(sheet.charts);
    ensureGuiApplication();
    QByteArray bytes;
    {
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        QPdfWriter writer(&buffer);
        writer.setResolution(kResolution);
        writer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait,
                                         QMarginsF(15, 15, 15, 12), QPageLayout::Millimeter));
        writer.setTitle(
            text(sheet.title +
                 (sheet.titleBlock.empty() ? std::string() : " - " + sheet.titleBlock[0])));
        writer.setCreator(QStringLiteral("Vexamo"));
        QPainter painter;
        if (!painter.begin(&writer)) throw std::runtime_error("the PDF document could not be made");
        PageFlow flow(writer, painter, sheet);
        paintSheet(flow, sheet);
        if (!painter.end()) throw std::runtime_error("the PDF document could not be finished");
    }
    if (bytes.isEmpty()) throw std::runtime_error("the PDF document came out empty");
    return std::string(bytes.constData(), static_cast<std::size_t>(bytes.size()));
}

void renderDataSheet(const DataSheet& sheet, const std::filesystem::path& file) {
    std::string extension = file.extension().string();
    for (char& c : extension) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    if (extension != ".pdf")
        throw std::runtime_error(file.string() + ": the data sheet file must end in .pdf");
    std::string bytes;
    try {
        bytes = dataSheetPdf(sheet);
    } catch (const VexamoError&) {
        throw;
    } catch (const std::exception& e) {
        throw std::runtime_error(file.string() + ": " + e.what());
    }
    writeFileAtomically(file, bytes, BackupRule::AppendBak);
}

}  // namespace vexamo::plot
