#pragma once
// Draws the profile graph geometry of the core with a QPainter.
#include <filesystem>

#include "dialogs/Dialogs.h"
#include "graph/ProfileGraph.h"

class QPainter;

namespace vexamo::plot {

// Makes sure a QGuiApplication exists. When there is none, one is created for
// the rest of the process, on the "offscreen" platform unless QT_QPA_PLATFORM
// names another, so drawing works without a display. Throws
// std::runtime_error when a non-graphical application object is in the way.
void ensureGuiApplication();

// Paints the window's picture onto a surface of geometry.canvasWidth x
// geometry.canvasHeight pixels: the backgrounds, the lines, the texts (their
// top-left corners at the given points, 11-pixel high text of the painter's
// font family, transparent background) and the curves with their labels.
void paintProfileGraph(QPainter& painter, const ProfileGraphGeometry& geometry);

// Renders the graph window's picture of `request` (the 862 x 537 paint box)
// into a PNG or SVG file, chosen by the extension. Creates the
// QGuiApplication when needed (ensureGuiApplication). Throws
// std::runtime_error naming the file when it cannot be written or its
// extension is neither .png nor .svg.
void renderProfileGraph(const ProfileGraphRequest& request, const std::filesystem::path& file);

}  // namespace vexamo::plot
