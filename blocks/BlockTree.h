// The contents of the block figure dialog: one row per definition, and the
// tree of insertions with their nesting. Filling the tree writes the tree
// identifiers into the insertions, which is how a selection in the dialog
// reaches the highlighting of the drawing.
#pragma once

#include <string>
#include <vector>

#include "model/CJwwDoc.h"

namespace tolvani {

// One row of the definition list: "[ %d ]", display name, kind name,
// "参照済" or "未参照" (UTF-8).
struct BlockListRow {
    std::string number;
    std::string name;
    std::string kind;
    std::string referenced;
};

std::vector<BlockListRow> FillBlockListView(const CJwwDoc& doc);

// Indexes of the dialog's images.
enum BlockImage : int { kPageImage = 0, kPageImage2 = 1, kFolderImage = 2, kFolderImage2 = 3 };

class BlockTree {
public:
    struct Item {
        std::string text;  // display name of the definition, UTF-8
        int data = 0;      // the insertion's treeItemId
        int parent = -1;   // index of the parent item, -1 at the root
        int depth = 0;     // 0 at the root
        std::vector<int> children;
    };

    // A fill stops once it holds this many items, so that definitions that
    // place each other many times over cannot make an endless tree.
    static constexpr int kItemLimit = 100000;

    // Sets treeIdCounter to 1 and walks the main list: every insertion gets
    // its treeParentId and treeItemId; each whose definition is found gets
    // an item, placed under the item of the insertion that encloses it. The
    // walk goes through BlockPath, so a definition that places itself and
    // nesting deeper than BlockPath::kMaxDepth end there.
    void Fill(CJwwDoc& doc);

    // Items in the tree's pre-order; the roots are rootItems().
    const std::vector<Item>& items() const { return items_; }
    const std::vector<int>& rootItems() const { return roots_; }

    // Insertions whose definition is missing, and insertions left out
    // because their definition is already on the way down or lies too deep.
    int missingCount() const { return missing_; }
    int refusedCount() const { return refused_; }
    bool truncated() const { return truncated_; }

    // The message the fill has to show once, or empty (UTF-8).
    std::string Message() const;

    // The selection pair for item i: {selectedParentId, selectedItemId}.
    struct Selection {
        int parentId = 0;
        int itemId = 0;
    };
    Selection SelectionOf(int i) const;

    // The image an item shows after "ツリー展開" or "ツリー折たたむ".
    int ImageAfterWalk(int i) const {
        return items_[static_cast<std::size_t>(i)].children.empty() ? kPageImage : kFolderImage;
    }

private:
    struct Walk;
    std::vector<Item> items_;
    std::vector<int> roots_;
    int missing_ = 0;
    int refused_ = 0;
    bool truncated_ = false;
};

}  // namespace tolvani
