// One drawing: header, main element list, block definitions, and the values
// derived from them.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "model/CData.h"
#include "model/CJwwHeader.h"

namespace tolvani {

class JwwStream;

class CJwwDoc {
public:
    // A drawing with a constructed header (not yet the new-drawing
    // defaults), empty lists and shown paper size 3.
    CJwwDoc();
    CJwwDoc(const CJwwDoc&) = delete;
    CJwwDoc& operator=(const CJwwDoc&) = delete;

    enum class LoadResult { Loaded, TooOld };

    // Loads the whole drawing. Returns TooOld (and reads no list) for a file
    // older than version 420; the caller shows kTooOldMessage. Stream errors
    // propagate; the lists keep what was read completely.
    LoadResult Load(JwwStream& ar);
    // Saves the whole drawing.
    void Save(JwwStream& ar);

    // Deletes every element and definition; the header stays as it is.
    void Clear();

    // The first definition with that number, or null. Lookups go through an
    // index that notices appends and removals; code that changes a
    // definition's number or replaces one in place calls
    // InvalidateBlockIndex() afterwards.
    CDataList* FindBlockList(int32_t number) const;
    void InvalidateBlockIndex();

    // Recomputes groupElementCount and layerElementCount.
    void CountLayerElements();

    static const char* const kTooOldMessage;

    CJwwHeader header;
    ElementList mainList;
    std::vector<std::unique_ptr<CDataList>> blockList;
    uint32_t trailingCount = 0;
    // Bytes that followed the drawing in the file it was loaded from; saved
    // back unchanged after the drawing.
    std::vector<uint8_t> trailingBytes;
    int shownPaperSize = 3;
    int groupElementCount[kLayerGroups] = {};
    int layerElementCount[kLayerGroups][kLayers] = {};

    // A number that changes whenever the whole content is dropped or
    // replaced (construction, Clear, Load) and is never reused by any
    // drawing; records that point into the drawing keep it to know they
    // still refer to the same content.
    uint64_t contentGeneration;

    // Block registry state, never stored.
    CDataList* currentDefinition = nullptr;
    ElementList* currentTargetList = nullptr;
    int treeIdCounter = 0;
    int selectedParentId = 0;
    int selectedItemId = 0;

private:
    void ReadList(JwwStream& ar, ElementList& list);

    // Lookup cache for FindBlockList, rebuilt whenever the definition list
    // is seen to have changed.
    mutable std::unordered_map<int32_t, std::size_t> blockIndex_;
    mutable const void* blockIndexData_ = nullptr;
    mutable std::size_t blockIndexSize_ = SIZE_MAX;
    mutable const CDataList* blockIndexBack_ = nullptr;
};

}  // namespace tolvani
