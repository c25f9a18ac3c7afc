#include "platform/QueuedTasks.h"

namespace olvane::platform {

QueuedTasks::QueuedTasks(RunLoop& loop) : loop_(loop), alive_(std::make_shared<bool>(true)) {}

QueuedTasks::~QueuedTasks() = default;

void QueuedTasks::post(Task task) {
    const auto id = nextId_++;
    pending_[id] = loop_.post([this, id, task = std::move(task)] {
        // The loop runs the task from its own copy, so the entry can go first.
        pending_.erase(id);
        task();
    });
}

std::function<void(Task)> QueuedTasks::anyThreadPoster() const {
    return [&loop = loop_, alive = std::weak_ptr<bool>(alive_)](Task task) {
        loop.postFromAnyThread([alive, task = std::move(task)] {
            if (alive.lock()) {
                task();
            }
        });
    };
}

}  // namespace olvane::platform
