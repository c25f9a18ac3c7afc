#include "platform/linux/X11WindowServer.h"

#include <algorithm>

#include "platform/WindowLayers.h"
#include "platform/linux/Ewmh.h"
#include "platform/linux/X11Properties.h"
#include "platform/linux/X11Randr.h"

namespace olvane::platform::os {
namespace {

bool has(const std::vector<std::string>& names, std::string_view name) {
    return std::find(names.begin(), names.end(), name) != names.end();
}

}  // namespace

std::unique_ptr<X11WindowServer> X11WindowServer::create(RunLoop& loop,
                                                         const std::string& display) {
    auto x = X11Connection::open(display);
    if (!x) {
        return nullptr;
    }
    return std::unique_ptr<X11WindowServer>(new X11WindowServer(loop, std::move(x)));
}

X11WindowServer::X11WindowServer(RunLoop& loop, std::unique_ptr<X11Connection> x)
    : x_(std::move(x)) {
    selectWindowEvents(*x_, x_->root(), XCB_EVENT_MASK_PROPERTY_CHANGE);
    x_->flush();
    // Once the server is gone nothing can be read: what was kept is no longer current.
    events_ = x_->watchEvents(
        loop, [this](const xcb_generic_event_t& event) { handleEvent(event); },
        [this] {
            stackingCurrent_ = false;
            windows_.clear();
        });
}

X11WindowServer::~X11WindowServer() {
    events_.cancel();
}

std::optional<std::vector<WindowInfo>> X11WindowServer::windowList(WindowListScope scope) {
    askedServer_ = false;
    if (!stackingCurrent_ && !refreshStacking()) {
        return std::nullopt;
    }
    std::vector<WindowInfo> windows;
    for (auto window = stacking_->rbegin(); window != stacking_->rend(); ++window) {
        const auto& info = described(*window);
        if (info && (scope == WindowListScope::All || info->isOnScreen)) {
            windows.push_back(*info);
        }
    }
    if (askedServer_) {
        x_->deliverQueuedEventsSoon();
    }
    return windows;
}

void X11WindowServer::handleEvent(const xcb_generic_event_t& event) {
    switch (event.response_type & 0x7F) {
        case XCB_PROPERTY_NOTIFY:
            handlePropertyChange(reinterpret_cast<const xcb_property_notify_event_t&>(event));
            break;
        case XCB_CONFIGURE_NOTIFY:
            markStale(reinterpret_cast<const xcb_configure_notify_event_t&>(event).window);
            break;
        case XCB_MAP_NOTIFY:
            markStale(reinterpret_cast<const xcb_map_notify_event_t&>(event).window);
            break;
        case XCB_UNMAP_NOTIFY:
            markStale(reinterpret_cast<const xcb_unmap_notify_event_t&>(event).window);
            break;
        case XCB_DESTROY_NOTIFY:
            windows_.erase(reinterpret_cast<const xcb_destroy_notify_event_t&>(event).window);
            break;
        default:
            break;
    }
}

void X11WindowServer::handlePropertyChange(const xcb_property_notify_event_t& change) {
    if (change.window == x_->root()) {
        if (change.atom == x_->atom("_NET_CLIENT_LIST_STACKING")) {
            stackingCurrent_ = false;
        } else if (change.atom == x_->atom("_NET_CURRENT_DESKTOP")) {
            for (auto& [window, entry] : windows_) {
                entry.current = false;
            }
        }
        return;
    }
    for (const char* name :
         {"_NET_WM_STATE", "_NET_WM_DESKTOP", "_NET_WM_WINDOW_TYPE", "_NET_WM_PID"}) {
        if (change.atom == x_->atom(name)) {
            markStale(change.window);
            return;
        }
    }
}

void X11WindowServer::markStale(xcb_window_t window) {
    if (const auto found = windows_.find(window); found != windows_.end()) {
        found->second.current = false;
    }
}

bool X11WindowServer::refreshStacking() {
    askedServer_ = true;
    stacking_ = ewmh::clientListStacking(*x_);
    if (!stacking_) {
        return false;
    }
    std::erase_if(windows_, [this](const auto& entry) {
        return std::find(stacking_->begin(), stacking_->end(), entry.first) == stacking_->end();
    });
    stackingCurrent_ = true;
    return true;
}

// A window newly listed is watched before it is read: no change after the reading goes unseen.
const std::optional<WindowInfo>& X11WindowServer::described(xcb_window_t window) {
    auto [entry, added] = windows_.try_emplace(window);
    if (added) {
        selectWindowEvents(*x_, window,
                           XCB_EVENT_MASK_PROPERTY_CHANGE | XCB_EVENT_MASK_STRUCTURE_NOTIFY);
    }
    if (!entry->second.current) {
        askedServer_ = true;
        entry->second.info = describe(window);
        entry->second.current = true;
    }
    return entry->second.info;
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
    info.layer = layerOfWindowType(type, has(states, "ABOVE"));
    info.isOnScreen = attributes && attributes->map_state == XCB_MAP_STATE_VIEWABLE &&
                      !has(states, "HIDDEN") && ewmh::onCurrentDesktop(*x_, window);
    return info;
}

std::vector<Screen> X11WindowServer::screens() {
    return desktopScreens(*x_);
}

}  // namespace olvane::platform::os
