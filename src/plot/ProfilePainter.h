#pragma once
// Draws the profile graph geometry of the core with a QPainter.
#include <filesystem>

#include "dialogs/Dialogs.h"

class QPainter;

namespace vexamo::plot {

// Renders the graph window's picture of `request` into a PNG or SVG file (by
// extension). Needs a QGuiApplication (the offscreen platform will do).
// Throws std::runtime_error when the file cannot be written.
void renderProfileGraph(const ProfileGraphRequest& request, const std::filesystem::path& file);

}  // namespace vexamo::plot
