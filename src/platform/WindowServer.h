#pragma once

#include <sys/types.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/Geometry.h"

namespace olvane::platform {

// The layer of ordinary application windows (normal and dialog windows). Docks, panels kept
// above the others, menus, tooltips and notifications lie on higher layers.
inline constexpr int kNormalWindowLayer = 0;
inline constexpr int kFloatingWindowLayer = 3;

// One top-level window as the window server lists it.
struct WindowInfo {
    std::uint32_t windowNumber = 0;
    // Absent when the window does not say which process owns it.
    std::optional<pid_t> ownerPid;
    Rect bounds;
    int layer = kNormalWindowLayer;
    // False for minimised, hidden and other-workspace windows.
    bool isOnScreen = true;

    bool operator==(const WindowInfo&) const = default;
};

struct Screen {
    std::string name;
    // In global display coordinates.
    Rect frame;

    bool operator==(const Screen&) const = default;
};

enum class WindowListScope : std::uint8_t {
    OnScreenOnly,
    All,
};

// The session's windows and screens. Desktop elements (the desktop window, its icons) never
// appear in the lists.
class WindowServer {
  public:
    virtual ~WindowServer() = default;

    // The top-level windows front to back; absent when the window server cannot be asked.
    virtual std::optional<std::vector<WindowInfo>> windowList(WindowListScope scope) = 0;
    // The screens, the primary one first; empty when none can be found.
    virtual std::vector<Screen> screens() = 0;
};

}  // namespace olvane::platform
