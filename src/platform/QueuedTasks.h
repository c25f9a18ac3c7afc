#pragma once

#include <cstdint>
#include <map>
#include <memory>

#include "platform/RunLoop.h"

namespace olvane::platform {

// Work an object hands to its run loop for later: whatever is still queued when the object (and
// so this member) goes is dropped, also work handed over from another thread.
class QueuedTasks {
  public:
    explicit QueuedTasks(RunLoop& loop);
    ~QueuedTasks();
    QueuedTasks(const QueuedTasks&) = delete;
    QueuedTasks& operator=(const QueuedTasks&) = delete;

    // Runs `task` soon on the loop.
    void post(Task task);
    // Thread-safe: runs `task` on the loop unless this is gone by then.
    void postFromAnyThread(Task task) { anyThreadPoster()(std::move(task)); }
    // The same, as a function that may be kept and called after this is gone.
    std::function<void(Task)> anyThreadPoster() const;

  private:
    RunLoop& loop_;
    std::map<std::uint64_t, Handle> pending_;
    std::uint64_t nextId_ = 0;
    // Read only on the loop's thread, where this is also destroyed.
    std::shared_ptr<bool> alive_;
};

}  // namespace olvane::platform
