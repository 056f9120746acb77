#pragma once
// The scripted mode behind tools/screenshots.sh (vexamo --screenshots DIR):
// in each language it runs an example to its results with every question
// answered, and saves pictures of the main window (its report at the
// engineering summary), the technological data form, the graph window and
// About into DIR.
#include <QString>

namespace vexamo::desktop {

// Needs a QApplication. Returns the exit status (0 when every picture was saved).
int runScreenshots(const QString& folder);

}  // namespace vexamo::desktop
