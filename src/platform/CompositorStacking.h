#pragma once

#include <cstdint>
#include <functional>
#include <vector>

#include "platform/Geometry.h"
#include "platform/Handle.h"

namespace olvane::platform {

// Keeps an effect's window right above a window that only the compositor can stack it against
// (a native Wayland window, which has no X11 id), through a companion inside the compositor.
class CompositorStacking {
  public:
    struct Callbacks {
        // Where the compositor cannot restack: the window must be raised to the top now.
        std::function<void()> raiseToTop;
        // The parts of the target, in global display coordinates, that windows in front of it
        // cover, where the effect's window must not draw; empty once none.
        std::function<void(const std::vector<Rect>&)> coveredParts;
    };

    virtual ~CompositorStacking() = default;

    // Whether the window numbered `target` (the window server's number) is one to stack
    // against this way.
    virtual bool keeps(std::uint32_t target) const = 0;
    // While the handle lives; `overlay` is the effect's own X11 window.
    virtual Handle keepJustAbove(std::uint32_t overlay, std::uint32_t target,
                                 Callbacks callbacks) = 0;
    // Gives the target the focus (a click through the effect's window).
    virtual void activate(std::uint32_t target) = 0;
};

}  // namespace olvane::platform
