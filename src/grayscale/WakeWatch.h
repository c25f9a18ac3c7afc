#pragma once

#include <cstdint>
#include <functional>

#include "platform/Handle.h"
#include "platform/RunLoop.h"
#include "platform/SystemEvents.h"

namespace olvane {

// Tells its owner when the system may have dropped the display's grayscale behind its back: the
// machine or the screens woke, the screen was unlocked, or a display was added or enabled.
class WakeWatch {
  public:
    WakeWatch(platform::RunLoop& loop, platform::SystemEvents& events,
              std::function<void()> onWake);
    WakeWatch(const WakeWatch&) = delete;
    WakeWatch& operator=(const WakeWatch&) = delete;

    void start();

    // A display came (or came back) and its reconfiguration is over.
    static bool isDisplayArrival(std::uint32_t flags);

  private:
    void displayReconfigured(std::uint32_t flags);

    platform::RunLoop& loop_;
    platform::SystemEvents& events_;
    std::function<void()> onWake_;
    platform::Handle didWake_;
    platform::Handle screensDidWake_;
    platform::Handle screenUnlocked_;
    platform::Handle displays_;
    platform::Handle displayWake_;
    bool displayWakeQueued_ = false;
};

}  // namespace olvane
