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
    kExitRefused = 1,  // input refused or unreadable; nothing written
    kExitUsage = 2,    // bad usage
    kExitWriteFailed = 3,
};

// An error that ends the command with its exit code and message (stderr).
struct CliError {
    int code;
    std::string message;
};

// Raised by Args when "--help" (or "-h") stands as an argument of its own:
// the command's help is printed instead of running it.
struct HelpRequested {};

[[noreturn]] void UsageError(const std::string& message);

// Loads the drawing at `path`. Raises CliError (exit 1) with the load's
// message when the file cannot be read or is refused.
std::unique_ptr<CJwwDoc> LoadDrawingOrFail(const std::string& path);

// Saves the drawing atomically. Raises CliError (exit 3) with the save's
// message when it cannot, and the system's reason on a second line.
void SaveDrawingOrFail(const std::string& path, CJwwDoc& doc);

// Writes the bytes to `path` atomically. Raises CliError (exit 3) with the
// save message and the system's reason when it cannot.
void WriteBytesOrFail(const std::string& path, const void* data, std::size_t size);

// The message of a file that could not be written, with the system's
// reason on a second line where there is one.
std::string WriteFailureMessage(const std::string& message, const std::string& path, const std::string& reason);

// True when both paths name the same existing file (device and inode, so
// links and other spellings of the name count as the same).
bool SameFile(const std::string& a, const std::string& b);

// Writes a command's output to standard output. The system's reason of a
// failed write is kept for StandardOutputError.
void PrintOut(const std::string& text);

// After a command: 0 when everything written to standard output reached
// it, else the system's error number of the failure.
int StandardOutputError();

// Positional arguments and options of one command. Options are "--name" or
// "--name VALUE" or "--name=VALUE"; which take a value is given. A value
// given as the next argument may not begin with "--" ("-60,40" may).
// Raises HelpRequested for "--help" or "-h".
class Args {
public:
    Args(const std::vector<std::string>& args, const std::vector<std::string>& flags,
         const std::vector<std::string>& valued);
    const std::vector<std::string>& positional() const { return positional_; }
    bool has(const std::string& name) const;
    // The option's value, or `fallback` when absent.
    std::string value(const std::string& name, const std::string& fallback = "") const;

private:
    std::vector<std::string> positional_;
    std::vector<std::pair<std::string, std::string>> options_;
};

// Parses a whole decimal number within [lo, hi] (digits with an optional
// leading minus, nothing else); usage error otherwise.
long ParseLong(const std::string& text, long lo, long hi, const std::string& what);

// A width and a height given as "W<separator>H", each a whole number within
// [lo, hi]; `form` is how the message shows the shape ("W,H"). Usage error
// naming `option` otherwise.
struct WidthHeight {
    long width = 0;
    long height = 0;
};
WidthHeight ParseWidthHeight(const std::string& text, const char* separators, const char* form, long lo, long hi,
                             const std::string& option);

// Parses a plain decimal number ("-12", "3.5", ".5"; no sign "+", no
// exponent, no spaces, no hexadecimal) within [-bound, bound]; usage error
// with `message` and the text otherwise.
double ParseDecimal(const std::string& text, double bound, const std::string& message);

// JSON string literal for UTF-8 text.
std::string JsonString(const std::string& utf8);

// The extension of a path, lower case, without the dot.
std::string LowerExtension(const std::string& path);

}  // namespace tolvani::cli
