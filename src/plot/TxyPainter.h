#pragma once
// Draws the T-x-y diagram of a two-component mixture at one pressure: the
// boiling curve T(x) and the condensation curve T(y) computed by the
// equilibrium model, with the measured points beside them.
#include <filesystem>
#include <string>
#include <vector>

#include "common/Real.h"

class QPainter;

namespace vexamo::plot {

struct TxyDiagram {
    std::string title;            // e.g. "comp.1 - comp.2, 760 mm Hg, Wilson"
    std::string compositionAxis;  // e.g. "x, y of comp.1, mole fraction"
    std::string temperatureAxis;  // e.g. "t, degC"
    std::vector<Real> x, y, t;    // computed: liquid and vapour mole fractions, degC
    std::vector<Real> measuredX, measuredY, measuredT;
    std::string measuredLabel;  // legend of the measured points ("measured, 760 mm Hg")
};

inline constexpr int kTxyWidth = 800;
inline constexpr int kTxyHeight = 560;

// Paints the diagram onto a surface of kTxyWidth x kTxyHeight pixels.
void paintTxyDiagram(QPainter& painter, const TxyDiagram& diagram);

// The bytes of the diagram's picture, "png" or "svg".
std::string txyDiagramPicture(const TxyDiagram& diagram, const std::string& format);

// Renders the diagram in memory as PNG or SVG, chosen by the extension, and
// writes it through writeFileAtomically (an existing file is kept as
// NAME.EXT.bak). Throws std::runtime_error naming the file when its extension
// is neither .png nor .svg or the diagram has no finite temperature,
// OutputRefused or FileWriteError when it cannot be written.
void renderTxyDiagram(const TxyDiagram& diagram, const std::filesystem::path& file);

}  // namespace vexamo::plot
