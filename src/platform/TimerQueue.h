#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <utility>

#include "platform/Clock.h"
#include "platform/Handle.h"
#include "platform/RunLoop.h"

namespace olvane::platform {

// Timed work in due order (FIFO among equal times), shared by the loops.
class TimerQueue {
  public:
    TimerQueue();

    // `repeat` zero: once.
    Handle schedule(MonotonicTime due, Duration repeat, Task task);
    // Work that nothing can cancel (handed over from another thread).
    void scheduleDetached(MonotonicTime due, Task task);
    std::optional<MonotonicTime> nextDue() const;
    // Runs the earliest work due at or before `limit`; false when there is none. `onFire` receives
    // the time the work was due, before it runs, so a virtual clock can move there.
    bool runNextDue(MonotonicTime limit, const std::function<void(MonotonicTime)>& onFire = {});
    bool empty() const;
    std::size_t size() const { return state_->order.size(); }

  private:
    using Key = std::pair<MonotonicTime, std::uint64_t>;
    struct Entry {
        Key key;
        Duration repeat;
        std::shared_ptr<Task> task;
    };
    struct State {
        std::map<Key, std::uint64_t> order;
        std::map<std::uint64_t, Entry> entries;
        std::uint64_t nextSequence = 1;
        void cancel(std::uint64_t id);
    };

    std::uint64_t insert(MonotonicTime due, Duration repeat, Task task);

    std::shared_ptr<State> state_;
};

}  // namespace olvane::platform
