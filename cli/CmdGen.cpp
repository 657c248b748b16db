#include "cli/CliSupport.h"
#include "cli/Command.h"
#include "model/DrawingGenerator.h"

namespace tolvani::cli {

int RunGen(const std::vector<std::string>& argv) {
    Args args(argv, {}, {"elements", "seed"});
    if (args.positional().size() != 1 || !args.has("elements")) UsageError("使い方: " + std::string(kGenCommand.usage));
    GeneratorOptions options;
    options.elements = ParseLong(args.value("elements"), 0, 50000000, "--elements");
    options.seed = static_cast<uint64_t>(ParseLong(args.value("seed", "1"), 0, 2147483647L, "--seed"));
    CJwwDoc doc;
    GenerateDrawing(doc, options);
    SaveDrawingOrFail(args.positional()[0], doc);
    return kExitOk;
}

const Command kGenCommand = {"gen", "tolvani-cli gen OUT --elements N [--seed S]",
                             "再現可能な試験用図面（A1、N 要素、ブロック定義 50 個）を作ります。\n"
                             "  --elements N  要素数（0〜50000000）\n"
                             "  --seed S      乱数の種（既定 1）\n",
                             RunGen};

}  // namespace tolvani::cli
