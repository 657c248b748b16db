// Whole drawings: layout, load and save rules, counts and lookups.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "model/CJwwDoc.h"
#include "model/JwwFile.h"
#include "model/JwwStream.h"
#include "tests/support/TestSupport.h"

namespace tolvani {
namespace {

using test::Bytes;
using test::ByteWriter;

Bytes HeaderWithVersion(uint32_t version, const char* signature = "JwwData.") {
    Bytes h = test::NewDrawingHeaderBytes();
    std::memcpy(h.data(), signature, 8);
    std::memcpy(h.data() + 8, &version, 4);
    return h;
}

TEST(Drawing, EmptyDrawingSavesHeaderAndTwoEmptyLists) {
    for (uint32_t version : {600u, 700u}) {
        CJwwDoc doc;
        doc.header.SetNewDrawingDefaults();
        doc.header.version = version;
        const Bytes bytes = test::SaveToBytes(doc);
        ByteWriter expected;
        expected.append(HeaderWithVersion(version)).u16(0).u16(0);
        if (version >= 700) expected.u32(0);
        EXPECT_EQ(bytes, expected.bytes) << version;
    }
}

TEST(Drawing, NewDrawingStateAndFirstSave) {
    CJwwDoc doc;
    EXPECT_EQ(doc.shownPaperSize, 3);
    EXPECT_FALSE(doc.header.valid);
    doc.header.SetNewDrawingDefaults();
    EXPECT_EQ(doc.header.paperSize, 4u);
    test::SaveToBytes(doc);
    EXPECT_EQ(doc.shownPaperSize, 4);  // a save copies the header's paper size
}

TEST(Drawing, WhatDoesNotStartWithTheSignatureIsNoDrawing) {
    // Each a whole drawing but for its first bytes, or the first bytes alone.
    const Bytes body = ByteWriter().append(HeaderWithVersion(600)).u16(0).u16(0).bytes;
    auto startingWith = [&](const std::string& start) {
        Bytes b = body;
        std::memcpy(b.data(), start.data(), std::min<std::size_t>(start.size(), 8));
        return b;
    };
    const struct {
        const char* what;
        Bytes bytes;
        int outcome;  // 0 loaded, 1 not a drawing, 2 end of file
    } cases[] = {
        {"the signature", startingWith("JwwData."), 0},
        {"zeros", startingWith(std::string(8, '\0')), 1},
        {"another word", startingWith("XXXXXXXX"), 1},
        {"another case", startingWith("jwwdata."), 1},
        {"the last byte other", startingWith("JwwData!"), 1},
        {"a file of zeros", Bytes(4096, 0), 1},
        {"a text", ByteWriter().text("no drawing at all").bytes, 1},
        {"three bytes unlike it", ByteWriter().text("Jwx").bytes, 1},
        {"the signature cut short", ByteWriter().text("JwwDat").bytes, 2},
        {"nothing", Bytes(), 2},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        CJwwDoc doc;
        doc.AddElement(std::make_unique<CDataSen>());
        switch (c.outcome) {
            case 0: EXPECT_EQ(test::LoadFromBytes(doc, c.bytes), CJwwDoc::LoadResult::Loaded); break;
            case 1: EXPECT_THROW(test::LoadFromBytes(doc, c.bytes), JwwNotDrawingError); break;
            default: EXPECT_THROW(test::LoadFromBytes(doc, c.bytes), JwwEndOfFileError); break;
        }
        EXPECT_TRUE(doc.mainList.empty());
        EXPECT_EQ(doc.header.valid, c.outcome == 0);
    }
    EXPECT_EQ(JwwNotDrawingError().UserMessage("/d/a.jww"),
              "/d/a.jww は JWW 図面ではありません（ファイルの先頭が「JwwData.」ではありません）。");
}

TEST(Drawing, VersionBelow420IsRefusedWithoutReadingTheLists) {
    CJwwDoc doc;
    const Bytes old = ByteWriter().append(HeaderWithVersion(419)).u16(0xFFFF).bytes;  // garbage after
    doc.AddElement(std::make_unique<CDataSen>());
    EXPECT_EQ(test::LoadFromBytes(doc, old), CJwwDoc::LoadResult::TooOld);
    EXPECT_TRUE(doc.mainList.empty());
    EXPECT_FALSE(doc.header.valid);
    EXPECT_EQ(doc.header.version, 419u);
    EXPECT_EQ(doc.shownPaperSize, 3);
    EXPECT_STREQ(CJwwDoc::kTooOldMessage,
                 "このファイルは古いバージョンです、Jw_cad で読込みファイルしなおしてください。");

    const Bytes ok = ByteWriter().append(HeaderWithVersion(420)).u16(0).u16(0).bytes;
    EXPECT_EQ(test::LoadFromBytes(doc, ok), CJwwDoc::LoadResult::Loaded);
    EXPECT_TRUE(doc.header.valid);
}

// Equal but for header row 36, which every save raises by 20.
void ExpectSavedAs(CJwwDoc& doc, const Bytes& file) {
    Bytes saved = test::SaveToBytes(doc);
    ASSERT_EQ(saved.size(), file.size());
    const long at = test::FirstDifference(saved, file);
    ASSERT_GT(at, 0);
    EXPECT_EQ(saved[static_cast<std::size_t>(at)], file[static_cast<std::size_t>(at)] + 20);
    saved[static_cast<std::size_t>(at)] = file[static_cast<std::size_t>(at)];
    EXPECT_EQ(saved, file);
}

TEST(Drawing, TrailingCountAndBytesAfterTheDrawingSurvive) {
    // Version 700: the count and whatever follows it are written back.
    const Bytes v700 = ByteWriter().append(HeaderWithVersion(700)).u16(0).u16(0).u32(2).text("tail!").bytes;
    CJwwDoc doc;
    ASSERT_EQ(test::LoadFromBytes(doc, v700), CJwwDoc::LoadResult::Loaded);
    EXPECT_EQ(doc.trailingCount, 2u);
    EXPECT_EQ(doc.trailingBytes.size(), 5u);
    ExpectSavedAs(doc, v700);

    // Version 600 has no count; bytes after the definition list are kept.
    const Bytes v600 = ByteWriter().append(HeaderWithVersion(600)).u16(0).u16(0).text("xyz").bytes;
    ASSERT_EQ(test::LoadFromBytes(doc, v600), CJwwDoc::LoadResult::Loaded);
    EXPECT_EQ(doc.trailingCount, 0u);
    EXPECT_EQ(doc.trailingBytes.size(), 3u);
    ExpectSavedAs(doc, v600);

    // A version 700 file must have its count.
    const Bytes cut = ByteWriter().append(HeaderWithVersion(700)).u16(0).u16(0).u16(0).bytes;
    EXPECT_THROW(test::LoadFromBytes(doc, cut), JwwEndOfFileError);
}

std::unique_ptr<CDataSen> LineOn(int group, int layer) {
    auto l = std::make_unique<CDataSen>();
    l->layerGroup = static_cast<uint16_t>(group);
    l->layer = static_cast<uint16_t>(layer);
    return l;
}

TEST(Drawing, CountLayerElementsEntersInsertionsOneLevel) {
    CJwwDoc doc;
    auto def = std::make_unique<CDataList>();
    def->number = 7;
    for (int i = 0; i < 5; ++i) def->elements.push_back(LineOn(3, i));
    auto nested = std::make_unique<CDataBlock>();
    nested->definitionNumber = 7;  // counted as one element, not entered
    nested->layerGroup = 4;
    nested->layer = 4;
    def->elements.push_back(std::move(nested));
    doc.AddDefinition(std::move(def));
    for (int i = 0; i < 2; ++i) {
        auto ins = std::make_unique<CDataBlock>();
        ins->definitionNumber = 7;
        ins->layer = 2;
        doc.AddElement(std::move(ins));
    }
    auto missing = std::make_unique<CDataBlock>();
    missing->definitionNumber = 99;
    doc.AddElement(std::move(missing));
    doc.AddElement(LineOn(0, 2));
    doc.AddElement(LineOn(16, 0));   // outside the tables: skipped
    doc.AddElement(LineOn(0, 300));  // likewise
    doc.CountLayerElements();
    EXPECT_EQ(doc.groupElementCount[3], 10);
    for (int l = 0; l < 5; ++l) EXPECT_EQ(doc.layerElementCount[3][l], 2);
    EXPECT_EQ(doc.layerElementCount[4][4], 2);
    EXPECT_EQ(doc.groupElementCount[0], 1);
    EXPECT_EQ(doc.layerElementCount[0][2], 1);  // only the plain line

    doc.RemoveElements([](const CData&) { return true; });
    doc.CountLayerElements();
    for (int g = 0; g < kLayerGroups; ++g) EXPECT_EQ(doc.groupElementCount[g], 0);
}

TEST(Drawing, FindBlockListFindsTheFirstOfEqualNumbers) {
    CJwwDoc doc;
    for (int n : {0, 5, 5, 2}) {
        auto d = std::make_unique<CDataList>();
        d->number = n;
        doc.AddDefinition(std::move(d));
    }
    EXPECT_EQ(doc.FindBlockList(5), doc.blockList[1].get());
    EXPECT_EQ(doc.FindBlockList(2), doc.blockList[3].get());
    EXPECT_EQ(doc.FindBlockList(1), nullptr);
    // The lookup follows appends and removals.
    auto d = std::make_unique<CDataList>();
    d->number = 1;
    doc.AddDefinition(std::move(d));
    EXPECT_EQ(doc.FindBlockList(1), doc.blockList[4].get());
    ASSERT_TRUE(doc.RemoveDefinition(doc.blockList[4].get()));
    EXPECT_EQ(doc.FindBlockList(1), nullptr);
    EXPECT_EQ(doc.FindBlockList(5), doc.blockList[1].get());
    auto e = std::make_unique<CDataList>();
    e->number = 9;
    doc.AddDefinition(std::move(e));
    EXPECT_EQ(doc.FindBlockList(9), doc.blockList[4].get());
    // Removing the first of two equal numbers makes the second the one found.
    const CDataList* second5 = doc.blockList[2].get();
    ASSERT_TRUE(doc.RemoveDefinition(doc.blockList[1].get()));
    EXPECT_EQ(doc.FindBlockList(5), second5);
    EXPECT_EQ(doc.FindBlockList(2), doc.blockList[2].get());
    EXPECT_FALSE(doc.RemoveDefinition(nullptr));
    doc.Clear();
    EXPECT_EQ(doc.FindBlockList(9), nullptr);
}

TEST(Drawing, FindBlockListAfterARemovalAndAnAppendWithoutALookupBetween) {
    // The new definition may take the removed one's memory and place in the
    // list, so nothing about the list's storage tells the two apart.
    for (int round = 0; round < 3; ++round) {
        CJwwDoc doc;
        for (int n : {0, 1, 2}) {
            auto d = std::make_unique<CDataList>();
            d->number = n;
            doc.AddDefinition(std::move(d));
        }
        ASSERT_NE(doc.FindBlockList(2), nullptr);
        ASSERT_TRUE(doc.RemoveDefinition(doc.blockList.back().get()));
        auto d = std::make_unique<CDataList>();
        d->number = 7;
        doc.AddDefinition(std::move(d));
        EXPECT_EQ(doc.FindBlockList(7), doc.blockList[2].get());
        EXPECT_EQ(doc.FindBlockList(2), nullptr);
    }
}

TEST(Drawing, ListEntriesThatAListCannotOwnAreRefused) {
    const Bytes line(47, 0);
    const Bytes defRecord = ByteWriter().append(Bytes(15, 0)).u32(0).u32(0).u32(0).u8(0).u16(0).bytes;
    struct Case {
        const char* name;
        Bytes body;
        JwwErrorKind kind;
        std::size_t mainRead;
    };
    const Case cases[] = {
        {"no object in the main list", ByteWriter().u16(1).u16(0).bytes, JwwErrorKind::BadIndex, 0},
        {"definition in the main list",
         ByteWriter().u16(1).u16(0xFFFF).u16(800).u16(9).text("CDataList").append(defRecord).bytes,
         JwwErrorKind::BadClass, 0},
        {"line in the definition list",
         ByteWriter().u16(0).u16(1).u16(0xFFFF).u16(800).u16(8).text("CDataSen").append(line).bytes,
         JwwErrorKind::BadClass, 0},
        {"no object in the definition list",
         ByteWriter().u16(1).u16(0xFFFF).u16(800).u16(8).text("CDataSen").append(line).u16(1).u16(0).bytes,
         JwwErrorKind::BadIndex, 1},
    };
    for (const auto& c : cases) {
        const Bytes file = ByteWriter().append(HeaderWithVersion(600)).append(c.body).bytes;
        CJwwDoc doc;
        try {
            test::LoadFromBytes(doc, file);
            ADD_FAILURE() << c.name;
        } catch (const JwwStreamError& e) {
            EXPECT_EQ(e.kind(), c.kind) << c.name;
        }
        EXPECT_EQ(doc.mainList.size(), c.mainRead) << c.name;  // what was read completely stays
    }
}

TEST(Drawing, SaveLoadGivesTheSameElements) {
    CJwwDoc doc;
    doc.header.SetNewDrawingDefaults();
    auto text = std::make_unique<CDataMoji>();
    text->text = JwwString("\x95\x5c");  // 表
    text->textType = 3;
    text->style = 2;
    text->height = 3.5;
    doc.AddElement(std::move(text));
    auto def = std::make_unique<CDataList>();
    def->number = 0;
    def->name = JwwString("A");
    def->elements.push_back(LineOn(1, 1));
    doc.AddDefinition(std::move(def));
    auto ins = std::make_unique<CDataBlock>();
    ins->scaleX = -2;
    doc.AddElement(std::move(ins));

    const Bytes first = test::SaveToBytes(doc);
    CJwwDoc back;
    ASSERT_EQ(test::LoadFromBytes(back, first), CJwwDoc::LoadResult::Loaded);
    ASSERT_EQ(back.mainList.size(), 2u);
    const auto* t = As<CDataMoji>(back.mainList[0].get());
    ASSERT_NE(t, nullptr);
    EXPECT_EQ(t->text.bytes(), "\x95\x5c");
    EXPECT_EQ(t->style, 2u);
    EXPECT_EQ(As<CDataBlock>(back.mainList[1].get())->scaleX, -2);
    ASSERT_EQ(back.blockList.size(), 1u);
    EXPECT_EQ(back.blockList[0]->elements.size(), 1u);
    // Only header row 36 differs between this save and the next.
    Bytes second = test::SaveToBytes(back);
    ASSERT_EQ(second.size(), first.size());
    int diff = 0;
    for (std::size_t i = 0; i < first.size(); ++i) diff += first[i] != second[i];
    EXPECT_EQ(diff, 1);
}

TEST(DrawingFile, FailedSaveLeavesTheOldFileWhole) {
    const std::string dir = test::MakeTempDir();
    const std::string path = dir + "/a.jww";
    CJwwDoc doc;
    doc.header.SetNewDrawingDefaults();
    SaveJwwFile(path, doc);
    const Bytes before = test::ReadFileBytes(path);
    ASSERT_FALSE(before.empty());

    EXPECT_THROW(WriteFileAtomically(path,
                                     [](std::FILE* f) {
                                         std::fputs("partial", f);
                                         throw JwwGenericError("stop");
                                     }),
                 JwwGenericError);
    EXPECT_EQ(test::ReadFileBytes(path), before);
    // No temporary file is left behind.
    for (const auto& entry : std::filesystem::directory_iterator(dir)) EXPECT_EQ(entry.path().filename(), "a.jww");

    EXPECT_THROW(SaveJwwFile(dir + "/missing/b.jww", doc), JwwFileError);
    CJwwDoc other;
    EXPECT_THROW(LoadJwwFile(dir + "/none.jww", other), JwwFileError);
    EXPECT_THROW(LoadJwwFile(dir, other), JwwFileError);
    std::filesystem::remove_all(dir);
}

TEST(DrawingFile, LoadsThroughTheFileBufferAcrossRefills) {
    // A drawing larger than the read buffer, with strings that straddle it.
    CJwwDoc doc;
    doc.header.SetNewDrawingDefaults();
    for (int i = 0; i < 5000; ++i) {
        auto t = std::make_unique<CDataMoji>();
        t->text = JwwString(std::string(static_cast<std::size_t>(100 + i % 300), static_cast<char>('a' + i % 26)));
        doc.AddElement(std::move(t));
    }
    const std::string dir = test::MakeTempDir();
    SaveJwwFile(dir + "/big.jww", doc);
    CJwwDoc back;
    ASSERT_EQ(LoadJwwFile(dir + "/big.jww", back), CJwwDoc::LoadResult::Loaded);
    ASSERT_EQ(back.mainList.size(), 5000u);
    for (int i = 0; i < 5000; i += 499)
        EXPECT_EQ(As<CDataMoji>(back.mainList[static_cast<std::size_t>(i)].get())->text.bytes(),
                  As<CDataMoji>(doc.mainList[static_cast<std::size_t>(i)].get())->text.bytes());
    std::filesystem::remove_all(dir);
}

}  // namespace
}  // namespace tolvani
