// The run of tolvani-cli: the overview, each command's help, the dispatch to
// the command named first, and how errors end the program.
#pragma once

#include <vector>

#include "cli/Command.h"

namespace tolvani::cli {

// Runs the command line with these commands, in the order the overview
// lists them; returns the exit code.
int RunCommandLine(int argc, char** argv, const std::vector<Command>& commands);

}  // namespace tolvani::cli
