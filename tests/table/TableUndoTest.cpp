// Undo of the last table insertion: it removes exactly what the insertion
// added, in every order of events, and nothing once the drawing's content
// was cleared or replaced.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "blocks/BlockRegistry.h"
#include "table/CCsvDoc.h"
#include "table/TableBuilder.h"
#include "tests/support/TestSupport.h"

namespace tolvani {
namespace {

std::unique_ptr<CDataSen> Line(double x) {
    auto l = std::make_unique<CDataSen>();
    l->start = {x, 0};
    l->end = {x, 1};
    l->layer = 1;
    return l;
}

std::vector<const CData*> Snapshot(const ElementList& list) {
    std::vector<const CData*> out;
    for (const auto& e : list) out.push_back(e.get());
    return out;
}

class TableUndoTest : public ::testing::Test {
protected:
    void SetUp() override {
        doc.header.SetNewDrawingDefaults();
        doc.AddElement(Line(-1));
        doc.AddElement(Line(-2));
        doc.CountLayerElements();
    }

    // Inserts a table of 3 rows and 2 columns (3·2 + 3 + 2 + 2 = 13 elements).
    void Insert(bool block, const std::string& name = "T", double x = 10) {
        CCsvDoc table;
        ASSERT_TRUE(table.ReadCsvBytes("a,b\nc,d\ne,f\n").ok());
        options.cellBlock = block;
        options.blockName = name;
        ASSERT_TRUE(IsTableBlockNameFree(doc, options));
        MeasureTable(table, doc, options);
        ASSERT_TRUE(PlaceTable(doc, table, options, x, 20, undo));
    }

