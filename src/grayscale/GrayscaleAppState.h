#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "platform/Observable.h"

namespace olvane {

// The shared state the grayscale filter shows and reads: the four properties of AppState it
// uses. The filter gets the properties themselves, not AppState, because the grayscale engine
// must not depend on the application shell that owns AppState and builds the engine; the
// composition root hands over `appState.isGrayscaleFilterEnabled` and the others.
struct GrayscaleAppState {
    // Written by the filter: whether it is on (not the stored intention).
    platform::Observable<bool>& isGrayscaleFilterEnabled;
    platform::Observable<bool>& isPaused;
    platform::Observable<std::optional<std::int64_t>>& pauseRemainingSeconds;
    // Read only: the frontmost application, kept by the window monitor.
    const platform::Observable<std::optional<std::string>>& currentAppBundleID;
};

}  // namespace olvane
