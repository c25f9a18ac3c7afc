#pragma once

#include "platform/WindowServer.h"
#include "platform/linux/compositor/CompanionWindows.h"

namespace olvane::platform::os {

// Every window of the session as the compositor's companion reports it, native or Xwayland
// alike; `fallback` (the X11 view; may be null) serves while none reports. The screens are
// always the fallback's: the effects' windows are placed on them, in Xwayland's pixels.
class CompanionWindowServer final : public WindowServer {
  public:
    CompanionWindowServer(CompanionWindows& windows, WindowServer* fallback)
        : windows_(windows), fallback_(fallback) {}

    std::optional<std::vector<WindowInfo>> windowList(WindowListScope scope) override;
    std::vector<Screen> screens() override;

  private:
    CompanionWindows& windows_;
    WindowServer* fallback_;
};

}  // namespace olvane::platform::os
