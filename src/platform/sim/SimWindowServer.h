#pragma once

#include <vector>

#include "platform/WindowServer.h"

namespace olvane::platform::sim {

// Windows and screens laid out by the test, front to back.
class SimWindowServer final : public WindowServer {
  public:
    std::optional<std::vector<WindowInfo>> windowList(WindowListScope scope) override;
    std::vector<Screen> screens() override { return screens_; }

    void setWindows(std::vector<WindowInfo> windows) { windows_ = std::move(windows); }
    // Adds a window in front of the others.
    void addWindow(WindowInfo window);
    void removeWindow(std::uint32_t windowNumber);
    void setScreens(std::vector<Screen> screens) { screens_ = std::move(screens); }
    // While unavailable, the window list cannot be had.
    void setAvailable(bool available) { available_ = available; }
    int listCount() const { return listCount_; }

  private:
    std::vector<WindowInfo> windows_;
    std::vector<Screen> screens_;
    bool available_ = true;
    int listCount_ = 0;
};

}  // namespace olvane::platform::sim
