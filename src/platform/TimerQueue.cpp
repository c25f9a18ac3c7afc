#include "platform/TimerQueue.h"

namespace olvane::platform {

TimerQueue::TimerQueue() : state_(std::make_shared<State>()) {}

void TimerQueue::State::cancel(std::uint64_t id) {
    auto it = entries.find(id);
    if (it == entries.end()) {
        return;
    }
    order.erase(it->second.key);
    entries.erase(it);
}

std::uint64_t TimerQueue::insert(MonotonicTime due, Duration repeat, Task task) {
    auto& state = *state_;
    const auto id = state.nextSequence++;
    const Key key{due, id};
    state.entries.emplace(id, Entry{key, repeat, std::make_shared<Task>(std::move(task))});
    state.order.emplace(key, id);
    return id;
}

Handle TimerQueue::schedule(MonotonicTime due, Duration repeat, Task task) {
    const auto id = insert(due, repeat, std::move(task));
    return Handle([weak = std::weak_ptr<State>(state_), id] {
        if (auto s = weak.lock()) {
            s->cancel(id);
        }
    });
}

void TimerQueue::scheduleDetached(MonotonicTime due, Task task) {
    insert(due, Duration::zero(), std::move(task));
}

std::optional<MonotonicTime> TimerQueue::nextDue() const {
    if (state_->order.empty()) {
        return std::nullopt;
    }
    return state_->order.begin()->first.first;
}

bool TimerQueue::empty() const {
    return state_->order.empty();
}

bool TimerQueue::runNextDue(MonotonicTime limit, const std::function<void(MonotonicTime)>& onFire) {
    auto state = state_;
    if (state->order.empty() || state->order.begin()->first.first > limit) {
        return false;
    }
    const auto [key, id] = *state->order.begin();
    state->order.erase(state->order.begin());
    auto& entry = state->entries.at(id);
    const auto repeat = entry.repeat;
    // The task runs from a local copy: it may cancel its own handle, or schedule more work.
    const std::shared_ptr<Task> task = entry.task;
    if (repeat.count() <= 0) {
        state->entries.erase(id);
    } else {
        const Key next{key.first + repeat, state->nextSequence++};
        entry.key = next;
        state->order.emplace(next, id);
    }
    if (onFire) {
        onFire(key.first);
    }
    (*task)();
    return true;
}

}  // namespace olvane::platform
