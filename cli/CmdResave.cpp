#include "cli/CliSupport.h"
#include "cli/Command.h"

namespace tolvani::cli {

int RunResave(const std::vector<std::string>& argv) {
    Args args(argv, {}, {});
    if (args.positional().size() != 2) UsageError("使い方: " + std::string(kResaveCommand.usage));
    const std::unique_ptr<CJwwDoc> doc = LoadDrawingOrFail(args.positional()[0]);
    SaveDrawingOrFail(args.positional()[1], *doc);
    return kExitOk;
}

const Command kResaveCommand = {"resave", "tolvani-cli resave IN OUT",
                                "図面を読み込み、そのまま OUT に保存します（一時ファイルに書いてから置き換えます）。\n",
                                RunResave};

}  // namespace tolvani::cli
