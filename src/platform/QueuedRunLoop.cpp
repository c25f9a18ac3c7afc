#include "platform/QueuedRunLoop.h"

#include <algorithm>

namespace olvane::platform {

Handle QueuedRunLoop::scheduled(Handle handle) {
    timersChanged();
    return handle;
}

Handle QueuedRunLoop::post(Task task) {
    return scheduled(timers_.schedule(now(), Duration::zero(), std::move(task)));
}

Handle QueuedRunLoop::after(Duration delay, Task task) {
    const auto due = now() + std::max(delay, Duration::zero());
    return scheduled(timers_.schedule(due, Duration::zero(), std::move(task)));
}

Handle QueuedRunLoop::every(Duration interval, Task task) {
    const auto step = std::max(interval, Duration(1));
    return scheduled(timers_.schedule(now() + step, step, std::move(task)));
}

}  // namespace olvane::platform
