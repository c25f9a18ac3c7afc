#pragma once

#include <memory>

#include "platform/Geometry.h"

namespace olvane::platform {

// A borderless window above the others that an effect places over a target. Destroying it
// closes it. It is placed in global display coordinates, the window server's pixels; its content
// is laid out in the window's own units, which a desktop scaled beyond 100 % makes larger.
class OverlayWindow {
  public:
    virtual ~OverlayWindow() = default;
    // In global display coordinates.
    virtual Rect frame() const = 0;
    // Moves and resizes it, redrawn at once.
    virtual void setFrame(const Rect& frame) = 0;
    // A point of the desktop (global display coordinates) in the window's own units, from its
    // top left.
    virtual Point localPoint(const Point& point) const {
        const Rect at = frame();
        return {point.x - at.x, point.y - at.y};
    }
    // Shows it above the other windows without taking the focus.
    virtual void orderFront() = 0;
    virtual void orderOut() = 0;
};

// Makes the overlays that show one kind of content. The window draws `content` and redraws it
// whenever it changes; the content outlives the window. Each content kind fixes its window's
// rules (translucency, whether clicks go through), which the implementation knows.
template <typename Content>
class OverlayWindowFactory {
  public:
    virtual ~OverlayWindowFactory() = default;
    // Not shown yet; `frame` in global display coordinates.
    virtual std::unique_ptr<OverlayWindow> createOverlay(const Rect& frame, Content& content) = 0;
};

}  // namespace olvane::platform
