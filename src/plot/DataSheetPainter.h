#pragma once
// Lays out a Run's data sheet (graph/DataSheet.h) on A4 pages as a PDF: the
// title block, the sections in a fixed-pitch font that keeps the report's
// columns, the warnings and the charts, text flowing onto further pages as
// needed, every page numbered at its foot. The fonts are DejaVu Sans and
// DejaVu Sans Mono, embedded in the file, so Cyrillic reads everywhere.
#include <filesystem>
#include <string>

#include "graph/DataSheet.h"

namespace vexamo::plot {

// The PDF's bytes. Creates the QGuiApplication when needed; throws
// std::runtime_error when the document cannot be made.
std::string dataSheetPdf(const DataSheet& sheet);

// Writes the PDF through writeFileAtomically (an existing file is kept as
// FILE.bak). Throws std::runtime_error naming the file when it does not end
// in .pdf or the document cannot be made, OutputRefused or FileWriteError
// when it cannot be written.
void renderDataSheet(const DataSheet& sheet, const std::filesystem::path& file);

}  // namespace vexamo::plot
