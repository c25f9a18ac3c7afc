#pragma once

#include <functional>

#include "platform/Handle.h"

namespace olvane::platform {

// Frames paced by the display, for animations. The callback runs on the run loop.
class FrameClock {
  public:
    virtual ~FrameClock() = default;
    // Calls `onFrame` at every frame until the handle goes; an empty handle when no clock can
    // be started. Its users may drop frames closer together than they need: a clock driven by a
    // timer should not fire early.
    virtual Handle start(std::function<void()> onFrame) = 0;
};

}  // namespace olvane::platform
