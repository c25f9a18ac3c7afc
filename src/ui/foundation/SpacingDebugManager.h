#pragma once

#include <optional>

#include "platform/Clock.h"
#include "platform/Observable.h"

namespace olvane::ui {

// The hidden layout-inspection mode: seven quick taps on the version number switch it; while it
// is on, the pages' spacings and blocks draw their names and sizes. Off at every start, never
// saved.
class SpacingDebugManager {
  public:
    // Taps further apart than this start the count again.
    static constexpr double kTapIntervalSeconds = 2.0;
    static constexpr int kTapsToToggle = 7;

    explicit SpacingDebugManager(const platform::Clock& clock);
    SpacingDebugManager(const SpacingDebugManager&) = delete;
    SpacingDebugManager& operator=(const SpacingDebugManager&) = delete;

    // The application's instance, on the system clock, made on first use.
    static SpacingDebugManager& shared();

    // Whether the mode is on, for the whole process. Views read it when they paint.
    static bool overlaysVisible();

    // One tap on the version number.
    void handleVersionTap();
    // Switches the mode and changes rebuildToken.
    void toggleOverlays();

    // Changes at every switch of the mode: the main window rebuilds its page then.
    platform::Observable<int> rebuildToken{0};
    int versionTapCount() const { return versionTapCount_; }

  private:
    const platform::Clock& clock_;
    int versionTapCount_ = 0;
    std::optional<platform::MonotonicTime> lastVersionTap_;
};

}  // namespace olvane::ui
