// Runs tolvani-cli as a separate process and collects what it printed.
#pragma once

#include <string>
#include <vector>

namespace tolvani::test {

struct CliResult {
    int exitCode = -1;
    std::string out;
    std::string err;
};

struct CliOptions {
    // Where the tool's standard output goes instead of being collected: a
    // file opened for writing (appending, as `>>` does, or from its start,
    // without truncating).
    std::string stdoutPath;
    bool append = false;
    // Another build of the tool; the usual one when empty.
    std::string program;
    // NAME=VALUE settings added to the environment.
    std::vector<std::string> environment;
};

CliResult RunCli(const std::vector<std::string>& args, const CliOptions& options = {});

}  // namespace tolvani::test
