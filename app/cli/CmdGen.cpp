#include "app/cli/CliSupport.h"
#include "app/cli/Commands.h"
#include "app/gen/DrawingGenerator.h"

namespace tolvani::cli {

int RunGen(const std::vector<std::string>& argv) {
    Args args(argv, {}, {"elements", "seed"});
    if (args.positional().size() != 1 || !args.has("elements"))
        UsageError("使い方: " + std::string(FindCommand("gen").usage));
    GeneratorOptions options;
    options.elements = ParseLong(args.value("elements"), 0, 50000000, "--elements");
    options.seed = static_cast<uint64_t>(ParseLong(args.value("seed", "1"), 0, 2147483647L, "--seed"));
    CJwwDoc doc;
    GenerateDrawing(doc, options);
    SaveDrawingOrFail(args.positional()[0], doc);
    return kExitOk;
}

}  // namespace tolvani::cli
