#pragma once

#include <optional>

#include "platform/Geometry.h"

namespace olvane::platform {

// Where the pointer is on the desktop.
class PointerLocation {
  public:
    virtual ~PointerLocation() = default;
    // In global display coordinates; absent when it cannot be had.
    virtual std::optional<Point> pointerLocation() = 0;
};

}  // namespace olvane::platform
