#include "platform/linux/X11Pointer.h"

#include <xcb/xcbext.h>
#include <xcb/xinput.h>

#include <cmath>

#include "platform/linux/X11Input.h"
#include "platform/linux/X11Randr.h"

namespace olvane::platform::os {
namespace {

constexpr std::size_t kMaxDisplays = 16;

std::int16_t coordinate(double value) {
    return static_cast<std::int16_t>(std::lround(value));
}

}  // namespace

std::unique_ptr<X11Pointer> X11Pointer::create(RunLoop& loop, const std::string& display) {
    auto x = X11Connection::open(display);
    if (!x) {
        return nullptr;
    }
    // 2.2: raw motion reaches every client that asks, whoever grabs the pointer.
    const auto xinput = x->xinput2Opcode(2);
    if (!xinput) {
        return nullptr;
    }
    std::unique_ptr<X11Pointer> pointer(new X11Pointer(std::move(x), *xinput));
    pointer->events_ = pointer->x_->watchEvents(
        loop, [raw = pointer.get()](const xcb_generic_event_t& event) { raw->handleEvent(event); });
    return pointer;
}

X11Pointer::X11Pointer(std::unique_ptr<X11Connection> x, std::uint8_t xinputOpcode)
    : x_(std::move(x)),
      xinputOpcode_(xinputOpcode),
      moved_(*x_, XCB_INPUT_XI_EVENT_MASK_RAW_MOTION) {}

X11Pointer::~X11Pointer() {
    events_.cancel();
    if (question_) {
        xcb_discard_reply(x_->get(), *question_);
    }
}

std::optional<Point> X11Pointer::pointerLocation() {
    if (const auto current = state()) {
        return current->position;
    }
    return std::nullopt;
}

Handle X11Pointer::observeMotion(std::function<void()> onMove) {
    return moved_.observe([onMove = std::move(onMove)] { onMove(); });
}

std::optional<X11Pointer::State> X11Pointer::state() {
    const XcbPtr<xcb_query_pointer_reply_t> reply(
        xcb_query_pointer_reply(x_->get(), xcb_query_pointer(x_->get(), x_->root()), nullptr));
    x_->deliverQueuedEventsSoon();
    if (!reply) {
        return std::nullopt;
    }
    return State{.position = {double(reply->root_x), double(reply->root_y)},
                 .leftButton = (reply->mask & XCB_BUTTON_MASK_1) != 0,
                 .rightButton = (reply->mask & XCB_BUTTON_MASK_3) != 0};
}

void X11Pointer::askPosition() {
    if (question_ || !x_->isUsable()) {
        return;
    }
    question_ = xcb_query_pointer(x_->get(), x_->root()).sequence;
    x_->flush();
}

std::optional<Point> X11Pointer::takePositionAnswer() {
    if (!question_) {
        return std::nullopt;
    }
    void* answer = nullptr;
    xcb_generic_error_t* error = nullptr;
    if (xcb_poll_for_reply(x_->get(), *question_, &answer, &error) == 0) {
        return std::nullopt;
    }
    question_.reset();
    const XcbPtr<xcb_query_pointer_reply_t> reply(static_cast<xcb_query_pointer_reply_t*>(answer));
    const XcbPtr<xcb_generic_error_t> refusal(error);
    // Reading the answer may have queued events.
    x_->deliverQueuedEventsSoon();
    if (!reply) {
        return std::nullopt;
    }
    return Point{double(reply->root_x), double(reply->root_y)};
}

void X11Pointer::warpTo(Point position) {
    xcb_warp_pointer(x_->get(), XCB_NONE, x_->root(), 0, 0, 0, 0, coordinate(position.x),
                     coordinate(position.y));
    x_->flush();
}

void X11Pointer::warpBy(double dx, double dy) {
    xcb_warp_pointer(x_->get(), XCB_NONE, XCB_NONE, 0, 0, 0, 0, coordinate(dx), coordinate(dy));
    x_->flush();
}

std::vector<Rect> X11Pointer::displayBounds() {
    std::vector<Rect> bounds;
    for (const auto& screen : desktopScreens(*x_)) {
        if (bounds.size() == kMaxDisplays) {
            break;
        }
        bounds.push_back(screen.frame);
    }
    x_->deliverQueuedEventsSoon();
    return bounds;
}

void X11Pointer::handleEvent(const xcb_generic_event_t& event) {
    if (xinputEventType(event, xinputOpcode_) == XCB_INPUT_RAW_MOTION) {
        moved_.emit();
    }
}

}  // namespace olvane::platform::os
