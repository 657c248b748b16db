// Element memory handed between threads: a drawing made on one thread and
// released on another gives its memory back for the next drawing.
#include <gtest/gtest.h>

#include <atomic>
#include <condition_variable>
#include <filesystem>
#include <mutex>
#include <thread>
#include <vector>

#include "model/DrawingGenerator.h"
#include "model/ElementPool.h"
#include "model/JwwFile.h"
#include "tests/support/TestSupport.h"

namespace tolvani {
namespace {

constexpr int kRounds = 6;

class ElementPoolTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        dir_ = test::MakeTempDir();
        CJwwDoc doc;
        GenerateDrawing(doc, {100'000, 3, 50});
        ASSERT_TRUE(SaveDrawingFile(dir_ + "/big.jww", doc).ok());
    }
    static void TearDownTestSuite() { std::filesystem::remove_all(dir_); }
    void SetUp() override {
        if (!ElementPoolActive()) GTEST_SKIP() << "this build takes elements from the general heap";
    }
    static std::string Path() { return dir_ + "/big.jww"; }
    static std::string dir_;
};

std::string ElementPoolTest::dir_;

// A worker that loads a drawing whenever asked, for as long as the test.
class LoadingWorker {
public:
    LoadingWorker() : thread_([this] { Run(); }) {}
    ~LoadingWorker() {
        {
            std::lock_guard<std::mutex> lock(m_);
            stop_ = true;
        }
        cv_.notify_all();
        thread_.join();
    }
    LoadOutcome Load(const std::string& path) {
        std::unique_lock<std::mutex> lock(m_);
        path_ = path;
        pending_ = true;
        cv_.notify_all();
        cv_.wait(lock, [this] { return !pending_; });
        return std::move(result_);
    }

private:
    void Run() {
        std::unique_lock<std::mutex> lock(m_);
        for (;;) {
            cv_.wait(lock, [this] { return stop_ || pending_; });
            if (stop_) return;
            result_ = LoadDrawingFile(path_);
            pending_ = false;
            cv_.notify_all();
        }
    }
    std::mutex m_;
    std::condition_variable cv_;
    std::string path_;
    LoadOutcome result_;
    bool pending_ = false;
    bool stop_ = false;
    std::thread thread_;
};

TEST_F(ElementPoolTest, RepeatedLoadsOnAWorkerReleasedOnThisThreadKeepMemoryFlat) {
    const struct {
        const char* name;
        bool freshThreadEachRound;
    } cases[] = {{"one worker for every load", false}, {"a new worker for each load", true}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        LoadingWorker worker;
        std::size_t afterFirst = 0;
        for (int round = 0; round < kRounds; ++round) {
            LoadOutcome loaded;
            if (c.freshThreadEachRound) {
                std::thread t([&] { loaded = LoadDrawingFile(Path()); });
                t.join();
            } else {
                loaded = worker.Load(Path());
            }
            ASSERT_TRUE(loaded.ok());
            ASSERT_EQ(loaded.doc->mainList.size(), 100'000u);
            loaded.doc.reset();  // released here, not on the thread that made it
            if (round == 0) afterFirst = ElementPoolReservedBytes();
        }
        // A drawing's worth of memory is about 8 MiB; every later round
        // reuses what the first took, give or take a slab.
        EXPECT_LE(ElementPoolReservedBytes(), afterFirst + (std::size_t{4} << 20));
    }
}

TEST_F(ElementPoolTest, BlocksFreedOnSeveralThreadsAtOnceAreAllReused) {
    constexpr int kThreads = 4;
    constexpr int kEach = 20'000;
    std::vector<void*> blocks;
    for (int i = 0; i < kThreads * kEach; ++i) blocks.push_back(AllocateElement(48));
    const std::size_t reserved = ElementPoolReservedBytes();
    for (int round = 0; round < 3; ++round) {
        std::atomic<int> ready{0};
        std::vector<std::thread> threads;
        for (int t = 0; t < kThreads; ++t)
            threads.emplace_back([&, t] {
                ++ready;
                while (ready < kThreads) std::this_thread::yield();
                for (int i = t * kEach; i < (t + 1) * kEach; ++i) FreeElement(blocks[static_cast<std::size_t>(i)], 48);
            });
        for (auto& t : threads) t.join();
        for (auto& b : blocks) b = AllocateElement(48);
    }
    EXPECT_EQ(ElementPoolReservedBytes(), reserved);
    for (void* b : blocks) FreeElement(b, 48);
}

}  // namespace
}  // namespace tolvani
