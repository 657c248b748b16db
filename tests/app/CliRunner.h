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

CliResult RunCli(const std::vector<std::string>& args);

}  // namespace tolvani::test
