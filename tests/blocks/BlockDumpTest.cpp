#include <gtest/gtest.h>

#include "blocks/BlockDump.h"

namespace tolvani {
namespace {

void Define(CJwwDoc& doc, int number, const std::string& name, std::vector<int> places) {
    auto d = std::make_unique<CDataList>();
    d->number = number;
    d->name = JwwString(name);
    d->elements.push_back(std::make_unique<CDataSen>());
    for (int n : places) {
        auto b = std::make_unique<CDataBlock>();
        b->definitionNumber = n;
        d->elements.push_back(std::move(b));
    }
    doc.AddDefinition(std::move(d));
}

const std::string kDash78 = std::string(78, '-') + "\r\n";
const std::string kDash77 = std::string(77, '-') + "\r\n";
const std::string kDash66 = std::string(66, '-') + "\r\n";

TEST(BlockDump, NestedBoxesComeBeforeTheirContainer) {
    CJwwDoc doc;
    Define(doc, 1, "outer@@SfigorgFlag@@5", {2, 9});
    Define(doc, 2, "inner", {});
    auto ins = std::make_unique<CDataBlock>();
    ins->definitionNumber = 1;
    ins->groupValue = 5;
    ins->lineType = 200;
    ins->color = 65535;
    ins->layer = 3;
    ins->layerGroup = 4;
    ins->flag = 16;
    ins->treeItemId = 1;
    doc.AddElement(std::move(ins));
    doc.AddElement(std::make_unique<CDataSen>());

    const auto boxes = DumpInsertions(doc, doc.mainList, nullptr);
    ASSERT_EQ(boxes.size(), 4u);
    // Definition 2's own (empty) list, then the missing 9, then definition 1's list, then the main list.
    EXPECT_EQ(boxes[0], kDash78 + "<<< リストGO　>>> pInst = 親【 0 】 挿入B【 0 】 呼出B【 2 】\r\n" + kDash77);
    EXPECT_EQ(boxes[1], "定義ブロックが見つかりません！");
    EXPECT_EQ(boxes[2], kDash78 + "<<< リストGO　>>> pInst = 親【 0 】 挿入B【 1 】 呼出B【 1 】\r\n" + kDash77 +
                            "★★★ブロック挿入★★★ inner\r\nG:0 / S:0 / C:0 / W:0/ L:0:0 / F:0\r\n");
    EXPECT_EQ(boxes[3], kDash78 + "<<< リストGO >>>　pInst == NULL\r\n" + kDash77 +
                            "★★★ブロック挿入★★★ outer\r\nG:5 / S:200 / C:65535 / W:0/ L:3:4 / F:16\r\n");
}

TEST(BlockDump, DefinitionsOneBoxEachThenTheirLists) {
    CJwwDoc doc;
    Define(doc, 0, "A@@4", {});
    Define(doc, 7, "@B", {});
    const auto boxes = DumpDefinitions(doc);
    ASSERT_EQ(boxes.size(), 4u);
    EXPECT_EQ(boxes[0], kDash66 + "    ★定義リストスタート★ 【 0 】 A\r\n" + kDash66);
    EXPECT_EQ(boxes[1], kDash78 + "<<< リストGO >>>　pInst == NULL\r\n" + kDash77);
    EXPECT_EQ(boxes[2], kDash66 + "    ★定義リストスタート★ 【 7 】 \r\n" + kDash66);
    EXPECT_TRUE(DumpDefinitions(CJwwDoc()).empty());
}

}  // namespace
}  // namespace tolvani
