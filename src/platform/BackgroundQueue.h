#pragma once

#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <thread>

namespace olvane::platform {

// One worker thread that runs tasks in the order given, away from the run loop. Tasks hand their
// results back with RunLoop::postFromAnyThread. Destroying the queue waits for the task that is
// running and drops those still waiting.
class BackgroundQueue {
  public:
    BackgroundQueue();
    ~BackgroundQueue();
    BackgroundQueue(const BackgroundQueue&) = delete;
    BackgroundQueue& operator=(const BackgroundQueue&) = delete;

    void enqueue(std::function<void()> task);
    // Blocks until every task given so far has run.
    void waitUntilIdle();

  private:
    void run();

    std::mutex mutex_;
    std::condition_variable wake_;
    std::condition_variable idle_;
    std::deque<std::function<void()>> tasks_;
    bool busy_ = false;
    bool stopping_ = false;
    std::thread worker_;
};

}  // namespace olvane::platform
