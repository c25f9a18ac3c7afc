#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "platform/EventTap.h"
#include "platform/LoopStallGuard.h"
#include "platform/RunLoop.h"
#include "platform/linux/EvdevPointerDevices.h"
#include "platform/linux/ReplayedPointerPosition.h"
#include "platform/linux/UinputPointer.h"
#include "platform/linux/X11Pointer.h"

namespace olvane::platform::os {

// How the evdev capture guards itself against a run loop that stops answering.
struct EvdevStallGuarding {
    LoopStallGuard::Timing timing{seconds(1.0), seconds(0.1)};
    // Told on the guard's thread once the mice are given back, with how long the loop had not
    // answered.
    std::function<void(Duration)> onGivenBack;
};

// The pointer through the kernel's input devices: while a tap is on, each mouse is grabbed
// (EVIOCGRAB), so its events reach nobody else, and the tap's owner replays what it keeps on a
// virtual pointer made through uinput; buttons pass through it unchanged. Movement is in the
// device's own units, before the desktop's acceleration; scrolling in high-resolution wheel
// units (120 a notch), so that small factors still slow it. A grab ends with the process, so a
// crash never leaves the pointer stuck; a run loop that stops answering does not either: a
// guard on a thread of its own then gives the mice back, and the tap is switched off as by a
// time-out once the loop answers again. A stop from the terminal (Ctrl+Z) gives them back, and
// lets go of the virtual pointer's buttons, before the program stops, and switches the tap off
// in the same way once it runs again.
//
// Positions and displays come from the X server when there is one, without waiting on it while
// replaying. Without one, the position is the sum of the movement replayed so far (only
// differences count) and no display is known.
class EvdevEventTap final : public EventTap {
  public:
    // `pointer`: the X server's, or null.
    EvdevEventTap(RunLoop& loop, std::unique_ptr<X11Pointer> pointer, InputDevicePlaces places = {},
                  EvdevStallGuarding guarding = {});
    ~EvdevEventTap() override;
    EvdevEventTap(const EvdevEventTap&) = delete;
    EvdevEventTap& operator=(const EvdevEventTap&) = delete;

    // Null when no mouse can be read or the virtual pointer cannot be made. The mice are those
    // present now: one plugged in later waits for the next tap.
    std::unique_ptr<Tap> createTap(Callback callback) override;
    std::optional<Point> pointerLocation() override;
    // The X server's raw motion; none without one.
    Handle observeMotion(std::function<void()> onMove) override;
    // Moves the virtual pointer by the difference from the position last told.
    void warpCursor(Point position) override;
    // The movement already tells the applications: nothing to post.
    bool postMouseEvent(TapEventType type, Point position, MouseButton button) override;
    bool postScroll(const ScrollPost& scroll) override;
    std::vector<Rect> activeDisplayBounds() override;

  private:
    class EvdevTap;

    RunLoop& loop_;
    std::unique_ptr<X11Pointer> pointer_;
    InputDevicePlaces places_;
    EvdevStallGuarding guarding_;
    // Made with the first tap and kept: a new input device each time would make the desktop
    // add and drop it again at every switch.
    std::unique_ptr<UinputPointer> virtualPointer_;
    ReplayedPointerPosition position_;
    // The position last told, which the next warp moves from: a newer answer of the server
    // must not move the pointer.
    std::optional<Point> lastLocation_;
};

}  // namespace olvane::platform::os
