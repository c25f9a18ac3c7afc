#pragma once

#include <sys/types.h>

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/ComposedText.h"
#include "platform/Geometry.h"
#include "platform/linux/WindowApplications.h"

namespace olvane::platform::os {

// One top-level window as the compositor's companion reports it.
struct CompositorWindow {
    // The companion's own name of the window, stable while it lives.
    std::string id;
    // The X11 window of an Xwayland window; 0 for a native Wayland one.
    std::uint32_t x11 = 0;
    std::optional<pid_t> pid;
    WindowNames names;
    // As EWMH names the window types ("NORMAL", "DOCK"…).
    std::string type = "NORMAL";
    bool keptAbove = false;
    // The client area, in the compositor's global logical pixels, and what the window covers
    // (with the frame the compositor draws; the client area when not told).
    Rect client;
    Rect frame;
    // The compositor's pixels to one of the user's points where the window is.
    double pointScale = 1;
    bool shown = true;

    bool operator==(const CompositorWindow&) const = default;
};

// Every top-level window, front to back, and the focused one.
struct CompanionReport {
    std::vector<CompositorWindow> windows;
    std::optional<std::string> focus;

    bool operator==(const CompanionReport&) const = default;
};

// Reports larger than this are refused whole: a session has a few hundred windows at most.
inline constexpr std::size_t kMaxReportedWindows = 4096;

// The report of `text`; nullopt with `error` said when it is not one. A window whose own
// members are wrong is left out, so that the rest still serves.
std::optional<CompanionReport> parseCompanionReport(std::string_view text, ComposedText& error);

// The pointer of a "Pointer" call.
std::optional<Point> parseCompanionPointer(std::string_view text);

}  // namespace olvane::platform::os
