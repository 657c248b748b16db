#include "display/ui/BackgroundDraw.h"

namespace tolvani::display {

BackgroundDraw::BackgroundDraw(Done done) : done_(std::move(done)), worker_([this] { Run(); }) {}

BackgroundDraw::~BackgroundDraw() {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        quit_ = true;
        waiting_.reset();
        if (cancelRunning_) cancelRunning_->store(true);
    }
    wake_.notify_all();
    worker_.join();
}

uint64_t BackgroundDraw::Start(ViewPictureJob job) {
    uint64_t request;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        request = ++lastRequest_;
        waiting_ = std::move(job);
        waitingRequest_ = request;
        if (cancelRunning_) cancelRunning_->store(true);
    }
    wake_.notify_all();
    return request;
}

void BackgroundDraw::Stop() {
    std::unique_lock<std::mutex> lock(mutex_);
    waiting_.reset();
    if (cancelRunning_) cancelRunning_->store(true);
    idle_.wait(lock, [this] { return !running_; });
}

bool BackgroundDraw::Busy() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return running_ || waiting_.has_value();
}

void BackgroundDraw::Run() {
    std::unique_lock<std::mutex> lock(mutex_);
    for (;;) {
        wake_.wait(lock, [this] { return quit_ || waiting_.has_value(); });
        if (quit_) return;
        ViewPictureJob job = std::move(*waiting_);
        waiting_.reset();
        const uint64_t request = waitingRequest_;
        auto cancel = std::make_shared<std::atomic<bool>>(false);
        cancelRunning_ = cancel;
        running_ = true;
        lock.unlock();

        ViewPicture picture = DrawViewPicture(job, cancel.get());
        // The drawing goes before the worker says it is idle, so that the
        // last reference may be dropped on the waiting thread.
        job.drawing.reset();
        if (!picture.cancelled && !cancel->load()) done_(request, std::move(picture));

        lock.lock();
        running_ = false;
        cancelRunning_.reset();
        idle_.notify_all();
    }
}

}  // namespace tolvani::display
