#pragma once

#include <memory>
#include <optional>

#include "platform/EventTap.h"
#include "platform/RunLoop.h"
#include "platform/linux/X11Pointer.h"

namespace olvane::platform::os {

// The pointer through X11 alone: XInput 2 raw motion says that the pointer moved, and the tap
// pulls it back to where its owner wants it. The X server has already delivered the movement
// to the windows, so nothing can be swallowed: a swallow verdict moves the pointer back to
// where the tap last left it, a pass verdict lets the movement stand. The movement is measured
// on screen (after the server's acceleration), in whole pixels. Scrolling is not delivered:
// it cannot be taken back.
class X11EventTap final : public EventTap {
  public:
    // Null without an X server that speaks XInput 2.2.
    static std::unique_ptr<X11EventTap> create(RunLoop& loop, const std::string& display = {});
    ~X11EventTap() override;
    X11EventTap(const X11EventTap&) = delete;
    X11EventTap& operator=(const X11EventTap&) = delete;

    std::unique_ptr<Tap> createTap(Callback callback) override;
    // While a tap is on: where it holds the pointer.
    std::optional<Point> pointerLocation() override;
    Handle observeMotion(std::function<void()> onMove) override;
    void warpCursor(Point position) override;
    // The warp has already told the windows: nothing to post.
    bool postMouseEvent(TapEventType type, Point position, MouseButton button) override;
    // Never asked: no scroll is delivered.
    bool postScroll(const ScrollPost& scroll) override;
    std::vector<Rect> activeDisplayBounds() override;

  private:
    class X11Tap;

    X11EventTap(RunLoop& loop, std::unique_ptr<X11Pointer> pointer)
        : loop_(loop), pointer_(std::move(pointer)) {}
    bool setTapEnabled(bool enabled);
    void followPointer();

    RunLoop& loop_;
    std::unique_ptr<X11Pointer> pointer_;
    X11Tap* tap_ = nullptr;
    // Where the tap holds the pointer.
    Point anchor_;
    // Where the pointer was when the event being delivered was read; absent outside delivery.
    std::optional<Point> seenDuringDelivery_;
    bool warpedDuringDelivery_ = false;
    Handle rawMotion_;
    Handle pendingMotion_;
};

}  // namespace olvane::platform::os
