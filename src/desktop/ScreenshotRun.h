#pragma once
// The scripted mode behind tools/screenshots.sh (vexamo --screenshots DIR):
// in each language it runs an example to its results with every question
// answered, and saves pictures of the main window, the technological data
// form and the graph window into DIR.
#include <QString>

namespace vexamo::desktop {

// Needs a QApplication. Returns the exit status (0 when every picture was saved).
int runScreenshots(const QString& folder);

}  // namespace vexamo::desktop
