#include "cli/Cli.h"

int main(int argc, char** argv) { return vexamo::cli::runCli(argc, argv); }
