#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <set>
#include <string>

#include "app/NavigationItem.h"
#include "model/BrowserType.h"
#include "model/ExtensionStatus.h"
#include "model/FrictionEffectType.h"
#include "platform/Observable.h"

namespace olvane {

// The state the interface shows and several services share. Nothing of it is saved: every
// property starts from the values below and the services set the real ones as they start.
// Each property notifies its observers only when its value really changes; the navigation guard,
// a function, notifies on every write.
class AppState {
  public:
    // Asked before the sidebar changes page; false keeps the current page. Empty: no guard.
    using NavigationGuard = std::function<bool(NavigationItem)>;

    AppState() = default;
    AppState(const AppState&) = delete;
    AppState& operator=(const AppState&) = delete;

    // Whether the grayscale filter is applied (not the stored intention).
    platform::Observable<bool> isGrayscaleFilterEnabled{false};
    platform::Observable<bool> isPaused{false};
    platform::Observable<std::optional<std::int64_t>> pauseRemainingSeconds;
    // The frontmost application.
    platform::Observable<std::optional<std::string>> currentAppBundleID;
    platform::Observable<std::optional<std::string>> currentAppName;
    // Whether the home page shows the content-rules and friction modules as on.
    platform::Observable<bool> isContentFilterEnabled{false};
    platform::Observable<bool> isFrictionEffectsEnabled{false};
    // The friction effects applied right now.
    platform::Observable<std::set<FrictionEffectType>> activeFrictionEffects;
    platform::Observable<std::map<BrowserType, ExtensionStatus>> extensionStatus{
        initialExtensionStatus()};
    platform::Observable<NavigationItem> selectedNavigationItem{NavigationItem::accueil};
    platform::Observable<NavigationGuard> navigationGuard;
    platform::Observable<bool> isUninstalling{false};
    platform::Observable<bool> showWebExtensionPrompt{false};

    // A page change asked through the sidebar: made only when no guard refuses it and the page
    // differs from the current one. Returns whether the page changed. Other writers set
    // `selectedNavigationItem` directly, without asking the guard.
    bool requestNavigation(NavigationItem target);

    // Every browser `browserNotRunning`, before anything has looked at the browsers.
    static std::map<BrowserType, ExtensionStatus> initialExtensionStatus();
};

}  // namespace olvane
