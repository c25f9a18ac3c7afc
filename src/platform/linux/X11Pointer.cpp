#include "platform/linux/X11Pointer.h"

#include <xcb/xinput.h>

namespace olvane::platform::os {

std::unique_ptr<X11Pointer> X11Pointer::create(RunLoop& loop, const std::string& display) {
    auto x = X11Connection::open(display);
    if (!x) {
        return nullptr;
    }
    const auto xinput = x->xinput2Opcode(0);
    if (!xinput) {
        return nullptr;
    }
    std::unique_ptr<X11Pointer> pointer(new X11Pointer(std::move(x), *xinput));
    pointer->events_ = pointer->x_->watchEvents(
        loop, [raw = pointer.get()](const xcb_generic_event_t& event) { raw->handleEvent(event); });
    return pointer;
}

X11Pointer::X11Pointer(std::unique_ptr<X11Connection> x, std::uint8_t xinputOpcode)
    : x_(std::move(x)), xinputOpcode_(xinputOpcode) {}

X11Pointer::~X11Pointer() {
    *alive_ = false;
    events_.cancel();
}

std::optional<Point> X11Pointer::pointerLocation() {
    const XcbPtr<xcb_query_pointer_reply_t> reply(
        xcb_query_pointer_reply(x_->get(), xcb_query_pointer(x_->get(), x_->root()), nullptr));
    x_->deliverQueuedEventsSoon();
    if (!reply) {
        return std::nullopt;
    }
    return Point{double(reply->root_x), double(reply->root_y)};
}

Handle X11Pointer::observeMotion(std::function<void()> onMove) {
    if (moved_.size() == 0 && !selectRawMotion(true)) {
        return {};
    }
    auto slot =
        std::make_shared<Handle>(moved_.connect([onMove = std::move(onMove)] { onMove(); }));
    return Handle([this, slot, alive = std::weak_ptr(alive_)] {
        slot->cancel();
        if (const auto living = alive.lock(); living && *living && moved_.size() == 0) {
            (void)selectRawMotion(false);
        }
    });
}

bool X11Pointer::selectRawMotion(bool wanted) {
    struct {
        xcb_input_event_mask_t header;
        std::uint32_t bits;
    } mask{{XCB_INPUT_DEVICE_ALL_MASTER, 1},
           wanted ? std::uint32_t{XCB_INPUT_XI_EVENT_MASK_RAW_MOTION} : 0u};
    // Checked: once this returns, every move the server sees is reported.
    const XcbPtr<xcb_generic_error_t> error(xcb_request_check(
        x_->get(), xcb_input_xi_select_events_checked(x_->get(), x_->root(), 1, &mask.header)));
    x_->deliverQueuedEventsSoon();
    return !error;
}

void X11Pointer::handleEvent(const xcb_generic_event_t& event) {
    if ((event.response_type & 0x7F) != XCB_GE_GENERIC) {
        return;
    }
    const auto& generic = reinterpret_cast<const xcb_ge_generic_event_t&>(event);
    if (generic.extension == xinputOpcode_ && generic.event_type == XCB_INPUT_RAW_MOTION) {
        moved_.emit();
    }
}

}  // namespace olvane::platform::os
