#include "desktop/DesktopApp.h"

// The desktop program. `vexamo` without arguments starts it; it lives in an
// executable of its own so that the headless commands never load the
// widgets, the window system and their libraries.
int main(int argc, char** argv) { return vexamo::desktop::runDesktop(argc, argv); }
