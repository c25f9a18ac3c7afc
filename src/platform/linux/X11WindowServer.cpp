#include "platform/linux/X11WindowServer.h"

#include <algorithm>

#include "platform/linux/Ewmh.h"
#include "platform/linux/X11Randr.h"

namespace olvane::platform::os {
namespace {

// The layers of the window types above ordinary windows, in the numbering of WindowInfo.
constexpr int kDockLayer = 20;
constexpr int kPopUpLayer = 101;

bool has(const std::vector<std::string>& names, std::string_view name) {
    return std::find(names.begin(), names.end(), name) != names.end();
}

int layerOf(const std::string& type, const std::vector<std::string>& states) {
    if (type == "DOCK") {
        return kDockLayer;
    }
    if (type == "NOTIFICATION" || type == "TOOLTIP" || type == "POPUP_MENU" ||
        type == "DROPDOWN_MENU" || type == "COMBO" || type == "DND") {
        return kPopUpLayer;
    }
    if (type == "UTILITY" || type == "TOOLBAR" || type == "MENU" || type == "SPLASH" ||
        has(states, "ABOVE")) {
        return kFloatingWindowLayer;
    }
    return kNormalWindowLayer;
}

}  // namespace

std::unique_ptr<X11WindowServer> X11WindowServer::create(const std::string& display) {
    auto x = X11Connection::open(display);
    if (!x) {
        return nullptr;
    }
    return std::unique_ptr<X11WindowServer>(new X11WindowServer(std::move(x)));
}

std::optional<std::vector<WindowInfo>> X11WindowServer::windowList(WindowListScope scope) {
    const auto stacking = ewmh::clientListStacking(*x_);
    if (!stacking) {
        return std::nullopt;
    }
    std::vector<WindowInfo> windows;
    for (auto window = stacking->rbegin(); window != stacking->rend(); ++window) {
        auto info = describe(*window);
        if (info && (scope == WindowListScope::All || info->isOnScreen)) {
            windows.push_back(*info);
        }
    }
    return windows;
}

std::optional<WindowInfo> X11WindowServer::describe(xcb_window_t window) {
    const auto types = ewmh::windowTypes(*x_, window);
    const std::string type = types.empty() ? "NORMAL" : types.front();
    if (type == "DESKTOP") {
        return std::nullopt;
    }
    const auto bounds = ewmh::windowBounds(*x_, window);
    if (!bounds) {
        return std::nullopt;  // gone since the list was read
    }
    const auto states = ewmh::windowStates(*x_, window);
    const XcbPtr<xcb_get_window_attributes_reply_t> attributes(xcb_get_window_attributes_reply(
        x_->get(), xcb_get_window_attributes(x_->get(), window), nullptr));
    WindowInfo info;
    info.windowNumber = window;
    info.ownerPid = ewmh::windowPid(*x_, window);
    info.bounds = *bounds;
    info.layer = layerOf(type, states);
    info.isOnScreen = attributes && attributes->map_state == XCB_MAP_STATE_VIEWABLE &&
                      !has(states, "HIDDEN") && ewmh::onCurrentDesktop(*x_, window);
    return info;
}

std::vector<Screen> X11WindowServer::screens() {
    return desktopScreens(*x_);
}

}  // namespace olvane::platform::os
