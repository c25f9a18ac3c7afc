#include "platform/linux/X11Input.h"

#include <xcb/xinput.h>

namespace olvane::platform::os {

bool selectRootInputEvents(X11Connection& x, std::uint32_t mask) {
    struct {
        xcb_input_event_mask_t header;
        std::uint32_t bits;
    } selection{{XCB_INPUT_DEVICE_ALL_MASTER, 1}, mask};
    const XcbPtr<xcb_generic_error_t> error(xcb_request_check(
        x.get(), xcb_input_xi_select_events_checked(x.get(), x.root(), 1, &selection.header)));
    x.deliverQueuedEventsSoon();
    return !error;
}

std::optional<std::uint16_t> xinputEventType(const xcb_generic_event_t& event,
                                             std::uint8_t xinput) {
    if ((event.response_type & 0x7f) != XCB_GE_GENERIC) {
        return std::nullopt;
    }
    const auto& generic = reinterpret_cast<const xcb_ge_generic_event_t&>(event);
    if (generic.extension != xinput) {
        return std::nullopt;
    }
    return generic.event_type;
}

}  // namespace olvane::platform::os
