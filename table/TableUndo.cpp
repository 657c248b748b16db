#include "table/TableUndo.h"

#include <algorithm>
#include <unordered_set>
#include <utility>

namespace tolvani {

bool TableUndo::Available(const CJwwDoc& doc) const {
    return kind_ != Kind::None && doc_ == &doc && generation_ == doc.contentGeneration;
}

void TableUndo::Drop() {
    kind_ = Kind::None;
    doc_ = nullptr;
    generation_ = 0;
    std::vector<const CData*>().swap(elements_);
    definition_ = nullptr;
    insertion_ = nullptr;
}

void TableUndo::RecordElements(const CJwwDoc& doc, std::vector<const CData*> added) {
    Drop();
    kind_ = Kind::Elements;
    doc_ = &doc;
    generation_ = doc.contentGeneration;
    elements_ = std::move(added);
}

void TableUndo::RecordBlock(const CJwwDoc& doc, const CDataList* definition, const CData* insertion) {
    Drop();
    kind_ = Kind::Block;
    doc_ = &doc;
    generation_ = doc.contentGeneration;
    definition_ = definition;
    insertion_ = insertion;
}

bool TableUndo::Undo(CJwwDoc& doc) {
    if (!Available(doc)) return false;
    const Kind kind = kind_;

    if (kind == Kind::Elements) {
        const std::unordered_set<const CData*> added(elements_.begin(), elements_.end());
        std::size_t found = 0;
        for (const auto& e : doc.mainList)
            if (added.count(e.get())) ++found;
        if (found != added.size()) {
            Drop();
            return false;
        }
        Drop();
        doc.RemoveElements([&](const CData& e) { return added.count(&e) != 0; });
    } else {
        const auto& defs = doc.blockList;
        const bool defFound = std::any_of(defs.begin(), defs.end(),
                                          [&](const std::unique_ptr<CDataList>& d) { return d.get() == definition_; });
        const bool insFound = std::any_of(doc.mainList.begin(), doc.mainList.end(),
                                          [&](const std::unique_ptr<CData>& e) { return e.get() == insertion_; });
        if (!defFound || !insFound) {
            Drop();
            return false;
        }
        const CData* insertion = insertion_;
        const CDataList* definition = definition_;
        Drop();
        doc.RemoveElements([&](const CData& e) { return &e == insertion; });
        doc.RemoveDefinition(definition);
    }
    doc.CountLayerElements();
    return true;
}

}  // namespace tolvani
