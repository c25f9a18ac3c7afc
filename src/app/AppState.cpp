#include "app/AppState.h"

namespace olvane {

bool AppState::requestNavigation(NavigationItem target) {
    // The guard may replace itself while it runs; keep it alive for the call.
    const NavigationGuard guard = navigationGuard.get();
    if (guard && !guard(target)) {
        return false;
    }
    return selectedNavigationItem.set(target);
}

std::map<BrowserType, ExtensionStatus> AppState::initialExtensionStatus() {
    std::map<BrowserType, ExtensionStatus> status;
    for (const auto browser : allCases<BrowserType>()) {
        status.emplace(browser, ExtensionStatus::browserNotRunning);
    }
    return status;
}

}  // namespace olvane
