#include "display/WorkerPool.h"

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
    if (n == 1) {
        part(0);
        return;
    }
    std::mutex doneMutex;
    std::condition_variable doneSignal;
    int pending = n - 1;
    {
        std::lock_guard lock(mutex_);
        for (; threads_ < n - 1; ++threads_) std::thread([this] { Work(); }).detach();
        for (int i = 1; i < n; ++i)
            queue_.emplace_back([&, i] {
                part(i);
                std::lock_guard done(doneMutex);
                if (--pending == 0) doneSignal.notify_one();
            });
    }
    wake_.notify_all();
    part(0);
    std::unique_lock lock(doneMutex);
    doneSignal.wait(lock, [&] { return pending == 0; });
}

}  // namespace tolvani::display
