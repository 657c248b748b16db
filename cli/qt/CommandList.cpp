#include "cli/qt/CommandList.h"

namespace tolvani::cli {

const std::vector<Command>& AllCommands() {
    static const std::vector<Command> commands = {
        kInfoCommand,        kDumpCommand,   kResaveCommand,    kGenCommand,
        kInsertTableCommand, kRenderCommand, kThumbnailCommand, kObjectCommand,
    };
    return commands;
}

}  // namespace tolvani::cli
