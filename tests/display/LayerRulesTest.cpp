#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "display/LayerRules.h"
#include "tests/display/DisplayTestSupport.h"

namespace tolvani::display {
namespace {

using test::NewDoc;

TEST(LayerRules, ScaleTextUsesTheTwoFormsAndNeverDividesByNothing) {
    const double inf = std::numeric_limits<double>::infinity();
    const struct {
        double scale;
        const char* text;
    } cases[] = {
        {100, "  1  /  100"},
        {1, "  1  /    1"},
        {1.5, "  1  /    2"},
        {0.5, "  2   /   1"},
        {0.4, "  3   /   1"},  // 2.5 rounds away from zero
        {0.25, "  4   /   1"},
        {0.001, "1000   /   1"},
        // Values that cannot be divided by keep the first form.
        {0, "  1  /    0"},
        {-3, "  1  /   -3"},
        {inf, "  1  /  inf"},
        {-inf, "  1  / -inf"},
        {std::nan(""), "  1  /  nan"},
        {1e-300, "  1  /    0"},
    };
    for (const auto& c : cases) EXPECT_EQ(LayerRules::ScaleText(c.scale), c.text) << c.scale;
}

TEST(LayerRules, StateWordsAndTheCycle) {
    const struct {
        uint32_t state;
        const char* word;
        uint32_t next;
    } cases[] = {
        {0, "非表示", 1}, {1, "表示", 2}, {2, "編集", 0}, {4, "4", 0}, {4000000000u, "4000000000", 0},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(LayerRules::StateText(c.state), c.word);
        EXPECT_EQ(LayerRules::NextState(c.state), c.next) << c.state;
    }
    EXPECT_EQ(LayerRules::StateText(3), "書込");
}

TEST(LayerRules, RowTextsFollowTheDrawing) {
    auto doc = NewDoc();
    doc->header.groups[10].name = JwwString("\x95\xbd\x96\xca");  // 平面 in code page 932
    doc->header.groups[10].layerName[11] = JwwString("wall");
    doc->header.groups[10].scale = 50;
    doc->header.writeLayerGroup = 10;
    doc->groupElementCount[10] = 1234567;
    doc->layerElementCount[10][11] = 42;
    LayerRules r;
    r.CopyIn(*doc);
    EXPECT_EQ(r.currentGroup(), 10);
    EXPECT_EQ(r.GroupNameText(10), "[A]平面");
    EXPECT_EQ(r.GroupNameText(0), "[0]");
    EXPECT_EQ(r.GroupStateText(10), "編集");  // the defaults: group 0 is the write group
    EXPECT_EQ(r.GroupScaleText(10), "  1  /   50");
    EXPECT_EQ(r.GroupCountText(10), "1234567");
    EXPECT_EQ(r.GroupCountText(3), "     0");
    EXPECT_EQ(r.LayerNameText(11), "[B]wall");
    EXPECT_EQ(r.LayerCountText(11), "    42");
    EXPECT_EQ(r.LayerStateText(15), "書込");
}

TEST(LayerRules, ClicksOnTheStateColumnCycleAllButTheWriteState) {
    auto doc = NewDoc();
    LayerRules r;
    r.CopyIn(*doc);
    // Group 4 is editable (2): a click on column 1 cycles it to 0 and shows its layers.
    EXPECT_EQ(r.ClickGroup(4, 1), LayerRules::kRefillGroups | LayerRules::kRefillLayers);
    EXPECT_EQ(r.groupState(4), 0u);
    EXPECT_EQ(r.currentGroup(), 4);
    r.ClickGroup(4, 1);
    r.ClickGroup(4, 1);
    EXPECT_EQ(r.groupState(4), 2u);
    // Other columns only choose the group.
    EXPECT_EQ(r.ClickGroup(6, 0), LayerRules::kRefillLayers);
    EXPECT_EQ(r.ClickGroup(6, 2), LayerRules::kRefillLayers);
    EXPECT_EQ(r.groupState(6), 2u);
    EXPECT_EQ(r.currentGroup(), 6);
    // The write group (0) does not change.
    r.ClickGroup(0, 1);
    EXPECT_EQ(r.groupState(0), 3u);
    // Outside the rows nothing happens.
    EXPECT_EQ(r.ClickGroup(16, 1), LayerRules::kRefillNone);
    EXPECT_EQ(r.ClickGroup(-1, 1), LayerRules::kRefillNone);
    EXPECT_EQ(r.currentGroup(), 0);

    // Layers of the current group.
    EXPECT_EQ(r.ClickLayer(3, 1), LayerRules::kRefillLayers);
    EXPECT_EQ(r.layerState(0, 3), 0u);
    EXPECT_EQ(r.layerState(1, 3), 2u);                        // other groups untouched
    EXPECT_EQ(r.ClickLayer(15, 1), LayerRules::kRefillNone);  // the write layer
    EXPECT_EQ(r.layerState(0, 15), 3u);
    EXPECT_EQ(r.ClickLayer(7, 0), LayerRules::kRefillNone);
    EXPECT_EQ(r.currentLayer(), 7);
    EXPECT_EQ(r.ClickLayer(99, 1), LayerRules::kRefillNone);
    EXPECT_EQ(r.currentLayer(), 7);
}

TEST(LayerRules, StatesOutsideTheRangeShowTheirNumberAndCycleToHidden) {
    auto doc = NewDoc();
    doc->header.groups[2].state = 9;
    doc->header.groups[0].layerState[4] = 7;
    LayerRules r;
    r.CopyIn(*doc);
    EXPECT_EQ(r.GroupStateText(2), "9");
    EXPECT_EQ(r.LayerStateText(4), "7");
    r.ClickGroup(2, 1);
    EXPECT_EQ(r.groupState(2), 0u);
    r.ClickGroup(0, 0);
    r.ClickLayer(4, 1);
    EXPECT_EQ(r.layerState(0, 4), 0u);
}

TEST(LayerRules, AllGroupsHidesThenShowsThenMakesEditableAndSparesTheWriteGroup) {
    auto doc = NewDoc();
    LayerRules r;
    r.CopyIn(*doc);
    for (uint32_t expected : {0u, 1u, 2u, 0u}) {
        EXPECT_EQ(r.AllGroups(), LayerRules::kRefillGroups);
        for (int g = 1; g < kLayerGroups; ++g) EXPECT_EQ(r.groupState(g), expected) << g;
        EXPECT_EQ(r.groupState(0), 3u);
    }
    // All layers of the current group, the same way.
    r.ClickGroup(5, 0);
    EXPECT_EQ(r.AllLayers(), LayerRules::kRefillLayers);
    for (int l = 0; l < 15; ++l) EXPECT_EQ(r.layerState(5, l), 0u);
    EXPECT_EQ(r.layerState(5, 15), 3u);
    EXPECT_EQ(r.layerState(6, 0), 2u);
    r.AllLayers();
    EXPECT_EQ(r.layerState(5, 0), 1u);
}

TEST(LayerRules, WriteLayerOkWritesTheGroupAndLayerAndCancelLeavesTheDrawing) {
    auto doc = NewDoc();
    LayerRules r;
    r.CopyIn(*doc);
    r.ClickGroup(5, 0);
    r.ClickLayer(2, 0);
    EXPECT_EQ(r.WriteLayer(), LayerRules::kRefillGroups | LayerRules::kRefillLayers);
    EXPECT_EQ(r.writeLayerGroup(), 5u);

    // Cancel: the drawing is as it was.
    EXPECT_EQ(doc->header.writeLayerGroup, 0u);
    EXPECT_EQ(doc->header.groups[5].state, 2u);
    EXPECT_EQ(doc->header.groups[5].layerState[2], 2u);

    // OK.
    EXPECT_TRUE(r.CopyOut(*doc));
    const CJwwHeader& h = doc->header;
    EXPECT_EQ(h.writeLayerGroup, 5u);
    EXPECT_EQ(h.groups[5].state, 3u);
    EXPECT_EQ(h.groups[0].state, 2u);  // the old write group
    EXPECT_EQ(h.groups[5].layerState[2], 3u);
    EXPECT_EQ(h.groups[5].layerState[15], 2u);  // the group's old write layer
    EXPECT_EQ(h.groups[5].writeLayer, 2u);
    // Other groups keep their own write layers.
    EXPECT_EQ(h.groups[0].layerState[15], 3u);
    EXPECT_EQ(h.groups[0].writeLayer, 15u);

    // A second OK without a change changes nothing.
    r.CopyIn(*doc);
    EXPECT_FALSE(r.CopyOut(*doc));
}

TEST(LayerRules, OnlyTheCurrentGroupIsResetAtEachOpening) {
    auto doc = NewDoc();
    doc->header.writeLayerGroup = 3;
    LayerRules r;
    r.CopyIn(*doc);
    r.ClickGroup(8, 0);
    r.ClickLayer(9, 0);
    r.AllGroups();
    r.AllLayers();
    r.AllLayers();
    r.CopyIn(*doc);  // the next opening
    EXPECT_EQ(r.currentGroup(), 3);
    EXPECT_EQ(r.currentLayer(), 9);
    EXPECT_EQ(r.nextGroupState(), 1u);
    EXPECT_EQ(r.nextLayerState(), 2u);
    // The copies are taken anew: nothing of the cancelled changes is left.
    EXPECT_EQ(r.groupState(8), 2u);

    // A write layer group outside 0..15 opens on group 0.
    doc->header.writeLayerGroup = 40;
    r.CopyIn(*doc);
    EXPECT_EQ(r.currentGroup(), 0);
    EXPECT_FALSE(r.CopyOut(*doc));
    EXPECT_EQ(doc->header.writeLayerGroup, 40u);
}

}  // namespace
}  // namespace tolvani::display
