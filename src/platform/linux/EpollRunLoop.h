#pragma once

#include <atomic>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <vector>

#include "platform/QueuedRunLoop.h"

namespace olvane::platform::os {

// The loop of the programs without Qt: epoll over the watched descriptors, one timerfd armed
// for the earliest timer, an eventfd to take work from other threads.
class EpollRunLoop final : public QueuedRunLoop {
  public:
    EpollRunLoop();
    ~EpollRunLoop() override;
    EpollRunLoop(const EpollRunLoop&) = delete;
    EpollRunLoop& operator=(const EpollRunLoop&) = delete;

    // False when the kernel refused the descriptors; the loop is then unusable.
    bool valid() const { return epollFd_ >= 0 && timerFd_ >= 0 && wakeFd_ >= 0; }

    MonotonicTime now() const override;
    Handle watchReadable(int fd, Task onReadable) override;
    void postFromAnyThread(Task task) override;

    // Runs until quit() is called; at once when it was called before.
    void run();
    // Runs until quit(), `predicate` holds, or `timeout` passes; true when the predicate held.
    bool runUntil(const std::function<bool()>& predicate, Duration timeout);
    // Thread-safe. Ends the run going on, or else the next one.
    void quit();

  private:
    void iterate(std::optional<MonotonicTime> deadline);
    void timersChanged() override { armTimerFd(); }
    void armTimerFd();
    void drainForeignPosts();
    void runDueTimers();

    struct Watch {
        int fd;
        std::shared_ptr<Task> onReadable;
    };

    int epollFd_ = -1;
    int timerFd_ = -1;
    int wakeFd_ = -1;
    // The expiry the timer descriptor is set to; nullopt when it is disarmed.
    std::optional<MonotonicTime> armedFor_;
    std::shared_ptr<std::map<int, Watch>> watches_;
    std::atomic<bool> quit_{false};
    std::mutex foreignMutex_;
    std::vector<Task> foreignPosts_;
};

}  // namespace olvane::platform::os
