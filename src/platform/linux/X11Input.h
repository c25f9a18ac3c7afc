#pragma once

#include <cstdint>
#include <memory>
#include <optional>

#include "platform/Handle.h"
#include "platform/Signal.h"
#include "platform/linux/X11Connection.h"

namespace olvane::platform::os {

// Asks for the XInput 2 events of `mask` (XCB_INPUT_XI_EVENT_MASK_…) from every master device on
// the root window; 0 stops them. False when the server refused. A round trip: once it returns,
// every such event the server sees is reported.
bool selectRootInputEvents(X11Connection& x, std::uint32_t mask);

// The XInput 2 event type of `event` when it is one of XInput's (major opcode `xinput`).
std::optional<std::uint16_t> xinputEventType(const xcb_generic_event_t& event, std::uint8_t xinput);

// Observers of XInput 2 events of the root window, which are asked of the server only while one
// observes: each event of the session would otherwise wake the program for nothing.
template <typename... Args>
class RootInputObservers {
  public:
    RootInputObservers(X11Connection& x, std::uint32_t mask) : x_(x), mask_(mask) {}

    // An empty handle when the server refused the events.
    Handle observe(typename Signal<Args...>::Slot slot) {
        if (signal_.size() == 0 && !selectRootInputEvents(x_, mask_)) {
            return {};
        }
        auto connection = std::make_shared<Handle>(signal_.connect(std::move(slot)));
        return Handle([this, connection, alive = std::weak_ptr(alive_)] {
            connection->cancel();
            if (alive.lock() && signal_.size() == 0) {
                (void)selectRootInputEvents(x_, 0);
            }
        });
    }
    void emit(const Args&... args) const { signal_.emit(args...); }

  private:
    X11Connection& x_;
    std::uint32_t mask_;
    Signal<Args...> signal_;
    std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);
};

}  // namespace olvane::platform::os
