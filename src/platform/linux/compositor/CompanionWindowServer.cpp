#include "platform/linux/compositor/CompanionWindowServer.h"

#include "platform/WindowLayers.h"

namespace olvane::platform::os {

std::optional<std::vector<WindowInfo>> CompanionWindowServer::windowList(WindowListScope scope) {
    if (!windows_.live()) {
        return fallback_ ? fallback_->windowList(scope) : std::nullopt;
    }
    std::vector<WindowInfo> list;
    for (const auto& window : windows_.report().windows) {
        if (window.type == "DESKTOP" || (scope == WindowListScope::OnScreenOnly && !window.shown)) {
            continue;
        }
        WindowInfo info;
        info.windowNumber = windows_.numberOf(window);
        info.ownerPid = window.pid;
        info.bounds = window.client;
        info.layer = layerOfWindowType(window.type, window.keptAbove);
        info.isOnScreen = window.shown;
        list.push_back(info);
    }
    return list;
}

std::vector<Screen> CompanionWindowServer::screens() {
    return fallback_ ? fallback_->screens() : std::vector<Screen>{};
}

}  // namespace olvane::platform::os
