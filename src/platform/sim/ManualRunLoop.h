#pragma once

#include <mutex>
#include <vector>

#include "platform/Clock.h"
#include "platform/QueuedRunLoop.h"

namespace olvane::platform::sim {

class ManualRunLoop;

// Wall and monotonic time that move only when the manual loop advances.
class ManualClock final : public Clock {
  public:
    explicit ManualClock(const ManualRunLoop& loop, double unixStart);
    double unixNow() const override;
    MonotonicTime monotonicNow() const override;
    // Moves the wall clock alone (a user changing the date); timers are not affected.
    void shiftWallClock(double seconds) { wallOffset_ += seconds; }

  private:
    const ManualRunLoop& loop_;
    double unixStart_;
    double wallOffset_ = 0;
};

// A run loop with virtual time: nothing happens until the test advances it.
class ManualRunLoop final : public QueuedRunLoop {
  public:
    // 2026-01-01 00:00:00 UTC, a stable date for the tests.
    static constexpr double kDefaultUnixStart = 1'767'225'600.0;

    explicit ManualRunLoop(double unixStart = kDefaultUnixStart);

    MonotonicTime now() const override { return now_; }
    Handle watchReadable(int fd, Task onReadable) override;
    void postFromAnyThread(Task task) override;

    ManualClock& clock() { return clock_; }
    // Elapsed virtual time since the loop was made.
    Duration elapsed() const { return now_ - MonotonicTime{}; }

    // Runs everything due within `delay`, in due order, moving time to each due point.
    void advance(Duration delay);
    void advanceSeconds(double s) { advance(seconds(s)); }
    // Runs the work due now (posted work included) without moving time.
    void runPending();
    // Polls the watched descriptors once (with a timeout) and runs their callbacks.
    void processIo(Duration timeout = {});

    std::size_t pendingCount() const;

  private:
    void takeForeignPosts();

    struct FdWatch {
        int fd;
        std::shared_ptr<Task> onReadable;
    };

    MonotonicTime now_{};
    ManualClock clock_;
    std::shared_ptr<std::vector<std::pair<std::uint64_t, FdWatch>>> fdWatches_;
    std::uint64_t nextWatchId_ = 1;
    std::mutex foreignMutex_;
    std::vector<Task> foreignPosts_;
};

}  // namespace olvane::platform::sim
