#include "platform/linux/Ewmh.h"

#include <xcb/res.h>

#include <algorithm>
#include <array>

#include "platform/linux/X11Properties.h"

namespace olvane::platform::os::ewmh {
namespace {

constexpr std::uint32_t kAllDesktops = 0xFFFFFFFF;
// Who asks the window manager: the application, or a pager or tool acting for the user.
constexpr std::uint32_t kFromApplication = 1;
constexpr std::uint32_t kFromPager = 2;

// A request about `window` to the window manager, as EWMH sends them.
void askWindowManager(X11Connection& x, xcb_window_t window, const char* type,
                      std::array<std::uint32_t, 5> data) {
    xcb_client_message_event_t message{};
    message.response_type = XCB_CLIENT_MESSAGE;
    message.format = 32;
    message.window = window;
    message.type = x.atom(type);
    std::ranges::copy(data, message.data.data32);
    xcb_send_event(x.get(), 0, x.root(),
                   XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT | XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY,
                   reinterpret_cast<const char*>(&message));
    x.flush();
}

std::vector<std::string> atomNames(X11Connection& x, xcb_window_t window, const char* property,
                                   std::string_view prefix) {
    std::vector<std::string> names;
    const auto value = readProperty(x, window, property, XCB_ATOM_ATOM);
    if (!value) {
        return names;
    }
    for (const auto atom : value->words()) {
        auto name = x.atomName(atom);
        if (name.starts_with(prefix)) {
            names.push_back(name.substr(prefix.size()));
        }
    }
    return names;
}

std::optional<pid_t> clientPid(X11Connection& x, xcb_window_t window) {
    // The server answers for the client that holds the XID's range now, which after the
    // window's end may be another one: the window must still exist.
    const XcbPtr<xcb_get_window_attributes_reply_t> exists(xcb_get_window_attributes_reply(
        x.get(), xcb_get_window_attributes(x.get(), window), nullptr));
    if (!exists || !x.extensionMajorOpcode(xcb_res_id)) {
        return std::nullopt;
    }
    xcb_res_client_id_spec_t wanted{window, XCB_RES_CLIENT_ID_MASK_LOCAL_CLIENT_PID};
    const XcbPtr<xcb_res_query_client_ids_reply_t> reply(xcb_res_query_client_ids_reply(
        x.get(), xcb_res_query_client_ids(x.get(), 1, &wanted), nullptr));
    if (!reply) {
        return std::nullopt;
    }
    for (auto it = xcb_res_query_client_ids_ids_iterator(reply.get()); it.rem > 0;
         xcb_res_client_id_value_next(&it)) {
        if ((it.data->spec.mask & XCB_RES_CLIENT_ID_MASK_LOCAL_CLIENT_PID) != 0 &&
            xcb_res_client_id_value_value_length(it.data) >= 1) {
            return static_cast<pid_t>(*xcb_res_client_id_value_value(it.data));
        }
    }
    return std::nullopt;
}

}  // namespace

bool hasWindowManager(X11Connection& x) {
    return readProperty(x, x.root(), "_NET_SUPPORTING_WM_CHECK", XCB_ATOM_WINDOW).has_value();
}

std::optional<std::string> windowManagerName(X11Connection& x) {
    const auto check = readProperty(x, x.root(), "_NET_SUPPORTING_WM_CHECK", XCB_ATOM_WINDOW);
    const auto window = check ? check->firstWord() : std::nullopt;
    const auto name =
        window ? readProperty(x, *window, "_NET_WM_NAME", x.atom("UTF8_STRING")) : std::nullopt;
    return name ? std::optional(name->text()) : std::nullopt;
}

std::optional<std::vector<xcb_window_t>> clientListStacking(X11Connection& x) {
    const auto value = readProperty(x, x.root(), "_NET_CLIENT_LIST_STACKING", XCB_ATOM_WINDOW);
    if (!value) {
        return std::nullopt;
    }
    const auto words = value->words();
    return std::vector<xcb_window_t>(words.begin(), words.end());
}

std::optional<xcb_window_t> activeWindow(X11Connection& x) {
    const auto value = readProperty(x, x.root(), "_NET_ACTIVE_WINDOW", XCB_ATOM_WINDOW);
    const auto window = value ? value->firstWord() : std::nullopt;
    if (!window || *window == XCB_WINDOW_NONE) {
        return std::nullopt;
    }
    return *window;
}

std::optional<pid_t> windowPid(X11Connection& x, xcb_window_t window) {
    if (const auto value = readProperty(x, window, "_NET_WM_PID", XCB_ATOM_CARDINAL)) {
        if (const auto pid = value->firstWord(); pid && *pid > 0) {
            return static_cast<pid_t>(*pid);
        }
    }
    return clientPid(x, window);
}

std::optional<Rect> windowBounds(X11Connection& x, xcb_window_t window) {
    const XcbPtr<xcb_get_geometry_reply_t> geometry(
        xcb_get_geometry_reply(x.get(), xcb_get_geometry(x.get(), window), nullptr));
    const XcbPtr<xcb_translate_coordinates_reply_t> origin(xcb_translate_coordinates_reply(
        x.get(), xcb_translate_coordinates(x.get(), window, x.root(), 0, 0), nullptr));
    if (!geometry || !origin) {
        return std::nullopt;
    }
    return Rect{double(origin->dst_x), double(origin->dst_y), double(geometry->width),
                double(geometry->height)};
}

std::vector<std::string> windowTypes(X11Connection& x, xcb_window_t window) {
    return atomNames(x, window, "_NET_WM_WINDOW_TYPE", "_NET_WM_WINDOW_TYPE_");
}

std::vector<std::string> windowStates(X11Connection& x, xcb_window_t window) {
    return atomNames(x, window, "_NET_WM_STATE", "_NET_WM_STATE_");
}

std::vector<std::string> windowClass(X11Connection& x, xcb_window_t window) {
    const auto value = readProperty(x, window, XCB_ATOM_WM_CLASS, XCB_ATOM_STRING);
    return value ? value->texts() : std::vector<std::string>{};
}

bool onCurrentDesktop(X11Connection& x, xcb_window_t window) {
    const auto windowDesktop = readProperty(x, window, "_NET_WM_DESKTOP", XCB_ATOM_CARDINAL);
    const auto current = readProperty(x, x.root(), "_NET_CURRENT_DESKTOP", XCB_ATOM_CARDINAL);
    // Unknown on either side: shown.
    const std::uint32_t desktop =
        windowDesktop ? windowDesktop->firstWord().value_or(kAllDesktops) : kAllDesktops;
    const std::uint32_t shown = current ? current->firstWord().value_or(desktop) : desktop;
    return desktop == kAllDesktops || desktop == shown;
}

void requestClose(X11Connection& x, xcb_window_t window) {
    askWindowManager(x, window, "_NET_CLOSE_WINDOW", {XCB_CURRENT_TIME, kFromPager, 0, 0, 0});
}

void restackJustBelow(X11Connection& x, xcb_window_t window, xcb_window_t sibling) {
    // Window managers honour a restack from a pager only.
    askWindowManager(x, window, "_NET_RESTACK_WINDOW",
                     {kFromPager, sibling, XCB_STACK_MODE_BELOW, 0, 0});
}

void raiseAsPager(X11Connection& x, xcb_window_t window) {
    askWindowManager(x, window, "_NET_RESTACK_WINDOW",
                     {kFromPager, XCB_NONE, XCB_STACK_MODE_ABOVE, 0, 0});
}

void requestActivation(X11Connection& x, xcb_window_t window, xcb_timestamp_t time,
                       xcb_window_t requestor) {
    askWindowManager(x, window, "_NET_ACTIVE_WINDOW", {kFromApplication, time, requestor, 0, 0});
}

void removeState(X11Connection& x, xcb_window_t window, const std::string& state) {
    constexpr std::uint32_t kRemove = 0;
    askWindowManager(x, window, "_NET_WM_STATE",
                     {kRemove, x.atom("_NET_WM_STATE_" + state), 0, kFromApplication, 0});
}

}  // namespace olvane::platform::os::ewmh
