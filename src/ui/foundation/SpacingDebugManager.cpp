#include "ui/foundation/SpacingDebugManager.h"

#include "platform/linux/SystemClock.h"

namespace olvane::ui {
namespace {

bool& visible() {
    static bool overlays = false;
    return overlays;
}

}  // namespace

SpacingDebugManager::SpacingDebugManager(const platform::Clock& clock) : clock_(clock) {}

SpacingDebugManager& SpacingDebugManager::shared() {
    static const platform::os::SystemClock clock;
    static SpacingDebugManager manager(clock);
    return manager;
}

bool SpacingDebugManager::overlaysVisible() {
    return visible();
}

void SpacingDebugManager::handleVersionTap() {
    const auto now = clock_.monotonicNow();
    const bool inSeries =
        lastVersionTap_ && platform::toSeconds(now - *lastVersionTap_) < kTapIntervalSeconds;
    versionTapCount_ = inSeries ? versionTapCount_ + 1 : 1;
    lastVersionTap_ = now;
    if (versionTapCount_ >= kTapsToToggle) {
        versionTapCount_ = 0;
        lastVersionTap_.reset();
        toggleOverlays();
    }
}

void SpacingDebugManager::toggleOverlays() {
    visible() = !visible();
    rebuildToken.set(rebuildToken.get() + 1);
}

}  // namespace olvane::ui
