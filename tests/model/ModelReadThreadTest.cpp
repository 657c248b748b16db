// Several threads reading one unchanging drawing at once: definition lookups
// and walks through the lists give every thread what one thread alone gets,
// and the drawing saves afterwards to the bytes it saved before.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <filesystem>
#include <thread>
#include <vector>

#include "model/DrawingGenerator.h"
#include "model/JwwFile.h"
#include "tests/support/TestSupport.h"

namespace tolvani {
namespace {

// What one reader sees: for every definition number from -2 to the highest
// plus two, the definition found (or null), and the elements of the main
// list and of every definition, in order.
struct Reading {
    std::vector<const CDataList*> found;
    std::vector<const CData*> walked;
    bool operator==(const Reading& o) const { return found == o.found && walked == o.walked; }
};

Reading Read(const CJwwDoc& doc, int32_t highest) {
    Reading r;
    for (int32_t n = -2; n <= highest + 2; ++n) r.found.push_back(doc.FindBlockList(n));
    for (const auto& e : doc.mainList) r.walked.push_back(e.get());
    for (const auto& d : doc.blockList)
        for (const auto& e : d->elements) r.walked.push_back(e.get());
    return r;
}

TEST(ModelReads, SeveralThreadsLookUpAndWalkOneDrawingAsOneThreadDoes) {
    CJwwDoc doc;
    GenerateDrawing(doc, {20'000, 7, 120});
    ASSERT_FALSE(doc.blockList.empty());
    int32_t highest = 0;
    for (const auto& d : doc.blockList) highest = std::max(highest, d->number);
    const test::Bytes before = test::SaveToBytes(doc);

    // The drawing is fresh from the generator: the first lookups of all
    // happen on the threads below, at the same moment.
    constexpr int kThreads = 4;
    std::vector<Reading> readings(kThreads);
    std::atomic<int> ready{0};
    std::vector<std::thread> threads;
    for (int t = 0; t < kThreads; ++t)
        threads.emplace_back([&, t] {
            ++ready;
            while (ready < kThreads) std::this_thread::yield();
            readings[static_cast<std::size_t>(t)] = Read(doc, highest);
        });
    for (auto& t : threads) t.join();

    const Reading alone = Read(doc, highest);
    for (int t = 0; t < kThreads; ++t) EXPECT_TRUE(readings[static_cast<std::size_t>(t)] == alone) << t;
    for (const auto& d : doc.blockList) EXPECT_NE(doc.FindBlockList(d->number), nullptr) << d->number;
    EXPECT_EQ(test::SaveToBytes(doc), before);
}

TEST(ModelReads, DrawingsLoadOnSeveralThreadsAtOnceAsOnOneThread) {
    const std::string dir = test::MakeTempDir();
    CJwwDoc made;
    GenerateDrawing(made, {15'000, 8, 40});
    ASSERT_TRUE(SaveDrawingFile(dir + "/d.jww", made).ok());
    LoadOutcome alone = LoadDrawingFile(dir + "/d.jww");
    ASSERT_TRUE(alone.ok()) << alone.message;
    const test::Bytes expected = test::SaveToBytes(*alone.doc);

    constexpr int kThreads = 3;
    std::vector<LoadOutcome> outcomes(kThreads);
    std::vector<std::thread> threads;
    for (int t = 0; t < kThreads; ++t)
        threads.emplace_back([&, t] { outcomes[static_cast<std::size_t>(t)] = LoadDrawingFile(dir + "/d.jww"); });
    for (auto& t : threads) t.join();
    for (auto& o : outcomes) {
        ASSERT_TRUE(o.ok()) << o.message;
        EXPECT_EQ(test::SaveToBytes(*o.doc), expected);
    }
    std::filesystem::remove_all(dir);
}

}  // namespace
}  // namespace tolvani
