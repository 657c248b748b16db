// Every command of tolvani-cli, in the order its overview lists them, and
// the commands that draw.
#pragma once

#include <vector>

#include "cli/Command.h"

namespace tolvani::cli {

extern const Command kRenderCommand;
extern const Command kThumbnailCommand;

const std::vector<Command>& AllCommands();

}  // namespace tolvani::cli
