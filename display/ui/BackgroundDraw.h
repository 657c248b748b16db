// One worker that draws the view's pictures. A new request cancels the
// running draw and replaces any waiting one, so the worker always moves on
// to the newest view; the user-interface thread never waits for a draw
// except in Stop, which cancels first.
#pragma once

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>

#include "display/ui/ViewPicture.h"

namespace tolvani::display {

class BackgroundDraw {
public:
    // Receives each finished, not cancelled picture with the number its
    // request got; called on the worker thread.
    using Done = std::function<void(uint64_t request, ViewPicture&& picture)>;

    explicit BackgroundDraw(Done done);
    ~BackgroundDraw();
    BackgroundDraw(const BackgroundDraw&) = delete;
    BackgroundDraw& operator=(const BackgroundDraw&) = delete;

    // Queues a draw; returns its request number (increasing).
    uint64_t Start(ViewPictureJob job);
    // Cancels the running draw and drops the waiting one; returns when the
    // worker no longer reads any drawing.
    void Stop();
    // A draw is running or waiting.
    bool Busy() const;

private:
    void Run();

    Done done_;
    mutable std::mutex mutex_;
    std::condition_variable wake_;
    std::condition_variable idle_;
    std::optional<ViewPictureJob> waiting_;
    uint64_t waitingRequest_ = 0;
    uint64_t lastRequest_ = 0;
    bool running_ = false;
    bool quit_ = false;
    std::shared_ptr<std::atomic<bool>> cancelRunning_;
    std::thread worker_;
};

}  // namespace tolvani::display