    CJwwDoc doc;
    TableOptions options;
    TableUndo undo;
};

TEST_F(TableUndoTest, PlainTableIsRemovedExactly) {
    const auto before = Snapshot(doc.mainList);
    Insert(false);
    EXPECT_EQ(doc.mainList.size(), before.size() + 13);
    ASSERT_TRUE(undo.Available(doc));
    EXPECT_TRUE(undo.Undo(doc));
    EXPECT_EQ(Snapshot(doc.mainList), before);
    EXPECT_EQ(doc.groupElementCount[0], 2);
    EXPECT_FALSE(undo.Available(doc));
    EXPECT_FALSE(undo.Undo(doc));
    EXPECT_EQ(Snapshot(doc.mainList), before);
}

TEST_F(TableUndoTest, IntoAnEmptyDrawing) {
    doc.RemoveElements([](const CData&) { return true; });
    Insert(false);
    EXPECT_TRUE(undo.Undo(doc));
    EXPECT_TRUE(doc.mainList.empty());
    Insert(true);
    EXPECT_TRUE(undo.Undo(doc));
    EXPECT_TRUE(doc.mainList.empty());
    EXPECT_TRUE(doc.blockList.empty());
}

TEST_F(TableUndoTest, ElementsAddedAfterTheTableStay) {
    Insert(false);
    const auto table = Snapshot(doc.mainList);
    doc.AddElement(Line(100));
    doc.AddElement(Line(101));
    const CData* later1 = doc.mainList[doc.mainList.size() - 2].get();
    const CData* later2 = doc.mainList.back().get();
    ASSERT_TRUE(undo.Undo(doc));
    ASSERT_EQ(doc.mainList.size(), 4u);
    EXPECT_EQ(doc.mainList[0].get(), table[0]);
    EXPECT_EQ(doc.mainList[1].get(), table[1]);
    EXPECT_EQ(doc.mainList[2].get(), later1);
    EXPECT_EQ(doc.mainList[3].get(), later2);
}

TEST_F(TableUndoTest, BlockOptionChangedBetweenInsertionAndUndo) {
    // Plain insertion, then the block option is set: the definitions stay.
    AddLineElement(doc, false, 0, 0, 1, 1, 0, 0, 1, 1);
    auto def = std::make_unique<CDataList>();
    def->number = 0;
    def->name = JwwString("keep");
    doc.AddDefinition(std::move(def));
    const auto before = Snapshot(doc.mainList);
    Insert(false);
    options.cellBlock = true;
    ASSERT_TRUE(undo.Undo(doc));
    EXPECT_EQ(Snapshot(doc.mainList), before);
    ASSERT_EQ(doc.blockList.size(), 1u);
    EXPECT_EQ(doc.blockList[0]->name.bytes(), "keep");

    // Block insertion, then the option is cleared and elements follow: only
    // the definition and its insertion go.
    Insert(true, "B");
    doc.AddElement(Line(7));
    options.cellBlock = false;
    ASSERT_TRUE(undo.Undo(doc));
    ASSERT_EQ(doc.mainList.size(), before.size() + 1);
    EXPECT_EQ(As<CDataSen>(doc.mainList.back().get())->start.x, 7);
    ASSERT_EQ(doc.blockList.size(), 1u);
    EXPECT_EQ(doc.blockList[0]->name.bytes(), "keep");
}

TEST_F(TableUndoTest, BlockInsertionFollowedByOtherDefinitionsAndInsertions) {
    Insert(true, "B");
    CDataList* ours = doc.blockList.back().get();
    // Another block arrives after the table, with its own insertion.
    CDataList* theirs = BeginTableBlock(doc, "other", 5, 5);
    AddLineElement(doc, true, 0, 0, 1, 1, 0, 0, 1, 1);
    const CData* theirInsertion = doc.mainList.back().get();
    ASSERT_NE(ours, theirs);
    ASSERT_TRUE(undo.Undo(doc));
    ASSERT_EQ(doc.blockList.size(), 1u);
    EXPECT_EQ(doc.blockList[0].get(), theirs);
    ASSERT_EQ(doc.mainList.size(), 3u);
    EXPECT_EQ(doc.mainList.back().get(), theirInsertion);
    EXPECT_EQ(doc.FindBlockList(theirs->number), theirs);
    // The current definition is still theirs.
    EXPECT_EQ(doc.currentDefinition, theirs);
}

TEST_F(TableUndoTest, UndoOfABlockForgetsItAsTheCurrentDefinition) {
    Insert(true, "B");
    ASSERT_NE(doc.currentDefinition, nullptr);
    ASSERT_TRUE(undo.Undo(doc));
    EXPECT_EQ(doc.currentDefinition, nullptr);
    EXPECT_EQ(doc.currentTargetList, nullptr);
    // A new block of the same number is found, not a stale entry.
    Insert(true, "C");
    const CDataList* c = doc.blockList.back().get();
    const auto* ins = As<CDataBlock>(doc.mainList.back().get());
    ASSERT_NE(ins, nullptr);
    EXPECT_EQ(doc.FindBlockList(ins->definitionNumber), c);
    EXPECT_EQ(doc.groupElementCount[0], 2 + 13);
}

TEST_F(TableUndoTest, OnlyTheLastInsertionIsUndone) {
    Insert(false, "", 10);
    const auto afterFirst = Snapshot(doc.mainList);
    Insert(true, "B", 50);
    ASSERT_TRUE(undo.Undo(doc));
    EXPECT_EQ(Snapshot(doc.mainList), afterFirst);
    EXPECT_TRUE(doc.blockList.empty());
    EXPECT_FALSE(undo.Undo(doc));
    EXPECT_EQ(Snapshot(doc.mainList), afterFirst);
}

TEST_F(TableUndoTest, ClearingOrLoadingTheDrawingDropsTheRecord) {
    for (bool block : {false, true}) {
        SCOPED_TRACE(block);
        Insert(block, "B");
        // The same content loaded again, quite likely into the same memory.
        const test::Bytes saved = test::SaveToBytes(doc);
        doc.Clear();
        EXPECT_FALSE(undo.Available(doc));
        ASSERT_EQ(test::LoadFromBytes(doc, saved), CJwwDoc::LoadResult::Loaded);
        const auto loaded = Snapshot(doc.mainList);
        const std::size_t defs = doc.blockList.size();
        EXPECT_FALSE(undo.Available(doc));
        EXPECT_FALSE(undo.Undo(doc));
        EXPECT_EQ(Snapshot(doc.mainList), loaded);
        EXPECT_EQ(doc.blockList.size(), defs);
    }
    // Loading without a clear first also drops it.
    Insert(false);
    const test::Bytes saved = test::SaveToBytes(doc);
    ASSERT_EQ(test::LoadFromBytes(doc, saved), CJwwDoc::LoadResult::Loaded);
    const std::size_t count = doc.mainList.size();
    EXPECT_FALSE(undo.Undo(doc));
    EXPECT_EQ(doc.mainList.size(), count);
}

TEST_F(TableUndoTest, RecordBelongsToItsDrawing) {
    Insert(false);
    CJwwDoc other;
    other.header.SetNewDrawingDefaults();
    other.AddElement(Line(3));
    EXPECT_FALSE(undo.Available(other));
    EXPECT_FALSE(undo.Undo(other));
    EXPECT_EQ(other.mainList.size(), 1u);
    EXPECT_TRUE(undo.Undo(doc));
}

TEST_F(TableUndoTest, NothingIsRemovedWhenARecordedElementIsGone) {
    Insert(false);
    const CData* fifth = doc.mainList[5].get();
    doc.RemoveElements([&](const CData& e) { return &e == fifth; });  // removed by other means
    const auto now = Snapshot(doc.mainList);
    EXPECT_FALSE(undo.Undo(doc));
    EXPECT_EQ(Snapshot(doc.mainList), now);

    Insert(true, "B");
    doc.RemoveDefinition(doc.blockList.back().get());
    const auto withInsertion = Snapshot(doc.mainList);
    EXPECT_FALSE(undo.Undo(doc));
    EXPECT_EQ(Snapshot(doc.mainList), withInsertion);
}

}  // namespace
}  // namespace tolvani
