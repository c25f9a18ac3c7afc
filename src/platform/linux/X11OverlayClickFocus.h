#pragma once

#include <xcb/xcb.h>

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>

#include "platform/Handle.h"
#include "platform/RunLoop.h"
#include "platform/linux/X11Connection.h"
#include "platform/linux/X11Input.h"

namespace olvane::platform::os {

// Gives a fog's target the focus of a click through the fog, under Xwayland: the X server hands
// the press to the target, but the compositor, which sees no input shape, takes it for a click
// on the fog and offers the fog the focus (WM_TAKE_FOCUS). Such an offer is passed on to the
// target, which comes forward with the focus as it would without a fog. The compositor offers
// the focus also when the fog is shown, which must move nothing: an offer is a click's only when
// the X server saw a button pressed on the target at about the offer's time.
class X11OverlayClickFocus {
  public:
    // Null when no X server answers or it lacks XInput 2.2.
    static std::unique_ptr<X11OverlayClickFocus> create(RunLoop& loop,
                                                        const std::string& display = {});
    ~X11OverlayClickFocus();
    X11OverlayClickFocus(const X11OverlayClickFocus&) = delete;
    X11OverlayClickFocus& operator=(const X11OverlayClickFocus&) = delete;

    // While the handle lives, the focus a click offers `fog` goes to `target`, both top-level
    // client windows.
    Handle passOn(xcb_window_t fog, xcb_window_t target);
    // The same for a target the X server does not know (a native Wayland window), which
    // `giveFocus` gives the focus: under it, a click comes to Xwayland on the fog, and counts
    // when pressed within the fog's frame.
    Handle passOn(xcb_window_t fog, std::function<void()> giveFocus);
    // The window manager offered `window` the focus at `time`; false when it is no fog here.
    bool offered(xcb_window_t window, xcb_timestamp_t time);

  private:
    struct Press {
        xcb_timestamp_t time;
        // The top-level window under the pointer, and where the pointer stands on the root.
        xcb_window_t window;
        std::int16_t x;
        std::int16_t y;
    };
    struct Fog {
        xcb_window_t target;
        std::function<void()> giveFocus;
        std::optional<xcb_timestamp_t> offer;
    };

    Handle follow(xcb_window_t fog, Fog entry);
    bool clickedWithin(xcb_window_t fog) const;

    X11OverlayClickFocus(std::unique_ptr<X11Connection> x, std::uint8_t xinputOpcode);
    void handleEvent(const xcb_generic_event_t& event);
    // Passes the fog's pending offer on when the last press was a click on its target.
    void passOnIfClicked(xcb_window_t window);

    std::unique_ptr<X11Connection> x_;
    std::uint8_t xinputOpcode_;
    RootInputObservers<Press> presses_;
    std::map<xcb_window_t, Fog> fogs_;
    std::optional<Press> lastPress_;
    Handle events_;
    std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);
};

}  // namespace olvane::platform::os
