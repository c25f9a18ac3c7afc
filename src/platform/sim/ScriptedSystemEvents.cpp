#include "platform/sim/ScriptedSystemEvents.h"

namespace olvane::platform::sim {

Handle ScriptedSystemEvents::observe(SystemEvent event, std::function<void()> observer) {
    return events_[event].connect(std::move(observer));
}

Handle ScriptedSystemEvents::observeDisplayReconfiguration(DisplayReconfiguration observer) {
    return displays_.connect(std::move(observer));
}

void ScriptedSystemEvents::send(SystemEvent event) {
    const auto it = events_.find(event);
    if (it != events_.end()) {
        it->second.emit();
    }
}

void ScriptedSystemEvents::reconfigureDisplay(DisplayId display, std::uint32_t flags) {
    displays_.emit(display, flags);
}

std::size_t ScriptedSystemEvents::observerCount(SystemEvent event) const {
    const auto it = events_.find(event);
    return it == events_.end() ? 0 : it->second.size();
}

}  // namespace olvane::platform::sim
