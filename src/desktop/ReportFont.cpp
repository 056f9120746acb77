#include "ReportFont.h"

#include <QFontDatabase>
#include <QFontMetricsF>
#include <QStringList>
#include <cmath>

namespace vexamo::desktop {

namespace {

// Families known to be fixed-pitch, with Cyrillic letters where they have them.
const char* const kKnownFamilies[] = {
    "DejaVu Sans Mono", "Liberation Mono", "Noto Sans Mono", "Noto Mono",
    "Ubuntu Mono",      "Courier New",     "Nimbus Mono PS", "FreeMono",
    "Consolas",         "Menlo",           "Courier",
};

QFont withSize(QFont font, qreal pointSize) {
    if (pointSize > 0) font.setPointSizeF(pointSize);
    return font;
}

}  // namespace

QString fixedPitchSample() { return QString::fromUtf8("iW0lm.:| Mm1_лШжщЫю"); }

bool hasFixedAdvance(const QFont& font, const QPaintDevice* device) {
    const QFontMetricsF metrics = device ? QFontMetricsF(font, device) : QFontMetricsF(font);
    const QString sample = fixedPitchSample();
    const qreal first = metrics.horizontalAdvance(sample.at(0));
    if (!(first > 0)) return false;
    for (const QChar c : sample) {
        // Hinting may round a glyph of the same design width by a fraction.
        if (std::abs(metrics.horizontalAdvance(c) - first) > first * 0.02) return false;
    }
    return true;
}

QList<QFont> reportFontCandidates(qreal pointSize) {
    QList<QFont> candidates;
    candidates << withSize(QFontDatabase::systemFont(QFontDatabase::FixedFont), pointSize);
    QFont monospace(QStringLiteral("monospace"));
    monospace.setStyleHint(QFont::Monospace);
    monospace.setFixedPitch(true);
    candidates << withSize(monospace, pointSize);
    QFont typewriter(QStringLiteral("courier"));
    typewriter.setStyleHint(QFont::TypeWriter);
    typewriter.setFixedPitch(true);
    candidates << withSize(typewriter, pointSize);
    for (const char* family : kKnownFamilies) {
        QFont font(QString::fromLatin1(family));
        font.setStyleHint(QFont::Monospace);
        candidates << withSize(font, pointSize);
    }
    return candidates;
}

QFont firstFixedPitch(const QList<QFont>& candidates, const QPaintDevice* device) {
    for (const QFont& font : candidates)
        if (hasFixedAdvance(font, device)) return font;
    if (candidates.isEmpty()) return QFontDatabase::systemFont(QFontDatabase::FixedFont);
    return candidates.constFirst();
}

QFont reportFont(qreal pointSize, const QPaintDevice* device) {
    if (!(pointSize > 0))
        pointSize = QFontDatabase::systemFont(QFontDatabase::FixedFont).pointSizeF();
    return firstFixedPitch(reportFontCandidates(pointSize), device);
}

QFont reportPrintFont(const QFont& memoFont, const QPaintDevice* printer) {
    if (hasFixedAdvance(memoFont, printer)) return memoFont;
    return reportFont(memoFont.pointSizeF(), printer);
}

}  // namespace vexamo::desktop
