#include "blocks/BlockTree.h"

#include <cstdio>

#include "blocks/BlockNames.h"
#include "blocks/BlockRegistry.h"
#include "blocks/InsertionContext.h"

namespace tolvani {

std::vector<BlockListRow> FillBlockListView(const CJwwDoc& doc) {
    std::vector<BlockListRow> rows;
    rows.reserve(doc.blockList.size());
    for (const auto& d : doc.blockList) {
        char number[32];
        std::snprintf(number, sizeof number, "[ %d ]", static_cast<int>(d->number));
        rows.push_back({number, BlockDisplayNameUtf8(d->name), GetBlockKindName(d->name.view()),
                        d->referenced ? "参照済" : "未参照"});
    }
    return rows;
}

struct BlockTree::Walk {
    BlockTree& tree;
    CJwwDoc& doc;
    BlockPath path;

    // `parent` is the item of the enclosing insertion (-1 for the main list),
    // `parentId` that insertion's treeItemId.
    void List(const ElementList& list, int parent, int parentId) {
        for (const auto& e : list) {
            auto* ins = As<CDataBlock>(e.get());
            if (!ins) continue;
            if (tree.truncated_) return;
            if (parent < 0) {
                ins->treeParentId = 0;
                ins->treeItemId = doc.treeIdCounter;
            } else {
                ins->treeParentId = parentId;
                ins->treeItemId = ins->definitionNumber;
            }
            const CDataList* def = doc.FindBlockList(ins->definitionNumber);
            if (!def) {
                ++tree.missing_;
                continue;
            }
            BlockPath::Scope scope(path, def);
            if (!scope.entered()) {
                ++tree.refused_;
                continue;
            }
            if (static_cast<int>(tree.items_.size()) >= kItemLimit) {
                tree.truncated_ = true;
                return;
            }
            const int index = static_cast<int>(tree.items_.size());
            Item item;
            item.text = BlockDisplayNameUtf8(def->name);
            item.data = ins->treeItemId;
            item.parent = parent;
            item.depth = path.Depth() - 1;
            tree.items_.push_back(std::move(item));
            if (parent < 0)
                tree.roots_.push_back(index);
            else
                tree.items_[static_cast<std::size_t>(parent)].children.push_back(index);
            ++doc.treeIdCounter;
            List(def->elements, index, ins->treeItemId);
        }
    }
};

void BlockTree::Fill(CJwwDoc& doc) {
    items_.clear();
    roots_.clear();
    missing_ = refused_ = 0;
    truncated_ = false;
    doc.treeIdCounter = 1;
    Walk walk{*this, doc, {}};
    walk.List(doc.mainList, -1, 0);
}

std::string BlockTree::Message() const {
    std::string text;
    char buf[256];
    if (missing_ > 0) {
        std::snprintf(buf, sizeof buf, "リストが見つかりません（%d 件）", missing_);
        text += buf;
    }
    if (refused_ > 0) {
        if (!text.empty()) text += "\n";
        std::snprintf(buf, sizeof buf,
                      "自分自身を含むか %d 段より深く入れ子になったブロック %d 件はツリーに入れていません",
                      BlockPath::kMaxDepth, refused_);
        text += buf;
    }
    if (truncated_) {
        if (!text.empty()) text += "\n";
        std::snprintf(buf, sizeof buf, "ツリーの項目が %d を超えたため、以降は省略しました", kItemLimit);
        text += buf;
    }
    return text;
}

BlockTree::Selection BlockTree::SelectionOf(int i) const {
    const Item& item = items_[static_cast<std::size_t>(i)];
    Selection s;
    s.itemId = item.data;
    s.parentId = item.parent < 0 ? 0 : items_[static_cast<std::size_t>(item.parent)].data;
    return s;
}

}  // namespace tolvani
