#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "platform/Handle.h"

namespace olvane::platform {

// A list of observers called synchronously. Observers may connect or disconnect others, or
// themselves, while a notification runs; a handle outliving the signal is harmless.
template <typename... Args>
class Signal {
  public:
    using Slot = std::function<void(const Args&...)>;

    Handle connect(Slot slot) {
        const auto id = nextId_++;
        state_->slots.push_back({id, std::make_shared<Slot>(std::move(slot))});
        return Handle([weak = std::weak_ptr<State>(state_), id] {
            if (auto state = weak.lock()) {
                std::erase_if(state->slots, [id](const Entry& e) { return e.id == id; });
            }
        });
    }

    void emit(const Args&... args) const {
        const auto snapshot = state_->slots;
        std::weak_ptr<State> weak = state_;
        for (const auto& entry : snapshot) {
            auto state = weak.lock();
            if (!state || !contains(*state, entry.id)) {
                continue;
            }
            (*entry.slot)(args...);
        }
    }

    std::size_t size() const { return state_->slots.size(); }

  private:
    struct Entry {
        std::uint64_t id;
        std::shared_ptr<Slot> slot;
    };
    struct State {
        std::vector<Entry> slots;
    };

    static bool contains(const State& state, std::uint64_t id) {
        for (const auto& e : state.slots) {
            if (e.id == id) {
                return true;
            }
        }
        return false;
    }

    std::shared_ptr<State> state_ = std::make_shared<State>();
    std::uint64_t nextId_ = 1;
};

}  // namespace olvane::platform
