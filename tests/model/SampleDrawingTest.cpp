// Real drawings saved by Jw_cad: they load completely, and a save changes
// only what a save is meant to change.
#include <gtest/gtest.h>

#include "model/CJwwDoc.h"
#include "model/JwwFile.h"
#include "model/JwwStream.h"
#include "tests/support/TestSupport.h"

namespace tolvani {
namespace {

using test::Bytes;

void ExpectSameElement(const CData& a, const CData& b, const std::string& where) {
    ASSERT_EQ(a.Kind(), b.Kind()) << where;
    EXPECT_EQ(a.layer, b.layer) << where;
    EXPECT_EQ(a.layerGroup, b.layerGroup) << where;
    EXPECT_EQ(a.color, b.color) << where;
    EXPECT_EQ(a.flag, b.flag) << where;
    if (const auto* t = As<CDataMoji>(&a)) {
        const auto* u = As<CDataMoji>(&b);
        EXPECT_EQ(t->text, u->text) << where;
        EXPECT_EQ(t->fontName, u->fontName) << where;
        EXPECT_EQ(t->StoredTypeValue(), u->StoredTypeValue()) << where;
        EXPECT_EQ(t->start.x, u->start.x) << where;
    }
    if (const auto* p = As<CDataTen>(&a)) {
        const auto* q = As<CDataTen>(&b);
        EXPECT_EQ(p->pointCode, q->pointCode) << where;
        if (p->pointCode != 0) {
            EXPECT_EQ(p->angle, q->angle) << where;
            EXPECT_EQ(p->scale, q->scale) << where;
        }
    }
    if (const auto* l = As<CDataSen>(&a)) {
        EXPECT_EQ(l->start.x, As<CDataSen>(&b)->start.x) << where;
        EXPECT_EQ(l->end.y, As<CDataSen>(&b)->end.y) << where;
    }
}

TEST(SampleDrawings, LoadCompletelyAndSurviveASave) {
    const auto paths = test::SamplePaths();
    if (paths.empty()) GTEST_SKIP() << "sample drawings not present";
    for (const auto& path : paths) {
        SCOPED_TRACE(path);
        const Bytes file = test::ReadFileBytes(path);
        CJwwDoc doc;
        ASSERT_EQ(test::LoadFromBytes(doc, file), CJwwDoc::LoadResult::Loaded);
        EXPECT_TRUE(doc.trailingBytes.empty());  // nothing left over
        EXPECT_GE(doc.header.version, 600u);

        const Bytes saved = test::SaveToBytes(doc);
        CJwwDoc back;
        ASSERT_EQ(test::LoadFromBytes(back, saved), CJwwDoc::LoadResult::Loaded);
        ASSERT_EQ(back.mainList.size(), doc.mainList.size());
        for (std::size_t i = 0; i < doc.mainList.size(); ++i)
            ExpectSameElement(*doc.mainList[i], *back.mainList[i], "main " + std::to_string(i));
        ASSERT_EQ(back.blockList.size(), doc.blockList.size());
        for (std::size_t d = 0; d < doc.blockList.size(); ++d) {
            EXPECT_EQ(back.blockList[d]->number, doc.blockList[d]->number);
            EXPECT_EQ(back.blockList[d]->name, doc.blockList[d]->name);
            EXPECT_EQ(back.blockList[d]->createdTime, doc.blockList[d]->createdTime);
            ASSERT_EQ(back.blockList[d]->elements.size(), doc.blockList[d]->elements.size());
        }
        EXPECT_EQ(back.header.memo, doc.header.memo);
        for (int g = 0; g < kLayerGroups; ++g) {
            EXPECT_EQ(back.header.groups[g].name, doc.header.groups[g].name);
            for (int l = 0; l < kLayers; ++l)
                EXPECT_EQ(back.header.groups[g].layerName[l], doc.header.groups[g].layerName[l]);
        }
        for (int i = 100; i < kColorEntries; ++i) EXPECT_EQ(back.header.colorName[i], doc.header.colorName[i]);
        for (int i = 30; i < kLineTypeEntries; ++i) EXPECT_EQ(back.header.lineName[i], doc.header.lineName[i]);
        for (int g = 0; g < kLayerGroups; ++g)
            for (int l = 0; l < kLayers; ++l) EXPECT_EQ(back.layerElementCount[g][l], doc.layerElementCount[g][l]);

        // A second save differs from the first only in header row 36.
        const Bytes again = test::SaveToBytes(back);
        ASSERT_EQ(again.size(), saved.size());
        int diff = 0;
        for (std::size_t i = 0; i < saved.size(); ++i) diff += saved[i] != again[i];
        EXPECT_EQ(diff, 1);
    }
}

TEST(SampleDrawings, VersionSixHundredFilesKeepTheirSizeOnASave) {
    // These files store 8-bit strings and no definitions, so the bytes a
    // save rewrites are values of the same width.
    const auto paths = test::SamplePaths();
    if (paths.empty()) GTEST_SKIP() << "sample drawings not present";
    for (const auto& path : paths) {
        const Bytes file = test::ReadFileBytes(path);
        CJwwDoc doc;
        ASSERT_EQ(test::LoadFromBytes(doc, file), CJwwDoc::LoadResult::Loaded);
        if (doc.header.version != 600 || !doc.blockList.empty()) continue;
        EXPECT_EQ(test::SaveToBytes(doc).size(), file.size()) << path;
    }
}

TEST(SampleDrawings, BlockDrawingsHoldTheirDefinitions) {
    const std::string dir = test::SamplesDir();
    if (dir.empty()) GTEST_SKIP() << "sample drawings not present";
    const LoadOutcome loaded = LoadDrawingFile(dir + "/2blocks.jww");
    ASSERT_TRUE(loaded.ok());
    const CJwwDoc& doc = *loaded.doc;
    ASSERT_EQ(doc.blockList.size(), 2u);
    EXPECT_EQ(doc.blockList[0]->name.bytes(), "2lines@@SfigorgFlag@@4");
    EXPECT_EQ(doc.blockList[0]->createdTime, 1787105042);  // stored in the 4-byte form
    int insertions = 0;
    for (const auto& e : doc.mainList) {
        if (const auto* b = As<CDataBlock>(e.get())) {
            ++insertions;
            EXPECT_NE(doc.FindBlockList(b->definitionNumber), nullptr);
        }
    }
    EXPECT_EQ(insertions, 2);
}

}  // namespace
}  // namespace tolvani
