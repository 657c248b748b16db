// Untrusted input: every cut of a drawing, absurd counts, deep and cyclic
// block structures. Each gives an error or a drawing, never a crash or hang.
#include <gtest/gtest.h>

#include <unistd.h>

#include "blocks/BlockDump.h"
#include "model/CJwwDoc.h"
#include "model/DrawingGenerator.h"
#include "model/JwwStream.h"
#include "tests/support/TestSupport.h"

namespace tolvani {
namespace {

using test::Bytes;
using test::ByteWriter;

// Loads the first `n` bytes; true when it loaded, false on a stream error.
bool LoadPrefix(const Bytes& file, std::size_t n) {
    CJwwDoc doc;
    doc.header.SetNewDrawingDefaults();
    JwwStream ar(file.data(), n);
    try {
        doc.Load(ar);
        doc.CountLayerElements();
        return true;
    } catch (const JwwStreamError&) {
        return false;
    }
}

Bytes Generated(long elements, int definitions, uint32_t version) {
    CJwwDoc doc;
    GeneratorOptions options;
    options.elements = elements;
    options.definitions = definitions;
    options.seed = 42;
    GenerateDrawing(doc, options);
    doc.header.version = version;
    return test::SaveToBytes(doc);
}

TEST(Robustness, EveryPrefixOfASmallDrawingIsAnError) {
    for (uint32_t version : {600u, 700u}) {
        const Bytes file = Generated(40, 3, version);
        // A version 600 drawing is complete once its definition list is;
        // a version 700 drawing needs its trailing count too.
        for (std::size_t n = 0; n < file.size(); ++n) ASSERT_FALSE(LoadPrefix(file, n)) << version << " cut at " << n;
        EXPECT_TRUE(LoadPrefix(file, file.size()));
    }
}

TEST(Robustness, PrefixesOfRealDrawings) {
    const auto paths = test::SamplePaths();
    if (paths.empty()) GTEST_SKIP() << "sample drawings not present";
    for (const auto& path : paths) {
        const Bytes file = test::ReadFileBytes(path);
        for (std::size_t n = 0; n < file.size(); n += 37) EXPECT_FALSE(LoadPrefix(file, n)) << path << " " << n;
        EXPECT_TRUE(LoadPrefix(file, file.size())) << path;
    }
}

TEST(Robustness, AbsurdCountsFailAtTheEndOfTheData) {
    const Bytes header = test::NewDrawingHeaderBytes();
    const Bytes cases[] = {
        ByteWriter().append(header).u16(0xFFFF).u32(4000000000u).bytes,
        ByteWriter().append(header).u16(0).u16(0xFFFF).u32(4000000000u).bytes,
        // A definition claiming four billion elements.
        ByteWriter()
            .append(header)
            .u16(0)
            .u16(1)
            .u16(0xFFFF)
            .u16(800)
            .u16(9)
            .text("CDataList")
            .append(Bytes(15, 0))
            .u32(0)
            .u32(0)
            .u32(0)
            .u8(0)
            .u16(0xFFFF)
            .u32(4000000000u)
            .bytes,
        // The memo claims two gigabytes.
        [&] {
            Bytes b(header.begin(), header.begin() + 12);
            return ByteWriter().append(b).u8(0xFF).u16(0xFFFF).u32(0x7FFFFFFF).bytes;
        }(),
    };
    for (const auto& file : cases) {
        CJwwDoc doc;
        EXPECT_THROW(test::LoadFromBytes(doc, file), JwwEndOfFileError);
    }
}

// Definitions 0..n-1, each placing the next; the main list places the first.
Bytes Chain(int n, bool closeTheLoop) {
    CJwwDoc doc;
    doc.header.SetNewDrawingDefaults();
    for (int i = 0; i < n; ++i) {
        auto def = std::make_unique<CDataList>();
        def->number = i;
        def->name = JwwString("c" + std::to_string(i));
        auto ins = std::make_unique<CDataBlock>();
        ins->definitionNumber = (i + 1 < n || !closeTheLoop) ? i + 1 : 0;
        ins->ref = {1, 0};
        def->elements.push_back(std::move(ins));
        auto line = std::make_unique<CDataSen>();
        line->end = {1, 1};
        def->elements.push_back(std::move(line));
        doc.AddDefinition(std::move(def));
    }
    auto top = std::make_unique<CDataBlock>();
    top->definitionNumber = 0;
    doc.AddElement(std::move(top));
    return test::SaveToBytes(doc);
}

TEST(Robustness, LongChainOfDefinitionsLoadsCountsAndDumps) {
    const Bytes file = Chain(50000, false);
    CJwwDoc doc;
    ASSERT_EQ(test::LoadFromBytes(doc, file), CJwwDoc::LoadResult::Loaded);
    ASSERT_EQ(doc.blockList.size(), 50000u);
    EXPECT_EQ(doc.groupElementCount[0], 2);  // the first definition's two elements

    // The walk stops 1,000 deep and reports the rest like a missing definition.
    const auto boxes = DumpInsertions(doc, doc.mainList, nullptr);
    EXPECT_EQ(boxes.size(), 1000u + 1 + 1);
    EXPECT_EQ(boxes.front(), "定義ブロックが見つかりません！");
    const auto defs = DumpDefinitions(doc);
    EXPECT_GT(defs.size(), 1000u);
    std::size_t total = 0;
    for (const auto& b : defs) total += b.size();
    EXPECT_LT(total, 50u * 1024 * 1024);  // bounded, whatever the drawing
}

TEST(Robustness, DefinitionsThatPlaceThemselvesEndTheWalk) {
    const Bytes file = Chain(3, true);
    CJwwDoc doc;
    ASSERT_EQ(test::LoadFromBytes(doc, file), CJwwDoc::LoadResult::Loaded);
    const auto boxes = DumpInsertions(doc, doc.mainList, nullptr);
    // 0 → 1 → 2 → 0 again: refused there, like a missing definition.
    ASSERT_EQ(boxes.size(), 5u);
    EXPECT_EQ(boxes[0], "定義ブロックが見つかりません！");
    EXPECT_NE(boxes[4].find("pInst == NULL"), std::string::npos);
    EXPECT_FALSE(DumpDefinitions(doc).empty());
}

}  // namespace
}  // namespace tolvani

namespace tolvani {
namespace {

TEST(Robustness, StreamOfUnknownSizeGrowsTextsOnlyAsBytesArrive) {
    // Through a pipe the stream cannot know how much is left: a memo that
    // claims two gigabytes must fail at the end of the data.
    Bytes header = test::NewDrawingHeaderBytes();
    const Bytes file = ByteWriter()
                           .append(Bytes(header.begin(), header.begin() + 12))
                           .u8(0xFF)
                           .u16(0xFFFF)
                           .u32(0x7FFFFFF0)
                           .text(std::string(3000, 'm'))
                           .bytes;
    int fds[2];
    ASSERT_EQ(pipe(fds), 0);
    ASSERT_EQ(write(fds[1], file.data(), file.size()), static_cast<ssize_t>(file.size()));
    close(fds[1]);
    std::FILE* in = fdopen(fds[0], "rb");
    ASSERT_NE(in, nullptr);
    CJwwDoc doc;
    JwwStream ar(in, JwwStream::Mode::Loading);
    EXPECT_EQ(ar.Remaining(), UINT64_MAX);
    EXPECT_THROW(doc.Load(ar), JwwEndOfFileError);
    std::fclose(in);
}

}  // namespace
}  // namespace tolvani
