#pragma once

#include <memory>

#include "platform/WindowServer.h"
#include "platform/linux/X11Connection.h"

namespace olvane::platform::os {

// Windows from the EWMH window manager's stacking list, screens from RandR. Every call asks the
// server anew.
class X11WindowServer final : public WindowServer {
  public:
    // Null when no X server answers.
    static std::unique_ptr<X11WindowServer> create(const std::string& display = {});

    std::optional<std::vector<WindowInfo>> windowList(WindowListScope scope) override;
    std::vector<Screen> screens() override;

  private:
    explicit X11WindowServer(std::unique_ptr<X11Connection> x) : x_(std::move(x)) {}
    std::optional<WindowInfo> describe(xcb_window_t window);

    std::unique_ptr<X11Connection> x_;
};

}  // namespace olvane::platform::os
