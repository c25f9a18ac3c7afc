#pragma once

#include <functional>

#include "platform/Clock.h"
#include "platform/Handle.h"

namespace olvane::platform {

using Task = std::function<void()>;

// The one loop of a process. Every member but postFromAnyThread runs on the loop's thread;
// callbacks run there too. Destroying a returned handle cancels the work.
class RunLoop {
  public:
    virtual ~RunLoop() = default;

    virtual MonotonicTime now() const = 0;

    // Runs `task` soon, after the work already posted.
    virtual Handle post(Task task) = 0;
    virtual Handle after(Duration delay, Task task) = 0;
    // Runs `task` every `interval`, the first time one interval from now.
    virtual Handle every(Duration interval, Task task) = 0;
    // Calls `onReadable` whenever `fd` has data to read (level-triggered).
    virtual Handle watchReadable(int fd, Task onReadable) = 0;

    // Thread-safe: hands work to the loop from another thread. Not cancellable.
    virtual void postFromAnyThread(Task task) = 0;
};

}  // namespace olvane::platform
