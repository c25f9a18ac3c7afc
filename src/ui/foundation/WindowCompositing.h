#pragma once

namespace olvane::ui {

// Whether the transparent parts of a window show what lies under it. On X11 only a running
// compositing manager does that; without one they are black.
bool translucentWindowsAreComposited();

}  // namespace olvane::ui
