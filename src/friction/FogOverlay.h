#pragma once

#include <cstdint>
#include <memory>

#include "friction/FogEffectState.h"
#include "platform/Geometry.h"
#include "platform/OverlayWindow.h"

namespace olvane {

// One covered target window: the overlay window over it and what that window draws.
struct FogOverlay {
    // Before the window, which draws it: the window goes first.
    std::unique_ptr<FogEffectState> state;
    std::unique_ptr<platform::OverlayWindow> window;
    // The target window's bounds.
    platform::Rect bounds;
    std::uint32_t windowID = 0;
};

}  // namespace olvane
