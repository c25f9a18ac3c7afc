#pragma once

#include <functional>

#include "platform/Handle.h"

namespace olvane::platform {

// The desktop's tray for status icons: X11's system tray (XEmbed) or a StatusNotifier host. A
// desktop may have none (stock GNOME), or start its panel after the application.
class SystemTray {
  public:
    using Observer = std::function<void()>;

    virtual ~SystemTray() = default;
    // Whether a tray takes status icons now.
    virtual bool isPresent() = 0;
    // Calls `observer` on the run loop each time a tray starts taking status icons.
    virtual Handle observeArrivals(Observer observer) = 0;
};

}  // namespace olvane::platform
