#pragma once

namespace vexamo::desktop {

// Starts the desktop application (language choice, main window, message
// loop) and returns its exit status.
int runDesktop(int argc, char** argv);

}  // namespace vexamo::desktop
