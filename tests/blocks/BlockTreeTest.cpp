#include <gtest/gtest.h>

#include <functional>
#include <set>

#include "blocks/BlockTree.h"
#include "blocks/InsertionContext.h"

namespace tolvani {
namespace {

CDataList& Define(CJwwDoc& doc, int number, const std::string& name, uint32_t referenced = 1) {
    auto d = std::make_unique<CDataList>();
    d->number = number;
    d->name = JwwString(name);
    d->referenced = referenced;
    doc.AddDefinition(std::move(d));
    return *doc.blockList.back();
}

CDataBlock& Place(ElementList& list, int definition) {
    auto ins = std::make_unique<CDataBlock>();
    ins->definitionNumber = definition;
    list.push_back(std::move(ins));
    return static_cast<CDataBlock&>(*list.back());
}

CDataBlock& Place(CJwwDoc& doc, int definition) {
    auto ins = std::make_unique<CDataBlock>();
    ins->definitionNumber = definition;
    return static_cast<CDataBlock&>(*doc.AddElement(std::move(ins)));
}

TEST(BlockList, OneRowPerDefinitionInListOrder) {
    CJwwDoc doc;
    EXPECT_TRUE(FillBlockListView(doc).empty());
    Define(doc, 7, "T1@@SfigorgFlag@@5");
    Define(doc, -2, "\x95\x94\x95\x69@@4", 0);  // 部品
    Define(doc, 0, "plain");
    Define(doc, 12, "@x@3");
    const auto rows = FillBlockListView(doc);
    ASSERT_EQ(rows.size(), 4u);
    const BlockListRow expected[] = {
        {"[ 7 ]", "T1", "表", "参照済"},
        {"[ -2 ]", "部品", "作図部品", "未参照"},
        {"[ 0 ]", "plain", "未定義", "参照済"},
        {"[ 12 ]", "", "作図グループ", "参照済"},
    };
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(rows[i].number, expected[i].number);
        EXPECT_EQ(rows[i].name, expected[i].name);
        EXPECT_EQ(rows[i].kind, expected[i].kind);
        EXPECT_EQ(rows[i].referenced, expected[i].referenced);
    }
}

TEST(BlockTree, EmptyDrawingGivesAnEmptyTree) {
    CJwwDoc doc;
    BlockTree tree;
    tree.Fill(doc);
    EXPECT_TRUE(tree.items().empty());
    EXPECT_TRUE(tree.Message().empty());
    EXPECT_EQ(doc.treeIdCounter, 1);
}

TEST(BlockTree, ADefinitionPlacedThreeTimesGivesThreeNumberedRoots) {
    CJwwDoc doc;
    Define(doc, 4, "door@@4");
    for (int i = 0; i < 3; ++i) Place(doc, 4);
    BlockTree tree;
    tree.Fill(doc);
    ASSERT_EQ(tree.rootItems().size(), 3u);
    for (int i = 0; i < 3; ++i) {
        const auto& item = tree.items()[tree.rootItems()[i]];
        EXPECT_EQ(item.text, "door");
        EXPECT_EQ(item.data, i + 1);
        EXPECT_EQ(tree.ImageAfterWalk(tree.rootItems()[i]), kPageImage);
        const auto& ins = static_cast<const CDataBlock&>(*doc.mainList[i]);
        EXPECT_EQ(ins.treeParentId, 0);
        EXPECT_EQ(ins.treeItemId, i + 1);
    }
    // A second fill numbers the same way.
    tree.Fill(doc);
    EXPECT_EQ(tree.items()[tree.rootItems()[2]].data, 3);
}

// Main list: A (definition 0), a line, B (definition 0). Definition 0 places
// definition 1, which places definition 2 twice.
void TwoLevels(CJwwDoc& doc) {
    auto& d0 = Define(doc, 0, "outer");
    auto& d1 = Define(doc, 1, "middle");
    Define(doc, 2, "inner");
    Place(d0.elements, 1);
    Place(d1.elements, 2);
    Place(d1.elements, 2);
    Place(doc, 0);
    doc.AddElement(std::make_unique<CDataSen>());
    Place(doc, 0);
}

TEST(BlockTree, NestedInsertionsGoUnderTheItemThatEnclosesThem) {
    CJwwDoc doc;
    TwoLevels(doc);
    BlockTree tree;
    tree.Fill(doc);
    // A is 1; its nested items take 2, 3, 4 from the counter; B is 5.
    ASSERT_EQ(tree.rootItems().size(), 2u);
    const auto& items = tree.items();
    ASSERT_EQ(items.size(), 8u);
    const int roots[] = {1, 5};
    for (int r = 0; r < 2; ++r) {
        const auto& root = items[tree.rootItems()[r]];
        EXPECT_EQ(root.data, roots[r]);
        EXPECT_EQ(root.text, "outer");
        // Both roots hold the same shape: each a middle with two inners,
        // B's inners under B's middle (not under A's, where an item with
        // the same data came first).
        ASSERT_EQ(root.children.size(), 1u);
        const auto& middle = items[root.children[0]];
        EXPECT_EQ(middle.text, "middle");
        EXPECT_EQ(middle.data, 1);
        EXPECT_EQ(middle.depth, 1);
        ASSERT_EQ(middle.children.size(), 2u);
        for (int c : middle.children) {
            EXPECT_EQ(items[c].text, "inner");
            EXPECT_EQ(items[c].data, 2);
            EXPECT_EQ(items[c].parent, root.children[0]);
            EXPECT_EQ(tree.ImageAfterWalk(c), kPageImage);
        }
        EXPECT_EQ(tree.ImageAfterWalk(tree.rootItems()[r]), kFolderImage);
    }
    // Pre-order: each parent before its children.
    for (std::size_t i = 0; i < items.size(); ++i) EXPECT_LT(items[i].parent, static_cast<int>(i));
    EXPECT_EQ(doc.treeIdCounter, 9);

    // The fields written into the insertions: the last visit stands.
    const auto& nested = static_cast<const CDataBlock&>(*doc.blockList[1]->elements[0]);
    EXPECT_EQ(nested.treeParentId, 1);  // the middle item's data
    EXPECT_EQ(nested.treeItemId, 2);
    const auto& middleIns = static_cast<const CDataBlock&>(*doc.blockList[0]->elements[0]);
    EXPECT_EQ(middleIns.treeParentId, 5);
    EXPECT_EQ(middleIns.treeItemId, 1);
}

// Which insertions of the drawing the current selection highlights, as
// "parent/own" descriptions of the drawing walk.
std::multiset<std::string> Highlighted(const CJwwDoc& doc) {
    std::multiset<std::string> out;
    std::function<void(const ElementList&, const InsertionContext*, const std::string&)> walk =
        [&](const ElementList& list, const InsertionContext* parent, const std::string& where) {
            for (const auto& e : list) {
                const auto* ins = As<CDataBlock>(e.get());
                if (!ins) continue;
                const InsertionContext c = ComposeInsertion(doc, parent, *ins);
                const std::string here = where + "/" + std::to_string(ins->definitionNumber);
                if (c.highlighted) out.insert(here);
                if (const CDataList* d = doc.FindBlockList(ins->definitionNumber)) walk(d->elements, &c, here);
            }
        };
    walk(doc.mainList, nullptr, "");
    return out;
}

TEST(BlockTree, SelectionPairsHighlightTheChosenInsertion) {
    CJwwDoc doc;
    TwoLevels(doc);
    BlockTree tree;
    tree.Fill(doc);
    const auto& items = tree.items();
    // The second root (B): only B and everything drawn through it.
    const int b = tree.rootItems()[1];
    auto sel = tree.SelectionOf(b);
    EXPECT_EQ(sel.parentId, 0);
    EXPECT_EQ(sel.itemId, 5);
    doc.selectedParentId = sel.parentId;
    doc.selectedItemId = sel.itemId;
    // The walk sees A's path first; the path strings are the same for both
    // roots, so count them.
    auto lit = Highlighted(doc);
    EXPECT_EQ(lit.size(), 4u);  // B, its middle and two inners
    EXPECT_EQ(lit.count("/0"), 1u);

    // An inner item under a middle: parent data 1, own data 2 — the inner
    // insertions of every middle definition, under both roots.
    const int inner = items[items[tree.rootItems()[0]].children[0]].children[1];
    sel = tree.SelectionOf(inner);
    EXPECT_EQ(sel.parentId, 1);
    EXPECT_EQ(sel.itemId, 2);
    doc.selectedParentId = sel.parentId;
    doc.selectedItemId = sel.itemId;
    lit = Highlighted(doc);
    EXPECT_EQ(lit.size(), 4u);
    EXPECT_EQ(lit.count("/0/1/2"), 4u);

    // Cleared: nothing.
    doc.selectedParentId = doc.selectedItemId = 0;
    EXPECT_TRUE(Highlighted(doc).empty());
}

TEST(BlockTree, MissingDefinitionsAreCountedAndSaidOnce) {
    CJwwDoc doc;
    auto& d0 = Define(doc, 0, "a");
    Place(d0.elements, 99);
    Place(doc, 98);
    Place(doc, 0);
    Place(doc, 97);
    BlockTree tree;
    tree.Fill(doc);
    ASSERT_EQ(tree.items().size(), 1u);
    // A broken insertion takes no number of its own: the next one shares it.
    EXPECT_EQ(tree.items()[0].data, 1);
    EXPECT_EQ(tree.missingCount(), 3);
    EXPECT_EQ(tree.refusedCount(), 0);
    EXPECT_EQ(tree.Message(), "リストが見つかりません（3 件）");
    // Even broken insertions carry their identifiers.
    EXPECT_EQ(static_cast<const CDataBlock&>(*doc.mainList[0]).treeItemId, 1);
    EXPECT_EQ(static_cast<const CDataBlock&>(*doc.mainList[2]).treeItemId, 2);
    EXPECT_EQ(static_cast<const CDataBlock&>(*d0.elements[0]).treeParentId, 1);
    EXPECT_EQ(static_cast<const CDataBlock&>(*d0.elements[0]).treeItemId, 99);
}

TEST(BlockTree, SelfPlacingAndVeryDeepDefinitionsEndTheWalk) {
    {
        CJwwDoc doc;
        auto& d = Define(doc, 0, "self");
        Place(d.elements, 0);
        Place(doc, 0);
        BlockTree tree;
        tree.Fill(doc);
        EXPECT_EQ(tree.items().size(), 1u);
        EXPECT_EQ(tree.refusedCount(), 1);
        EXPECT_NE(tree.Message().find("自分自身"), std::string::npos);
    }
    {
        // 50,000 definitions, each placing the next.
        CJwwDoc doc;
        for (int i = 0; i < 50000; ++i) Place(Define(doc, i, "c" + std::to_string(i)).elements, i + 1);
        Place(doc, 0);
        BlockTree tree;
        tree.Fill(doc);
        ASSERT_EQ(tree.items().size(), static_cast<std::size_t>(BlockPath::kMaxDepth));
        EXPECT_EQ(tree.items().back().depth, BlockPath::kMaxDepth - 1);
        EXPECT_EQ(tree.items().back().text, "c999");
        EXPECT_EQ(tree.refusedCount(), 1);
        EXPECT_EQ(tree.missingCount(), 0);
    }
}

TEST(BlockTree, DefinitionsPlacingEachOtherManyTimesOverStopAtTheLimit) {
    // Each of 40 definitions places the next twice: 2^40 paths.
    CJwwDoc doc;
    for (int i = 0; i < 40; ++i) {
        auto& d = Define(doc, i, "w");
        Place(d.elements, i + 1);
        Place(d.elements, i + 1);
    }
    Place(doc, 0);
    Place(doc, 0);
    BlockTree tree;
    tree.Fill(doc);
    EXPECT_TRUE(tree.truncated());
    EXPECT_EQ(tree.items().size(), static_cast<std::size_t>(BlockTree::kItemLimit));
    EXPECT_EQ(tree.rootItems().size(), 1u);  // the second root is past the limit
    EXPECT_NE(tree.Message().find("省略"), std::string::npos);
}

}  // namespace
}  // namespace tolvani
