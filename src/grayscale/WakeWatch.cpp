#include "grayscale/WakeWatch.h"

#include "model/Logger.h"

namespace olvane {

using platform::SystemEvent;
namespace display_change = platform::display_change;

WakeWatch::WakeWatch(platform::RunLoop& loop, platform::SystemEvents& events,
                     std::function<void()> onWake)
    : loop_(loop), events_(events), onWake_(std::move(onWake)) {}

void WakeWatch::start() {
    screensDidWake_ = events_.observe(SystemEvent::ScreensDidWake, [this] { onWake_(); });
    didWake_ = events_.observe(SystemEvent::DidWake, [this] { onWake_(); });
    displays_ = events_.observeDisplayReconfiguration(
        [this](platform::DisplayId, std::uint32_t flags) { displayReconfigured(flags); });
    screenUnlocked_ = events_.observe(SystemEvent::ScreenUnlocked, [this] { onWake_(); });
    Logger::grayscaleFilter().debug("Watchdog sleep/wake configuré");
}

bool WakeWatch::isDisplayArrival(std::uint32_t flags) {
    return (flags & display_change::kBeginConfiguration) == 0 &&
           (flags & (display_change::kAdded | display_change::kEnabled)) != 0;
}

// Handled once the display server has finished reporting. Arrivals reported together count as
// one wake: each wake supersedes the re-checks of the one before anyway.
void WakeWatch::displayReconfigured(std::uint32_t flags) {
    if (!isDisplayArrival(flags) || displayWakeQueued_) {
        return;
    }
    displayWakeQueued_ = true;
    displayWake_ = loop_.post([this] {
        displayWakeQueued_ = false;
        onWake_();
    });
}

}  // namespace olvane
