#include "platform/linux/X11OverlayClickFocus.h"

#include <xcb/xinput.h>

#include "platform/linux/Ewmh.h"
#include "platform/linux/X11OverlayWindows.h"

namespace olvane::platform::os {
namespace {

// Left, middle and right: the buttons that focus the window they press; the wheel does not.
constexpr std::uint32_t kLastClickButton = 3;

// How far apart, in the server's milliseconds, an offer and the press of its click may be. The
// compositor stamps the offer with the click's time, or the server's as it handles the click;
// the server stamps the press as it gets it from the compositor, later, and a busy machine
// delays it.
constexpr std::int32_t kPressBeforeOfferMs = 200;
constexpr std::int32_t kPressAfterOfferMs = 2000;

bool sameClick(xcb_timestamp_t press, xcb_timestamp_t offer) {
    // The server's time goes round in 49 days.
    const auto after = static_cast<std::int32_t>(press - offer);
    return after >= -kPressBeforeOfferMs && after <= kPressAfterOfferMs;
}

}  // namespace

std::unique_ptr<X11OverlayClickFocus> X11OverlayClickFocus::create(RunLoop& loop,
                                                                   const std::string& display) {
    auto x = X11Connection::open(display);
    if (!x) {
        return nullptr;
    }
    const auto xinput = x->xinput2Opcode(2);
    if (!xinput) {
        return nullptr;
    }
    std::unique_ptr<X11OverlayClickFocus> focus(new X11OverlayClickFocus(std::move(x), *xinput));
    focus->events_ = focus->x_->watchEvents(
        loop,
        [source = focus.get()](const xcb_generic_event_t& event) { source->handleEvent(event); });
    return focus;
}

X11OverlayClickFocus::X11OverlayClickFocus(std::unique_ptr<X11Connection> x,
                                           std::uint8_t xinputOpcode)
    : x_(std::move(x)),
      xinputOpcode_(xinputOpcode),
      presses_(*x_, XCB_INPUT_XI_EVENT_MASK_RAW_BUTTON_PRESS) {}

X11OverlayClickFocus::~X11OverlayClickFocus() {
    *alive_ = false;
    events_.cancel();
}

Handle X11OverlayClickFocus::passOn(xcb_window_t fog, xcb_window_t target) {
    return follow(fog, {target, {}, std::nullopt});
}

Handle X11OverlayClickFocus::passOn(xcb_window_t fog, std::function<void()> giveFocus) {
    return follow(fog, {XCB_NONE, std::move(giveFocus), std::nullopt});
}

Handle X11OverlayClickFocus::follow(xcb_window_t fog, Fog entry) {
    fogs_[fog] = std::move(entry);
    auto presses = std::make_shared<Handle>(
        presses_.observe([this, fog](const Press&) { passOnIfClicked(fog); }));
    return Handle([this, fog, presses, alive = std::weak_ptr(alive_)] {
        presses->cancel();
        if (const auto living = alive.lock(); living && *living) {
            fogs_.erase(fog);
        }
    });
}

bool X11OverlayClickFocus::offered(xcb_window_t window, xcb_timestamp_t time) {
    const auto fog = fogs_.find(window);
    if (fog == fogs_.end()) {
        return false;
    }
    fog->second.offer = time;
    passOnIfClicked(window);
    return true;
}

void X11OverlayClickFocus::handleEvent(const xcb_generic_event_t& event) {
    if (xinputEventType(event, xinputOpcode_) != XCB_INPUT_RAW_BUTTON_PRESS) {
        return;
    }
    const auto& press = reinterpret_cast<const xcb_input_raw_button_press_event_t&>(event);
    if (press.detail < 1 || press.detail > kLastClickButton) {
        return;
    }
    // Where the pointer stands as the press is read, a moment after it came.
    const XcbPtr<xcb_query_pointer_reply_t> pointer(
        xcb_query_pointer_reply(x_->get(), xcb_query_pointer(x_->get(), x_->root()), nullptr));
    x_->deliverQueuedEventsSoon();
    if (!pointer) {
        return;
    }
    lastPress_ = Press{press.time, pointer->child, pointer->root_x, pointer->root_y};
    presses_.emit(*lastPress_);
}

void X11OverlayClickFocus::passOnIfClicked(xcb_window_t window) {
    const auto fog = fogs_.find(window);
    if (fog == fogs_.end() || !fog->second.offer || !lastPress_ ||
        !sameClick(lastPress_->time, *fog->second.offer)) {
        return;
    }
    if (fog->second.giveFocus) {
        if (!clickedWithin(window)) {
            return;
        }
        fog->second.offer.reset();
        fog->second.giveFocus();
        return;
    }
    if (overlay::topLevelOf(*x_, fog->second.target) != lastPress_->window) {
        return;
    }
    ewmh::requestActivation(*x_, fog->second.target, *fog->second.offer, window);
    x_->deliverQueuedEventsSoon();
    fog->second.offer.reset();
}

bool X11OverlayClickFocus::clickedWithin(xcb_window_t fog) const {
    const auto frame = ewmh::windowBounds(*x_, fog);
    x_->deliverQueuedEventsSoon();
    return frame && frame->contains(Point{double(lastPress_->x), double(lastPress_->y)});
}

}  // namespace olvane::platform::os
