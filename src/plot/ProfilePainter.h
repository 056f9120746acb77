#pragma once
// Draws the profile graph geometry of the core with a QPainter.
#include <filesystem>
#include <functional>
#include <string>

#include "dialogs/Dialogs.h"
#include "graph/ProfileGraph.h"

class QColor;
class QPainter;
class QSize;

namespace vexamo::plot {

// Makes sure a QGuiApplication exists. When there is none, one is created for
// the rest of the process on the platform the environment names (the
// headless program's entry point sets QT_QPA_PLATFORM=offscreen, so drawing
// works without a display). Throws std::runtime_error when a non-graphical
// application object is in the way, or when there is neither a platform
// named nor a display.
void ensureGuiApplication();

// Paints the window's picture onto a surface of geometry.canvasWidth x
// geometry.canvasHeight pixels: the backgrounds, the lines, the texts (their
// top-left corners at the given points, 11-pixel high text of the painter's
// font family, transparent background) and the curves with their labels.
void paintProfileGraph(QPainter& painter, const ProfileGraphGeometry& geometry);

// Renders a picture in memory: `paint` draws onto a surface of `size`
// pixels filled with `background` (PNG) or into an SVG document with the
// title. `format` is "png" or "svg". Creates the QGuiApplication when needed.
// Throws std::runtime_error when the picture cannot be made.
std::string renderPicture(const QSize& size, const std::string& title, const QColor& background,
                          const std::string& format, const std::function<void(QPainter&)>& paint);

// "png" or "svg" by the file's extension (any case); throws
// std::runtime_error naming the file for any other extension.
std::string pictureFormat(const std::filesystem::path& file);

// Draws the picture in the format FILE's extension names and writes it
// atomically, keeping the previous file as FILE.bak; a painting failure is
// reported with the file's name.
void writePicture(const std::filesystem::path& file,
                  const std::function<std::string(const std::string& format)>& picture);

// The bytes of the graph window's picture of `request` (the 862 x 537 paint
// box) as "png" or "svg".
std::string profileGraphPicture(const ProfileGraphRequest& request, const std::string& format);

// Renders the picture in memory and writes it through writeFileAtomically
// (an existing file is kept as NAME.EXT.bak). Throws std::runtime_error
// naming the file when its extension is neither .png nor .svg or the picture
// cannot be made, OutputRefused or FileWriteError when it cannot be written.
void renderProfileGraph(const ProfileGraphRequest& request, const std::filesystem::path& file);

}  // namespace vexamo::plot
