// The record of the last table insertion, and its undo.
//
// The insertion records exactly what it added: its texts and lines, or its
// block definition and the one insertion of it. Undo removes those and
// nothing else, however the options have changed since and whatever was
// added to the drawing after the table. A record made for one drawing
// content is void once that content is cleared or replaced by a load.
#pragma once

#include <cstdint>
#include <vector>

#include "model/CJwwDoc.h"

namespace tolvani {

class TableUndo {
public:
    // True when the last insertion into this drawing can be undone.
    bool Available(const CJwwDoc& doc) const;

    // Forgets the record.
    void Drop();

    void RecordElements(const CJwwDoc& doc, std::vector<const CData*> added);
    void RecordBlock(const CJwwDoc& doc, const CDataList* definition, const CData* insertion);

    // Removes what the last insertion added, recounts the layer elements
    // and forgets the record. Returns false, changing nothing in the
    // drawing, when there is nothing to undo or when the drawing no longer
    // holds every recorded element.
    bool Undo(CJwwDoc& doc);

private:
    enum class Kind { None, Elements, Block };
    Kind kind_ = Kind::None;
    const CJwwDoc* doc_ = nullptr;
    uint64_t generation_ = 0;
    std::vector<const CData*> elements_;
    const CDataList* definition_ = nullptr;
    const CData* insertion_ = nullptr;
};

}  // namespace tolvani
