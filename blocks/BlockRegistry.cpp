#include "blocks/BlockRegistry.h"

#include <cstdlib>
#include <ctime>
#include <limits>

#include "blocks/BlockNames.h"
#include "model/Cp932.h"

namespace tolvani {

bool IsBlockNameRegistered(const CJwwDoc& doc, std::string_view candidate) {
    for (const auto& d : doc.blockList)
        if (GetBlockBaseName(d->name.view()) == candidate) return true;
    return false;
}

int32_t NextBlockNumber(const CJwwDoc& doc) {
    const auto count = static_cast<int64_t>(doc.blockList.size());
    int64_t largest = std::numeric_limits<int32_t>::min();
    bool taken = false;
    for (const auto& d : doc.blockList) {
        if (d->number == count) taken = true;
        if (d->number > largest) largest = d->number;
    }
    if (!taken && count <= std::numeric_limits<int32_t>::max()) return static_cast<int32_t>(count);
    if (largest < std::numeric_limits<int32_t>::max()) return static_cast<int32_t>(largest + 1);
    // Every number up to the largest is unlikely to be taken: find a free one.
    int32_t n = 0;
    while (doc.FindBlockList(n)) ++n;
    return n;
}

int64_t BlockCreationTime() {
    if (const char* epoch = std::getenv("SOURCE_DATE_EPOCH")) {
        char* end = nullptr;
        const long long v = std::strtoll(epoch, &end, 10);
        if (end != epoch && *end == '\0') return v;
    }
    return static_cast<int64_t>(std::time(nullptr));
}

CDataList* BeginTableBlock(CJwwDoc& doc, const std::string& name, double x, double y) {
    auto def = std::make_unique<CDataList>();
    def->number = NextBlockNumber(doc);
    def->referenced = 1;
    def->createdTime = BlockCreationTime();
    def->name = JwwString(name + kTableBlockSuffix);
    def->layer = 1;
    def->layerGroup = 1;
    def->flag = 16;

    auto ins = std::make_unique<CDataBlock>();
    ins->ref = {x, y};
    ins->scaleX = ins->scaleY = 1.0;
    ins->angle = 0;
    ins->definitionNumber = def->number;
    ins->lineType = 1;
    ins->layer = 1;
    ins->layerGroup = 0;

    CDataList* raw = def.get();
    doc.AddDefinition(std::move(def));
    doc.currentDefinition = raw;
    doc.currentTargetList = &raw->elements;
    doc.AddElement(std::move(ins));
    return raw;
}

namespace {

// Into the current definition's list when asked and there is one, else
// into the main list.
template <typename T>
T* AddTo(CJwwDoc& doc, bool intoBlock, std::unique_ptr<T> element) {
    T* raw = element.get();
    if (intoBlock && doc.currentTargetList)
        doc.currentTargetList->push_back(std::move(element));
    else
        doc.AddElement(std::move(element));
    return raw;
}

}  // namespace

CDataSen* AddLineElement(CJwwDoc& doc, bool intoBlock, int layerGroup, int layer, int lineType, int color, double x1,
                         double y1, double x2, double y2) {
    auto line = std::make_unique<CDataSen>();
    line->lineType = static_cast<uint8_t>(lineType);
    line->color = static_cast<uint16_t>(color);
    line->layer = static_cast<uint16_t>(layer);
    line->layerGroup = static_cast<uint16_t>(layerGroup);
    line->start = {x1, y1};
    line->end = {x2, y2};
    return AddTo(doc, intoBlock, std::move(line));
}

CDataMoji* AddTextElement(CJwwDoc& doc, bool intoBlock, const CDataMoji& text) {
    return AddTo(doc, intoBlock, std::make_unique<CDataMoji>(text));
}

std::string BlockDisplayNameUtf8(const JwwString& name) {
    if (const std::u16string* wide = name.wide()) {
        const auto at = wide->find(u'@');
        return Utf16ToUtf8(std::u16string_view(*wide).substr(0, at));
    }
    return Cp932ToUtf8(GetBlockBaseName(name.view()));
}

}  // namespace tolvani
