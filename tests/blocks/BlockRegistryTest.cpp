#include <gtest/gtest.h>

#include <cstdlib>

#include "blocks/BlockNames.h"
#include "blocks/BlockRegistry.h"

namespace tolvani {
namespace {

void AddDefinition(CJwwDoc& doc, int number, const std::string& name) {
    auto d = std::make_unique<CDataList>();
    d->number = number;
    d->name = JwwString(name);
    doc.AddDefinition(std::move(d));
}

TEST(BlockRegistry, NameRegistration) {
    CJwwDoc doc;
    EXPECT_FALSE(IsBlockNameRegistered(doc, ""));
    EXPECT_FALSE(IsBlockNameRegistered(doc, "T1"));
    AddDefinition(doc, 0, "T1@@SfigorgFlag@@5");
    EXPECT_TRUE(IsBlockNameRegistered(doc, "T1"));
    EXPECT_FALSE(IsBlockNameRegistered(doc, "t1"));
    EXPECT_FALSE(IsBlockNameRegistered(doc, "T"));
    EXPECT_FALSE(IsBlockNameRegistered(doc, ""));
    AddDefinition(doc, 1, "@@SfigorgFlag@@3");
    EXPECT_TRUE(IsBlockNameRegistered(doc, ""));
}

TEST(BlockRegistry, NumbersForNewTableBlocks) {
    struct Case {
        std::vector<int> held;
        int next;
    };
    const Case cases[] = {
        {{}, 0},        {{0, 1, 2}, 3}, {{0, 1, 5}, 3},  // the count is free
        {{0, 3, 5}, 6},                                  // the count is taken: one more than the largest
        {{7, 7}, 2},    {{-4, 1}, 2},   {{2, 1}, 3},
    };
    for (const auto& c : cases) {
        CJwwDoc doc;
        for (int n : c.held) AddDefinition(doc, n, "x");
        EXPECT_EQ(NextBlockNumber(doc), c.next);
    }
    CJwwDoc full;
    AddDefinition(full, 1, "x");
    AddDefinition(full, 2147483647, "y");
    const int32_t n = NextBlockNumber(full);
    EXPECT_EQ(full.FindBlockList(n), nullptr);
}

TEST(BlockRegistry, BeginTableBlockMakesDefinitionAndInsertion) {
    setenv("SOURCE_DATE_EPOCH", "1700000000", 1);
    CJwwDoc doc;
    for (int n : {0, 1, 2}) AddDefinition(doc, n, "d");
    CDataList* def = BeginTableBlock(doc, "T1", 10.5, -20);
    unsetenv("SOURCE_DATE_EPOCH");
    ASSERT_EQ(doc.blockList.size(), 4u);
    EXPECT_EQ(doc.blockList.back().get(), def);
    EXPECT_EQ(def->number, 3);
    EXPECT_EQ(def->referenced, 1u);
    EXPECT_EQ(def->createdTime, 1700000000);
    EXPECT_EQ(def->name.bytes(), "T1@@SfigorgFlag@@5");
    EXPECT_EQ(def->layer, 1);
    EXPECT_EQ(def->layerGroup, 1);
    EXPECT_EQ(def->flag, 16);
    EXPECT_EQ(doc.currentDefinition, def);
    EXPECT_EQ(doc.currentTargetList, &def->elements);
    ASSERT_EQ(doc.mainList.size(), 1u);
    const auto* ins = As<CDataBlock>(doc.mainList[0].get());
    ASSERT_NE(ins, nullptr);
    EXPECT_EQ(ins->ref.x, 10.5);
    EXPECT_EQ(ins->ref.y, -20);
    EXPECT_EQ(ins->definitionNumber, 3);
    EXPECT_EQ(ins->lineType, 1);
    EXPECT_EQ(ins->layer, 1);
    EXPECT_EQ(ins->layerGroup, 0);
    EXPECT_EQ(doc.FindBlockList(3), def);

    AddLineElement(doc, true, 4, 5, 2, 3, 0, 0, 10, 0);
    AddLineElement(doc, false, 6, 7, 1, 1, 0, 0, 0, 10);
    CDataMoji text;
    text.text = JwwString("abc");
    text.fontName = JwwString("\x82\x6c\x82\x72\x81\x40\x83\x53\x83\x56\x83\x62\x83\x4e");
    text.textType = 4;
    text.layer = 9;
    AddTextElement(doc, true, text);
    ASSERT_EQ(def->elements.size(), 2u);
    ASSERT_EQ(doc.mainList.size(), 2u);
    const auto* line = As<CDataSen>(def->elements[0].get());
    EXPECT_EQ(line->layerGroup, 4);
    EXPECT_EQ(line->layer, 5);
    EXPECT_EQ(line->lineType, 2);
    EXPECT_EQ(line->color, 3);
    EXPECT_EQ(line->end.x, 10);
    const auto* copy = As<CDataMoji>(def->elements[1].get());
    EXPECT_EQ(copy->text, text.text);
    EXPECT_EQ(copy->fontName, text.fontName);
    EXPECT_EQ(copy->layer, 9);
    EXPECT_EQ(As<CDataSen>(doc.mainList[1].get())->layerGroup, 6);
}

TEST(BlockRegistry, CreationTimeFollowsSourceDateEpoch) {
    setenv("SOURCE_DATE_EPOCH", "123", 1);
    EXPECT_EQ(BlockCreationTime(), 123);
    setenv("SOURCE_DATE_EPOCH", "12x", 1);
    EXPECT_GT(BlockCreationTime(), 1600000000);
    unsetenv("SOURCE_DATE_EPOCH");
    EXPECT_GT(BlockCreationTime(), 1600000000);
}

TEST(BlockRegistry, DisplayNameFromTheSixteenBitOriginal) {
    JwwString name;
    name.assignWide("caf\x81\xac@@1", u"caf\u00e9@@1");
    EXPECT_EQ(BlockDisplayNameUtf8(name), "caf\xC3\xA9");
    EXPECT_EQ(BlockDisplayNameUtf8(JwwString("\x95\x5c@@5")), "表");
}

}  // namespace
}  // namespace tolvani
