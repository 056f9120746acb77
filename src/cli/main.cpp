#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <iostream>
#include <string>
#include <string_view>
#include <vector>

#include "cli/Cli.h"

namespace {

// The desktop program beside this executable.
std::filesystem::path desktopProgram(const char* argv0) {
    std::error_code ec;
    std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", ec);
    if (ec) self = std::filesystem::absolute(argv0, ec);
    return self.parent_path() / "vexamo-desktop";
}

// A command that draws a picture does it with the toolkit's offscreen
// platform (no display needed) unless the caller chose a platform; and, with
// no session, in a private runtime folder, so the toolkit does not warn about
// its absence. Set here, before anything runs, and only for a command that
// may draw: the environment belongs to the program, not to a library.
void prepareHeadlessDrawing(int argc, char** argv) {
    bool draws = false;
    for (int i = 1; i < argc; ++i) draws = draws || std::string_view(argv[i]).starts_with("--plot");
    if (!draws) return;
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    if (getenv("XDG_RUNTIME_DIR") == nullptr) {
        const char* temporary = getenv("TMPDIR");
        const std::string folder =
            std::string(temporary != nullptr && *temporary ? temporary : "/tmp") +
            "/vexamo-runtime-" + std::to_string(getuid());
        struct stat status {};
        if (mkdir(folder.c_str(), 0700) == 0 ||
            (lstat(folder.c_str(), &status) == 0 && S_ISDIR(status.st_mode) &&
             status.st_uid == getuid()))
            setenv("XDG_RUNTIME_DIR", folder.c_str(), 0);
    }
}

}  // namespace

// Without arguments the desktop program starts; a subcommand runs headless
// and needs no display.
int main(int argc, char** argv) {
    if (argc == 1 || (argc == 3 && std::string_view(argv[1]) == "--screenshots")) {
        const std::string program = desktopProgram(argv[0]).string();
        std::vector<char*> arguments{const_cast<char*>(program.c_str())};
        for (int i = 1; i < argc; ++i) arguments.push_back(argv[i]);
        arguments.push_back(nullptr);
        execv(program.c_str(), arguments.data());
        std::cerr << "vexamo: the desktop program " << program
                  << " cannot be started: " << std::strerror(errno)
                  << "\n(headless commands: vexamo --help)\n";
        return 1;
    }
    prepareHeadlessDrawing(argc, argv);
    return vexamo::cli::runCli(argc, argv);
}
