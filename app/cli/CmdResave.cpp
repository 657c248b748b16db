#include "app/cli/CliSupport.h"
#include "app/cli/Commands.h"

namespace tolvani::cli {

int RunResave(const std::vector<std::string>& argv) {
    Args args(argv, {}, {});
    if (args.positional().size() != 2) UsageError("使い方: " + std::string(FindCommand("resave").usage));
    const std::unique_ptr<CJwwDoc> doc = LoadDrawingOrFail(args.positional()[0]);
    SaveDrawingOrFail(args.positional()[1], *doc);
    return kExitOk;
}

}  // namespace tolvani::cli
