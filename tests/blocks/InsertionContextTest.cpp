#include <gtest/gtest.h>

#include <cmath>

#include "blocks/InsertionContext.h"

namespace tolvani {
namespace {

constexpr double kPi = 3.14159265358979323846;

CDataBlock Insertion(double x, double y, double sx, double sy, double angle, int def) {
    CDataBlock b;
    b.ref = {x, y};
    b.scaleX = sx;
    b.scaleY = sy;
    b.angle = angle;
    b.definitionNumber = def;
    return b;
}

TEST(InsertionContext, MapsByScaleThenRotationThenTranslation) {
    CJwwDoc doc;
    const auto c = ComposeInsertion(doc, nullptr, Insertion(10, 20, 2, 3, kPi / 2, 0));
    const JwwPoint p = MapThroughInsertion(c, 1, 1);
    EXPECT_NEAR(p.x, 10 - 3, 1e-12);
    EXPECT_NEAR(p.y, 20 + 2, 1e-12);
}

TEST(InsertionContext, NestedComposition) {
    CJwwDoc doc;
    const auto parent = ComposeInsertion(doc, nullptr, Insertion(100, 0, 2, 2, 0.5, 0));
    const auto child = ComposeInsertion(doc, &parent, Insertion(10, 0, 3, 1, 0.25, 1));
    EXPECT_DOUBLE_EQ(child.scaleX, 6);
    EXPECT_DOUBLE_EQ(child.scaleY, 2);
    EXPECT_DOUBLE_EQ(child.angle, 0.75);
    EXPECT_NEAR(child.refX, 100 + 20 * std::cos(0.5), 1e-12);
    EXPECT_NEAR(child.refY, 20 * std::sin(0.5), 1e-12);

    // Under a mirrored parent, nested angles turn the other way.
    const auto mirrored = ComposeInsertion(doc, nullptr, Insertion(0, 0, -1, 1, 0.5, 0));
    const auto inner = ComposeInsertion(doc, &mirrored, Insertion(0, 0, 1, 1, 0.25, 1));
    EXPECT_DOUBLE_EQ(inner.angle, 0.25);
    EXPECT_DOUBLE_EQ(inner.scaleX, -1);
    const auto deeper = ComposeInsertion(doc, &inner, Insertion(0, 0, 1, 1, 0.1, 2));
    EXPECT_DOUBLE_EQ(deeper.angle, 0.15);
}

TEST(InsertionContext, HighlightRules) {
    CJwwDoc doc;
    CDataBlock top = Insertion(0, 0, 1, 1, 0, 4);
    // Never through a tree fill: item id 0, never highlighted.
    doc.selectedItemId = 0;
    EXPECT_FALSE(ComposeInsertion(doc, nullptr, top).highlighted);
    top.treeItemId = 3;
    doc.selectedItemId = 3;
    EXPECT_TRUE(ComposeInsertion(doc, nullptr, top).highlighted);
    doc.selectedParentId = 1;
    EXPECT_FALSE(ComposeInsertion(doc, nullptr, top).highlighted);

    // Nested: parent item 3 selected as parent, definition 8 as item.
    doc.selectedParentId = 3;
    doc.selectedItemId = 8;
    const auto parent = ComposeInsertion(doc, nullptr, top);
    EXPECT_FALSE(parent.highlighted);
    EXPECT_TRUE(ComposeInsertion(doc, &parent, Insertion(0, 0, 1, 1, 0, 8)).highlighted);
    EXPECT_FALSE(ComposeInsertion(doc, &parent, Insertion(0, 0, 1, 1, 0, 9)).highlighted);
    // A highlighted context passes the highlight down.
    auto lit = parent;
    lit.highlighted = true;
    EXPECT_TRUE(ComposeInsertion(doc, &lit, Insertion(0, 0, 1, 1, 0, 9)).highlighted);

    // Nothing selected: nothing highlighted, even where ids are 0.
    doc.selectedParentId = 0;
    doc.selectedItemId = 0;
    CDataBlock untouched = Insertion(0, 0, 1, 1, 0, 0);
    const auto p0 = ComposeInsertion(doc, nullptr, untouched);
    EXPECT_FALSE(ComposeInsertion(doc, &p0, Insertion(0, 0, 1, 1, 0, 0)).highlighted);
}

TEST(BlockPath, RefusesCyclesAndDepth) {
    std::vector<CDataList> defs(BlockPath::kMaxDepth + 1);
    BlockPath path;
    for (int i = 0; i < BlockPath::kMaxDepth; ++i) ASSERT_TRUE(path.Enter(&defs[static_cast<std::size_t>(i)]));
    EXPECT_FALSE(path.Enter(&defs.back()));
    path.Leave();
    EXPECT_FALSE(path.Enter(&defs[0]));  // already on the path
    EXPECT_TRUE(path.Enter(&defs.back()));
    BlockPath fresh;
    {
        BlockPath::Scope a(fresh, &defs[0]);
        EXPECT_TRUE(a.entered());
        BlockPath::Scope b(fresh, &defs[0]);
        EXPECT_FALSE(b.entered());
        BlockPath::Scope none(fresh, nullptr);
        EXPECT_FALSE(none.entered());
    }
    EXPECT_EQ(fresh.Depth(), 0);
}

}  // namespace
}  // namespace tolvani
