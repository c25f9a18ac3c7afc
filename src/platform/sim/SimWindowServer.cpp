#include "platform/sim/SimWindowServer.h"

#include <algorithm>

namespace olvane::platform::sim {

std::optional<std::vector<WindowInfo>> SimWindowServer::windowList(WindowListScope scope) {
    ++listCount_;
    if (!available_) {
        return std::nullopt;
    }
    std::vector<WindowInfo> listed;
    for (const auto& window : windows_) {
        if (scope == WindowListScope::All || window.isOnScreen) {
            listed.push_back(window);
        }
    }
    return listed;
}

void SimWindowServer::addWindow(WindowInfo window) {
    windows_.insert(windows_.begin(), window);
}

void SimWindowServer::removeWindow(std::uint32_t windowNumber) {
    std::erase_if(windows_,
                  [windowNumber](const WindowInfo& w) { return w.windowNumber == windowNumber; });
}

}  // namespace olvane::platform::sim
