#pragma once

#include <condition_variable>
#include <functional>
#include <mutex>
#include <thread>

#include "platform/Clock.h"
#include "platform/Handle.h"
#include "platform/RunLoop.h"

namespace olvane::platform {

// Watches, from a thread of its own, that the run loop still answers, for what must not be left
// waiting on it. The loop beats every `beatInterval`; once no beat has come for `timeout`,
// `onStall` runs on the guard's thread, once. Made and destroyed on the loop; destroying it
// waits for `onStall` if it is running.
class LoopStallGuard {
  public:
    struct Timing {
        Duration timeout;
        Duration beatInterval;
    };

    LoopStallGuard(RunLoop& loop, Timing timing, std::function<void()> onStall);
    ~LoopStallGuard();
    LoopStallGuard(const LoopStallGuard&) = delete;
    LoopStallGuard& operator=(const LoopStallGuard&) = delete;

  private:
    void beat();
    void watch();

    const Timing timing_;
    const std::function<void()> onStall_;
    std::mutex mutex_;
    std::condition_variable wake_;
    MonotonicTime lastBeat_;
    bool stopping_ = false;
    Handle beats_;
    std::thread thread_;
};

}  // namespace olvane::platform
