#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "platform/Geometry.h"
#include "platform/PointerLocation.h"

namespace olvane::platform {

// What a tap sees: pointer movements and drags, scrolling, and the notices that it was switched
// off behind its owner's back.
enum class TapEventType : std::uint8_t {
    mouseMoved,
    leftMouseDragged,
    rightMouseDragged,
    scrollWheel,
    // The session stopped the tap because its owner answered too slowly; the tap is now
    // disabled. Delivered even though the tap is disabled.
    tapDisabledByTimeout,
    // The session stopped the tap for a reason of its own (a device went away…); the tap is now
    // disabled.
    tapDisabledByUserInput,
};

struct TapEvent {
    TapEventType type = TapEventType::mouseMoved;
    // The pointer's movement in whole pixels (the pointer kinds).
    std::int64_t deltaX = 0;
    std::int64_t deltaY = 0;
    // Scrolling in pixels, fractions kept (the scroll kind): the vertical axis and the
    // horizontal one.
    double scrollVertical = 0;
    double scrollHorizontal = 0;
};

// What becomes of an event the tap saw: it goes on to the applications, or it is swallowed.
enum class TapVerdict : std::uint8_t { pass, swallow };

enum class MouseButton : std::uint8_t { left, right };

// A synthetic scroll in pixels: one wheel (vertical) or two (the second horizontal).
struct ScrollPost {
    int wheelCount = 1;
    std::int32_t wheel1 = 0;
    std::int32_t wheel2 = 0;

    bool operator==(const ScrollPost&) const = default;
};

// The session's pointer input, seen before any application gets it: a tap that may swallow
// pointer movements and scrolling, and the means to replay them (moving the pointer, posting
// synthetic events). The tap's callback and every member run on the run loop.
//
// Two ways serve on Linux: grabbing the pointer devices and re-emitting through a virtual one
// (the swallowed events never reach the session), or observing raw motion and pulling the
// pointer back by warps (nothing is swallowed; a swallow verdict only asks for the pull-back).
class EventTap : public PointerLocation {
  public:
    using Callback = std::function<TapVerdict(const TapEvent&)>;

    // One installed tap. Destroying it disables it and gives back what it holds (grabs,
    // descriptors). Its callback must not destroy it.
    class Tap {
      public:
        virtual ~Tap() = default;
        // Starts delivering the tap's events on the run loop; false when the loop cannot take
        // them.
        virtual bool addToRunLoop() = 0;
        virtual void setEnabled(bool enabled) = 0;
        // False once the session has switched it off.
        virtual bool isEnabled() const = 0;
    };

    // A disabled tap for the four pointer kinds, or null when the session refuses one (no
    // access to the input devices).
    virtual std::unique_ptr<Tap> createTap(Callback callback) = 0;

    // Moves the pointer there, in global display coordinates.
    virtual void warpCursor(Point position) = 0;
    // Tells the applications the pointer moved there (kind mouseMoved or one of the drags); a
    // way whose warp already does so may post nothing. False when no event could be made.
    virtual bool postMouseEvent(TapEventType type, Point position, MouseButton button) = 0;
    // False when no event could be made.
    virtual bool postScroll(const ScrollPost& scroll) = 0;

    // The bounds of the active displays, at most 16, in global display coordinates; empty when
    // they cannot be had.
    virtual std::vector<Rect> activeDisplayBounds() = 0;
};

}  // namespace olvane::platform
