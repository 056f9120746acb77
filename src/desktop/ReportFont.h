#pragma once
// The font of the report: the memo and the printed report line their columns
// up with spaces, so every character must take the same width. Whether a
// font does is measured, not taken from the font's own description (some
// fixed-pitch families are not marked so by the system's font settings, and
// a family without Cyrillic letters borrows them from another font).
#include <QFont>
#include <QList>
#include <QString>

class QPaintDevice;

namespace vexamo::desktop {

// The characters that must all take the same width: Latin, digits,
// punctuation, a space and Cyrillic letters of the Russian report.
QString fixedPitchSample();

// Whether every character of fixedPitchSample() has the same advance in
// `font` on `device` (the screen when null).
bool hasFixedAdvance(const QFont& font, const QPaintDevice* device = nullptr);

// The fonts tried for the report, in order: the system's fixed font, the
// style hints Monospace and TypeWriter, then well-known fixed-pitch families;
// all at `pointSize`.
QList<QFont> reportFontCandidates(qreal pointSize);

// The first of `candidates` that hasFixedAdvance on `device`; the first
// candidate when none does (an empty list gives the system's fixed font).
QFont firstFixedPitch(const QList<QFont>& candidates, const QPaintDevice* device = nullptr);

// The report font at `pointSize` (the size of the system's fixed font when
// not positive), verified on `device`.
QFont reportFont(qreal pointSize = 0, const QPaintDevice* device = nullptr);

// The font the report is printed in on `printer`: the memo's font when it is
// fixed-pitch there, else the report font of the memo font's size.
QFont reportPrintFont(const QFont& memoFont, const QPaintDevice* printer);

}  // namespace vexamo::desktop
