// Shared pieces of the command-line tool: exit codes, messages, argument
// parsing and loading a drawing with the program's error messages.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "model/CJwwDoc.h"

namespace tolvani::cli {

enum ExitCode {
    kExitOk = 0,
    kExitRefused = 1,   // input refused or unreadable; nothing written
    kExitUsage = 2,     // bad usage
    kExitWriteFailed = 3,
};

// An error that ends the command with its exit code and message (stderr).
struct CliError {
    int code;
    std::string message;
};

[[noreturn]] void UsageError(const std::string& message);

// Loads the drawing at `path`. Raises CliError (exit 1) with the load's
// message when the file cannot be read or is refused.
std::unique_ptr<CJwwDoc> LoadDrawingOrFail(const std::string& path);

// Saves the drawing atomically. Raises CliError (exit 3) with the save's
// message when it cannot.
void SaveDrawingOrFail(const std::string& path, CJwwDoc& doc);

// Positional arguments and options of one command. Options are "--name" or
// "--name VALUE" or "--name=VALUE"; which take a value is given.
class Args {
public:
    Args(const std::vector<std::string>& args, const std::vector<std::string>& flags,
         const std::vector<std::string>& valued);
    const std::vector<std::string>& positional() const { return positional_; }
    bool has(const std::string& name) const;
    // The option's value, or `fallback` when absent.
    std::string value(const std::string& name, const std::string& fallback = "") const;
    bool help() const { return help_; }

private:
    std::vector<std::string> positional_;
    std::vector<std::pair<std::string, std::string>> options_;
    bool help_ = false;
};

// Parses a whole decimal number within [lo, hi]; usage error otherwise.
long ParseLong(const std::string& text, long lo, long hi, const std::string& what);

// JSON string literal for UTF-8 text.
std::string JsonString(const std::string& utf8);

// The extension of a path, lower case, without the dot.
std::string LowerExtension(const std::string& path);

}  // namespace tolvani::cli
