// The pool's parts when one of them fails: the failure reaches the caller,
// and only once every other part has ended, since the parts use the caller's
// stack.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <new>
#include <stdexcept>
#include <thread>

#include "display/WorkerPool.h"

namespace tolvani::display {
namespace {

TEST(WorkerPool, AFailedPartReachesTheCallerOnceEveryPartHasEnded) {
    struct Case {
        const char* what;
        int failing;  // the part that throws
    };
    for (const Case& c : {Case{"a pool thread's part", 2}, Case{"the caller's own part", 0}}) {
        for (int round = 0; round < 20; ++round) {
            std::atomic<int> ended{0};
            bool caught = false;
            try {
                WorkerPool::Shared().Run(4, [&](int part) {
                    if (part == c.failing) throw std::bad_alloc();
                    std::this_thread::sleep_for(std::chrono::milliseconds(2));
                    ++ended;
                });
            } catch (const std::bad_alloc&) {
                caught = true;
                // The others were not cut short, and none is still running.
                EXPECT_EQ(ended.load(), 3) << c.what;
            }
            EXPECT_TRUE(caught) << c.what;
        }
    }
}

TEST(WorkerPool, OfSeveralFailuresOneArrivesAndThePoolWorksOn) {
    EXPECT_THROW(WorkerPool::Shared().Run(3, [](int) { throw std::runtime_error("band"); }), std::runtime_error);
    std::atomic<int> sum{0};
    WorkerPool::Shared().Run(5, [&](int part) { sum += part + 1; });
    EXPECT_EQ(sum.load(), 15);
}

}  // namespace
}  // namespace tolvani::display
