#include "model/CJwwDoc.h"

#include <algorithm>
#include <atomic>

#include "model/JwwStream.h"

namespace tolvani {

const char* const CJwwDoc::kTooOldMessage =
    "このファイルは古いバージョンです、Jw_cad で読込みファイルしなおしてください。";

namespace {

uint64_t NextContentGeneration() {
    static std::atomic<uint64_t> counter{0};
    return ++counter;
}

}  // namespace

CJwwDoc::CJwwDoc() : contentGeneration(NextContentGeneration()) {}

void CJwwDoc::Clear() {
    contentGeneration = NextContentGeneration();
    mainList_.clear();
    blockList_.clear();
    blockIndex_.clear();
    trailingCount = 0;
    trailingBytes.clear();
    currentDefinition = nullptr;
    currentTargetList = nullptr;
}

void CJwwDoc::ReadList(JwwStream& ar, ElementList& list) {
    const uint32_t count = ar.GetCount();
    // Every element takes at least a tag word and its 15 common bytes, so
    // the room reserved never exceeds what the bytes present can fill.
    list.reserve(list.size() + static_cast<std::size_t>(std::min<uint64_t>(count, ar.Remaining() / 17)));
    for (uint32_t i = 0; i < count; ++i) {
        auto e = ar.GetElement();
        if (!e) throw JwwBadIndexError("empty entry in the element list");
        if (e->Kind() == ElementKind::List) throw JwwBadClassError("block definition in the element list");
        list.push_back(std::move(e));
    }
}

CJwwDoc::LoadResult CJwwDoc::Load(JwwStream& ar) {
    contentGeneration = NextContentGeneration();
    header.valid = false;
    if (!header.Serialize(ar)) return LoadResult::TooOld;
    ReadList(ar, mainList_);
    const uint32_t defs = ar.GetCount();
    for (uint32_t i = 0; i < defs; ++i) {
        auto e = ar.GetElement();
        if (!e) throw JwwBadIndexError("empty entry in the definition list");
        if (e->Kind() != ElementKind::List) throw JwwBadClassError("element in the definition list");
        AddDefinition(std::unique_ptr<CDataList>(static_cast<CDataList*>(e.release())));
    }
    if (header.version >= 700) trailingCount = ar.GetDword();
    ar.GetTail(trailingBytes);
    CountLayerElements();
    shownPaperSize = static_cast<int>(header.paperSize);
    return LoadResult::Loaded;
}

void CJwwDoc::Save(JwwStream& ar) {
    header.Serialize(ar);
    ar.PutCount(static_cast<uint32_t>(mainList.size()));
    for (const auto& e : mainList) ar.PutElement(e.get());
    ar.PutCount(static_cast<uint32_t>(blockList.size()));
    for (const auto& d : blockList) ar.PutElement(d.get());
    if (header.version >= 700) ar.PutDword(trailingCount);
    ar.PutTail(trailingBytes);
    CountLayerElements();
    shownPaperSize = static_cast<int>(header.paperSize);
}

CDataList* CJwwDoc::FindBlockList(int32_t number) const {
    const auto it = blockIndex_.find(number);
    return it == blockIndex_.end() ? nullptr : blockList_[it->second].get();
}

CData* CJwwDoc::AddElement(std::unique_ptr<CData> element) {
    CData* raw = element.get();
    mainList_.push_back(std::move(element));
    return raw;
}

CDataList* CJwwDoc::AddDefinition(std::unique_ptr<CDataList> definition) {
    CDataList* raw = definition.get();
    blockList_.push_back(std::move(definition));
    try {
        // An earlier definition of the same number stays the one found.
        blockIndex_.emplace(raw->number, blockList_.size() - 1);
    } catch (...) {
        blockList_.pop_back();
        throw;
    }
    return raw;
}

std::size_t CJwwDoc::RemoveElements(const std::function<bool(const CData&)>& drop) {
    const auto keep =
        std::remove_if(mainList_.begin(), mainList_.end(), [&](const std::unique_ptr<CData>& e) { return drop(*e); });
    const auto removed = static_cast<std::size_t>(mainList_.end() - keep);
    mainList_.erase(keep, mainList_.end());
    return removed;
}

bool CJwwDoc::RemoveDefinition(const CDataList* definition) {
    const auto it = std::find_if(blockList_.begin(), blockList_.end(),
                                 [&](const std::unique_ptr<CDataList>& d) { return d.get() == definition; });
    if (it == blockList_.end()) return false;
    if (currentDefinition == definition) {
        currentDefinition = nullptr;
        currentTargetList = nullptr;
    }
    blockList_.erase(it);
    // Places after the removed one moved, and a later definition of the same
    // number may now be the first: index afresh.
    blockIndex_.clear();
    for (std::size_t i = 0; i < blockList_.size(); ++i) blockIndex_.emplace(blockList_[i]->number, i);
    return true;
}

void CJwwDoc::CountLayerElements() {
    for (auto& g : groupElementCount) g = 0;
    for (auto& g : layerElementCount)
        for (auto& l : g) l = 0;
    auto add = [this](const CData& e) {
        if (e.layerGroup >= kLayerGroups || e.layer >= kLayers) return;
        ++groupElementCount[e.layerGroup];
        ++layerElementCount[e.layerGroup][e.layer];
    };
    for (const auto& e : mainList) {
        if (const auto* ins = As<CDataBlock>(e.get())) {
            if (const CDataList* def = FindBlockList(ins->definitionNumber))
                for (const auto& inner : def->elements) add(*inner);
        } else {
            add(*e);
        }
    }
}

}  // namespace tolvani
