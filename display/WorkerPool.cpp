#include "display/WorkerPool.h"

#include <exception>
#include <thread>

namespace tolvani::display {

WorkerPool& WorkerPool::Shared() {
    // Never destroyed: its threads wait for work until the process ends.
    static WorkerPool* pool = new WorkerPool;
    return *pool;
}

int WorkerPool::Cores() {
    const unsigned n = std::thread::hardware_concurrency();
    return n == 0 ? 1 : static_cast<int>(n);
}

void WorkerPool::Work() {
    for (;;) {
        std::function<void()> job;
        {
            std::unique_lock lock(mutex_);
            wake_.wait(lock, [this] { return !queue_.empty(); });
            job = std::move(queue_.front());
            queue_.pop_front();
        }
        job();
    }
}

void WorkerPool::Run(int n, const std::function<void(int)>& part) {
    if (n <= 0) return;
    std::mutex doneMutex;
    std::condition_variable doneSignal;
    int pending = 0;
    std::exception_ptr failure;
    // Every part ends here, thrown or not: the queued ones hold references
    // to this frame, so it is left only once they all have run.
    const auto guarded = [&](int i) noexcept {
        try {
            part(i);
        } catch (...) {
            std::lock_guard lock(doneMutex);
            if (!failure) failure = std::current_exception();
        }
    };
    int queued = 1;  // parts 1 … queued − 1 went to the pool
    if (n > 1) {
        try {
            std::lock_guard lock(mutex_);
            while (threads_ < n - 1) {
                std::thread([this] { Work(); }).detach();
                ++threads_;
            }
        } catch (...) {
            // Fewer threads than parts: the ones there take the parts in turn.
        }
        try {
            std::lock_guard lock(mutex_);
            // The queued parts cannot start before the lock is released, so
            // `pending` is counted up before any part counts it down.
            for (; threads_ > 0 && queued < n; ++queued, ++pending)
                queue_.emplace_back([&, i = queued] {
                    guarded(i);
                    std::lock_guard done(doneMutex);
                    if (--pending == 0) doneSignal.notify_one();
                });
        } catch (...) {
            // A part that could not be queued runs on this thread below.
        }
        wake_.notify_all();
    }
    guarded(0);
    for (int i = queued; i < n; ++i) guarded(i);
    std::unique_lock lock(doneMutex);
    doneSignal.wait(lock, [&] { return pending == 0; });
    if (failure) std::rethrow_exception(failure);
}

}  // namespace tolvani::display
