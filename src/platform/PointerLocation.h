#pragma once

#include <functional>
#include <optional>

#include "platform/Geometry.h"
#include "platform/Handle.h"

namespace olvane::platform {

// Where the pointer is on the desktop.
class PointerLocation {
  public:
    virtual ~PointerLocation() = default;
    // In global display coordinates; absent when it cannot be had.
    virtual std::optional<Point> pointerLocation() = 0;
    // Calls `onMove` on the run loop whenever the pointer moves, until the handle goes. An empty
    // handle when this source cannot tell: its users must then keep asking where it is.
    virtual Handle observeMotion(std::function<void()> onMove) {
        (void)onMove;
        return {};
    }
};

}  // namespace olvane::platform
