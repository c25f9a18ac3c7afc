#include "platform/LoopStallGuard.h"

namespace olvane::platform {

// The guard's own clock: the loop's may be the one that stopped.
using GuardClock = std::chrono::steady_clock;

LoopStallGuard::LoopStallGuard(RunLoop& loop, Timing timing, std::function<void()> onStall)
    : timing_(timing),
      onStall_(std::move(onStall)),
      lastBeat_(GuardClock::now()),
      beats_(loop.every(timing.beatInterval, [this] { beat(); })),
      thread_([this] { watch(); }) {}

LoopStallGuard::~LoopStallGuard() {
    beats_.cancel();
    {
        std::lock_guard lock(mutex_);
        stopping_ = true;
    }
    wake_.notify_all();
    thread_.join();
}

void LoopStallGuard::beat() {
    std::lock_guard lock(mutex_);
    lastBeat_ = GuardClock::now();
}

void LoopStallGuard::watch() {
    std::unique_lock lock(mutex_);
    while (!stopping_) {
        const auto deadline = lastBeat_ + timing_.timeout;
        if (GuardClock::now() < deadline) {
            wake_.wait_until(lock, deadline);
            continue;
        }
        lock.unlock();
        onStall_();
        lock.lock();
        wake_.wait(lock, [this] { return stopping_; });
    }
}

}  // namespace olvane::platform
