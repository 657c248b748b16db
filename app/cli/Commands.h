// The subcommands of tolvani-cli. Each takes the arguments after its name,
// writes its result to stdout and returns the exit code; errors are raised
// as CliError.
#pragma once

#include <string>
#include <vector>

namespace tolvani::cli {

struct Command {
    const char* name;
    const char* usage;    // one line
    const char* help;     // the rest of --help
    int (*run)(const std::vector<std::string>& args);
};

int RunInfo(const std::vector<std::string>& args);
int RunDump(const std::vector<std::string>& args);
int RunResave(const std::vector<std::string>& args);
int RunGen(const std::vector<std::string>& args);
int RunInsertTable(const std::vector<std::string>& args);
int RunRender(const std::vector<std::string>& args);
int RunThumbnail(const std::vector<std::string>& args);
int RunObject(const std::vector<std::string>& args);

// All commands, in the order --help lists them.
const std::vector<Command>& AllCommands();

// Prints the command's usage and help to stdout.
void PrintHelp(const Command& c);
const Command& FindCommand(const char* name);

}  // namespace tolvani::cli
