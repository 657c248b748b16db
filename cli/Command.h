// The subcommands of tolvani-cli. Each takes the arguments after its name,
// writes its result to stdout and returns the exit code; errors are raised
// as CliError.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace tolvani {
class CJwwDoc;
namespace object {
struct NativePrefix;
}
}  // namespace tolvani

namespace tolvani::cli {

struct Command {
    const char* name;
    const char* usage;  // one line
    const char* help;   // the rest of --help
    int (*run)(const std::vector<std::string>& args);
};

// The commands that need no drawing on pictures.
extern const Command kInfoCommand;
extern const Command kDumpCommand;
extern const Command kResaveCommand;
extern const Command kGenCommand;
extern const Command kInsertTableCommand;
extern const Command kObjectCommand;

// Draws the picture of an object, "png" or "svg", carrying the object's
// data; empty when it cannot. The object command makes pictures only when
// the program has set one.
using ObjectPictureMaker = std::vector<uint8_t> (*)(const std::string& form, const CJwwDoc& doc,
                                                    const object::NativePrefix& prefix,
                                                    const std::vector<uint8_t>& native);
void SetObjectPictureMaker(ObjectPictureMaker maker);

}  // namespace tolvani::cli
