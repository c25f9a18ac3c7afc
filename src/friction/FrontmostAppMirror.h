#pragma once

#include <optional>
#include <string>

#include "platform/Observable.h"

namespace olvane {

// Where the window monitor shows the frontmost application to the interface: the two
// frontmost-application properties of AppState. The monitor gets the properties themselves,
// not AppState, because the friction engine must not depend on the application shell that owns
// AppState; the composition root hands over `appState.currentAppBundleID` and
// `appState.currentAppName`.
struct FrontmostAppMirror {
    platform::Observable<std::optional<std::string>>& bundleID;
    platform::Observable<std::optional<std::string>>& name;
};

}  // namespace olvane
