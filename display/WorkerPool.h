// Threads kept for work split into parts, such as the bands of a draw. They
// are made on first need and kept for the life of the process, so what a
// thread keeps for itself (resolved fonts) serves every later draw.
#pragma once

#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>

namespace tolvani::display {

class WorkerPool {
public:
    // The pool every draw shares.
    static WorkerPool& Shared();

    // Runs part(0) … part(n − 1), part 0 on the calling thread and the
    // others on the pool's threads, and returns when all have ended. A part
    // that throws (memory running out in the middle of a band) ends only
    // itself; once every part has ended, the first exception thrown is
    // thrown again here, on the caller's thread. Parts that cannot be handed
    // to the pool run on the calling thread. Several callers may run parts
    // at once.
    void Run(int n, const std::function<void(int)>& part);

    // The number of threads of this machine (at least 1).
    static int Cores();

private:
    WorkerPool() = default;
    void Work();

    std::mutex mutex_;
    std::condition_variable wake_;
    std::deque<std::function<void()>> queue_;
    int threads_ = 0;
};

}  // namespace tolvani::display
