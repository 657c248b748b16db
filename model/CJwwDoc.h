// One drawing: header, main element list, block definitions, and the values
// derived from them.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "model/CData.h"
#include "model/CJwwHeader.h"
#include "model/DrawingTail.h"

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

    // The first definition with that number, or null. The index behind it
    // is kept up to date by the operations below; a lookup only reads, so
    // any number of threads may look up in one unchanging drawing at once.
    CDataList* FindBlockList(int32_t number) const;

    // The operations that change the lists. A definition's number is not
    // to be changed while the definition is in the list.
    //
    // Appends an element (not a definition) to the main list; returns it.
    CData* AddElement(std::unique_ptr<CData> element);
    // Room for `count` main-list elements in all.
    void ReserveElements(std::size_t count) { mainList_.reserve(count); }
    // Appends a definition to the definition list; returns it.
    CDataList* AddDefinition(std::unique_ptr<CDataList> definition);
    // Deletes the main-list elements for which `drop` is true, keeping the
    // order of the others; returns how many went.
    std::size_t RemoveElements(const std::function<bool(const CData&)>& drop);
    // Deletes one element of the main list; false when it is not there.
    bool RemoveElement(const CData* element) {
        return RemoveElements([element](const CData& e) { return &e == element; }) != 0;
    }
    // Deletes one definition of the list; false when it is not there. The
    // block registry's current definition is reset when it was that one.
    bool RemoveDefinition(const CDataList* definition);

    // Recomputes groupElementCount and layerElementCount.
    void CountLayerElements();

    static const char* const kTooOldMessage;

private:
    ElementList mainList_;
    std::vector<std::unique_ptr<CDataList>> blockList_;
    // Definition number -> place of its first definition in blockList_.
    std::unordered_map<int32_t, std::size_t> blockIndex_;

public:
    CJwwHeader header;
    // The main element list and the definition list, in file order. Read
    // them here; change them only through the operations above.
    const ElementList& mainList = mainList_;
    const std::vector<std::unique_ptr<CDataList>>& blockList = blockList_;
    uint32_t trailingCount = 0;
    // Bytes that followed the drawing in the file it was loaded from; saved
    // back unchanged after the drawing. Never read into memory from a file.
    DrawingTail trailingBytes;
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
};

}  // namespace tolvani
