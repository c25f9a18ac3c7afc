#pragma once

#include <cstdint>

#include "platform/Geometry.h"

namespace olvane {

// An on-screen window of a target application.
struct TargetWindow {
    std::uint32_t windowID = 0;
    // Global display coordinates, as the window server lists them.
    platform::Rect bounds;

    bool operator==(const TargetWindow&) const = default;
};

}  // namespace olvane
