#include <array>
#include <cstdio>
#include <string>

#include "cli/CliSupport.h"
#include "cli/Command.h"
#include "model/CJwwDoc.h"

namespace tolvani::cli {
namespace {

using Counts = std::array<long, kElementKindCount>;

void CountList(const ElementList& list, Counts& counts) {
    for (const auto& e : list) ++counts[static_cast<std::size_t>(e->Kind())];
}

std::string CountsJson(const Counts& counts) {
    std::string out = "{";
    for (int k = 0; k < kElementKindCount; ++k) {
        if (k) out += ", ";
        out += JsonString(ElementClassName(static_cast<ElementKind>(k))) + ": " + std::to_string(counts[k]);
    }
    return out + "}";
}

std::string CountsText(const Counts& counts) {
    std::string out;
    for (int k = 0; k < kElementKindCount; ++k) {
        if (k) out += " ";
        out += std::string(ElementClassName(static_cast<ElementKind>(k))) + "=" + std::to_string(counts[k]);
    }
    return out;
}

}  // namespace

int RunInfo(const std::vector<std::string>& argv) {
    Args args(argv, {"json"}, {});
    if (args.positional().size() != 1) UsageError("使い方: " + std::string(kInfoCommand.usage));
    const std::unique_ptr<CJwwDoc> loaded = LoadDrawingOrFail(args.positional()[0]);
    const CJwwDoc& doc = *loaded;

    Counts main{}, defs{};
    CountList(doc.mainList, main);
    for (const auto& d : doc.blockList) CountList(d->elements, defs);

    const CJwwHeader& h = doc.header;
    std::string out;
    if (args.has("json")) {
        out += "{\"version\": " + std::to_string(h.version);
        out += ", \"memo\": " + JsonString(h.memo.toUtf8());
        out += ", \"paperSize\": " + std::to_string(h.paperSize);
        out += ", \"writeLayerGroup\": " + std::to_string(h.writeLayerGroup);
        out += ", \"mainCounts\": " + CountsJson(main);
        out += ", \"definitionCounts\": " + CountsJson(defs);
        out += ", \"definitionCount\": " + std::to_string(doc.blockList.size());
        out += ", \"trailingCount\": " + std::to_string(doc.trailingCount);
        out += ", \"trailingBytes\": " + std::to_string(doc.trailingBytes.size());
        out += ", \"groupElementCount\": [";
        for (int g = 0; g < kLayerGroups; ++g) out += (g ? ", " : "") + std::to_string(doc.groupElementCount[g]);
        out += "], \"layerElementCount\": [";
        for (int g = 0; g < kLayerGroups; ++g) {
            out += g ? ", [" : "[";
            for (int l = 0; l < kLayers; ++l) out += (l ? ", " : "") + std::to_string(doc.layerElementCount[g][l]);
            out += "]";
        }
        out += "]}\n";
    } else {
        out += "version: " + std::to_string(h.version) + "\n";
        out += "memo: " + h.memo.toUtf8() + "\n";
        out += "paperSize: " + std::to_string(h.paperSize) + "\n";
        out += "writeLayerGroup: " + std::to_string(h.writeLayerGroup) + "\n";
        out += "mainCounts: " + CountsText(main) + "\n";
        out += "definitionCounts: " + CountsText(defs) + "\n";
        out += "definitionCount: " + std::to_string(doc.blockList.size()) + "\n";
        out += "trailingCount: " + std::to_string(doc.trailingCount) + "\n";
        out += "trailingBytes: " + std::to_string(doc.trailingBytes.size()) + "\n";
        out += "groupElementCount:";
        for (int g = 0; g < kLayerGroups; ++g) out += " " + std::to_string(doc.groupElementCount[g]);
        out += "\n";
        for (int g = 0; g < kLayerGroups; ++g) {
            out += "layerElementCount[" + std::to_string(g) + "]:";
            for (int l = 0; l < kLayers; ++l) out += " " + std::to_string(doc.layerElementCount[g][l]);
            out += "\n";
        }
    }
    PrintOut(out);
    return kExitOk;
}

const Command kInfoCommand = {
    "info", "tolvani-cli info FILE [--json]",
    "図面の版、メモ、用紙サイズ、書込レイヤグループ、要素数、ブロック定義数、末尾の値を表示します。\n"
    "  --json  JSON オブジェクトで出力します。\n",
    RunInfo};

}  // namespace tolvani::cli
