#pragma once

#include <cstdint>
#include <optional>

#include "platform/linux/X11Connection.h"

namespace olvane::platform::os {

// Asks for the XInput 2 events of `mask` (XCB_INPUT_XI_EVENT_MASK_…) from every master device on
// the root window; 0 stops them. False when the server refused. A round trip: once it returns,
// every such event the server sees is reported.
bool selectRootInputEvents(X11Connection& x, std::uint32_t mask);

// The XInput 2 event type of `event` when it is one of XInput's (major opcode `xinput`).
std::optional<std::uint16_t> xinputEventType(const xcb_generic_event_t& event, std::uint8_t xinput);

}  // namespace olvane::platform::os
