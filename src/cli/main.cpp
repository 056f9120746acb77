#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <iostream>
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
        std::cerr << "vexamo: the desktop program " << program << " cannot be started: " << std::strerror(errno)
                  << "\n(headless commands: vexamo --help)\n";
        return 1;
    }
    return vexamo::cli::runCli(argc, argv);
}
