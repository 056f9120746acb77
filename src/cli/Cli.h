#pragma once

namespace vexamo::cli {

// Parses the command line and runs the subcommand; returns the exit status
// (0 success, 1 the calculation or command failed, 2 bad input).
int runCli(int argc, char** argv);

}  // namespace vexamo::cli
