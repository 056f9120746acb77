#include <string_view>

#include "cli/Cli.h"
#include "desktop/DesktopApp.h"

// Without arguments the desktop program starts; a subcommand runs headless
// and needs no display.
int main(int argc, char** argv) {
    if (argc == 1 || (argc == 3 && std::string_view(argv[1]) == "--screenshots"))
        return vexamo::desktop::runDesktop(argc, argv);
    return vexamo::cli::runCli(argc, argv);
}
