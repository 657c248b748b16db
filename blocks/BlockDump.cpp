#include "blocks/BlockDump.h"

#include <cstdio>

#include "blocks/BlockRegistry.h"
#include "blocks/InsertionContext.h"

namespace tolvani {
namespace {

const char* const kMissingDefinition = "定義ブロックが見つかりません！";
const char* const kTruncated = "（以下省略）\r\n";

struct DumpState {
    const CJwwDoc& doc;
    std::vector<std::string>& boxes;
    BlockPath path;
    long entries = 0;
    bool truncated = false;
};

std::string Format(const char* fmt, long a, long b, long c) {
    char buf[256];
    std::snprintf(buf, sizeof buf, fmt, a, b, c);
    return buf;
}

void DumpList(DumpState& st, const ElementList& list, const CDataBlock* context) {
    std::string text(78, '-');
    text += "\r\n";
    if (!context) {
        text += "<<< リストGO >>>　pInst == NULL\r\n";
    } else {
        text += "<<< リストGO　>>> ";
        text += Format("pInst = 親【 %ld 】 挿入B【 %ld 】 呼出B【 %ld 】\r\n", context->treeParentId,
                       context->treeItemId, context->definitionNumber);
    }
    text += std::string(77, '-');
    text += "\r\n";
    for (const auto& e : list) {
        const auto* ins = As<CDataBlock>(e.get());
        if (!ins) continue;
        if (st.entries >= kDumpEntryLimit) {
            if (!st.truncated) text += kTruncated;
            st.truncated = true;
            break;
        }
        ++st.entries;
        const CDataList* def = st.doc.FindBlockList(ins->definitionNumber);
        BlockPath::Scope scope(st.path, def);
        if (!scope.entered()) {
            st.boxes.push_back(kMissingDefinition);
            continue;
        }
        text += "★★★ブロック挿入★★★ ";
        text += BlockDisplayNameUtf8(def->name);
        text += "\r\n";
        char buf[160];
        std::snprintf(buf, sizeof buf, "G:%u / S:%u / C:%u / W:%u/ L:%u:%u / F:%u\r\n", ins->groupValue,
                      static_cast<unsigned>(ins->lineType), static_cast<unsigned>(ins->color),
                      static_cast<unsigned>(ins->width), static_cast<unsigned>(ins->layer),
                      static_cast<unsigned>(ins->layerGroup), static_cast<unsigned>(ins->flag));
        text += buf;
        DumpList(st, def->elements, ins);
    }
    st.boxes.push_back(std::move(text));
}

}  // namespace

std::vector<std::string> DumpInsertions(const CJwwDoc& doc, const ElementList& list, const CDataBlock* context) {
    std::vector<std::string> boxes;
    DumpState st{doc, boxes, {}, 0, false};
    DumpList(st, list, context);
    return boxes;
}

std::vector<std::string> DumpDefinitions(const CJwwDoc& doc) {
    std::vector<std::string> boxes;
    DumpState st{doc, boxes, {}, 0, false};
    for (const auto& d : doc.blockList) {
        if (st.truncated) break;
        std::string text(66, '-');
        text += "\r\n    ★定義リストスタート★ ";
        text += Format("【 %ld 】 ", d->number, 0, 0);
        text += BlockDisplayNameUtf8(d->name);
        text += "\r\n";
        text += std::string(66, '-');
        text += "\r\n";
        boxes.push_back(std::move(text));
        BlockPath::Scope scope(st.path, d.get());
        DumpList(st, d->elements, nullptr);
    }
    return boxes;
}

}  // namespace tolvani
