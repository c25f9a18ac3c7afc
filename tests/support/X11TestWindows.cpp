#include "support/X11TestWindows.h"

#include <xcb/xtest.h>

#include "platform/linux/X11Properties.h"

namespace olvane::test {

void setProperty(platform::os::X11Connection& x, xcb_window_t window, const char* name,
                 xcb_atom_t type, std::uint8_t format, const void* data, std::size_t count) {
    xcb_change_property(x.get(), XCB_PROP_MODE_REPLACE, window, x.atom(name), type, format,
                        static_cast<std::uint32_t>(count), data);
}

xcb_window_t makeWindow(platform::os::X11Connection& x, const TestWindowTraits& traits) {
    const xcb_window_t window = xcb_generate_id(x.get());
    xcb_create_window(
        x.get(), XCB_COPY_FROM_PARENT, window, x.root(), static_cast<std::int16_t>(traits.frame.x),
        static_cast<std::int16_t>(traits.frame.y), static_cast<std::uint16_t>(traits.frame.width),
        static_cast<std::uint16_t>(traits.frame.height), 0, XCB_WINDOW_CLASS_INPUT_OUTPUT,
        XCB_COPY_FROM_PARENT, 0, nullptr);
    std::string wmClass = traits.instance + '\0' + traits.windowClass + '\0';
    setProperty(x, window, "WM_CLASS", XCB_ATOM_STRING, 8, wmClass.data(), wmClass.size());
    const auto pid = static_cast<std::uint32_t>(traits.pid);
    setProperty(x, window, "_NET_WM_PID", XCB_ATOM_CARDINAL, 32, &pid, 1);
    if (!traits.gtkApplicationId.empty()) {
        setProperty(x, window, "_GTK_APPLICATION_ID", x.atom("UTF8_STRING"), 8,
                    traits.gtkApplicationId.data(), traits.gtkApplicationId.size());
    }
    if (!traits.windowType.empty()) {
        const xcb_atom_t type = x.atom("_NET_WM_WINDOW_TYPE_" + traits.windowType);
        setProperty(x, window, "_NET_WM_WINDOW_TYPE", XCB_ATOM_ATOM, 32, &type, 1);
    }
    std::uint32_t hints[18] = {};
    hints[0] = 1 | 2;  // USPosition | USSize
    hints[1] = static_cast<std::uint32_t>(traits.frame.x);
    hints[2] = static_cast<std::uint32_t>(traits.frame.y);
    hints[3] = static_cast<std::uint32_t>(traits.frame.width);
    hints[4] = static_cast<std::uint32_t>(traits.frame.height);
    setProperty(x, window, "WM_NORMAL_HINTS", XCB_ATOM_WM_SIZE_HINTS, 32, hints, 18);
    xcb_map_window(x.get(), window);
    x.flush();
    return window;
}

void activate(platform::os::X11Connection& x, xcb_window_t window) {
    xcb_client_message_event_t message{};
    message.response_type = XCB_CLIENT_MESSAGE;
    message.format = 32;
    message.window = window;
    message.type = x.atom("_NET_ACTIVE_WINDOW");
    message.data.data32[0] = 2;  // from a pager: the window manager obeys at once
    xcb_send_event(x.get(), 0, x.root(),
                   XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT | XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY,
                   reinterpret_cast<const char*>(&message));
    x.flush();
}

xcb_window_t inputFocus(platform::os::X11Connection& x) {
    const platform::os::XcbPtr<xcb_get_input_focus_reply_t> reply(
        xcb_get_input_focus_reply(x.get(), xcb_get_input_focus(x.get()), nullptr));
    return reply ? reply->focus : xcb_window_t{XCB_WINDOW_NONE};
}

WindowManagerPing::WindowManagerPing(platform::os::X11Connection& x)
    : x_(x), window_(xcb_generate_id(x.get())) {
    xcb_create_window(x.get(), XCB_COPY_FROM_PARENT, window_, x.root(), 0, 0, 1, 1, 0,
                      XCB_WINDOW_CLASS_INPUT_OUTPUT, XCB_COPY_FROM_PARENT, 0, nullptr);
    xcb_client_message_event_t message{};
    message.response_type = XCB_CLIENT_MESSAGE;
    message.format = 32;
    message.window = window_;
    message.type = x.atom("_NET_REQUEST_FRAME_EXTENTS");
    xcb_send_event(x.get(), 0, x.root(),
                   XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT | XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY,
                   reinterpret_cast<const char*>(&message));
    x.flush();
}

WindowManagerPing::~WindowManagerPing() {
    xcb_destroy_window(x_.get(), window_);
    x_.flush();
}

bool WindowManagerPing::answered() {
    return platform::os::readProperty(x_, window_, "_NET_FRAME_EXTENTS").has_value();
}

void movePointer(platform::os::X11Connection& x, platform::Point point) {
    xcb_test_fake_input(x.get(), XCB_MOTION_NOTIFY, 0, XCB_CURRENT_TIME, x.root(),
                        static_cast<std::int16_t>(point.x), static_cast<std::int16_t>(point.y), 0);
    x.flush();
}

void click(platform::os::X11Connection& x) {
    for (const auto type : {XCB_BUTTON_PRESS, XCB_BUTTON_RELEASE}) {
        xcb_test_fake_input(x.get(), static_cast<std::uint8_t>(type), 1, XCB_CURRENT_TIME,
                            XCB_WINDOW_NONE, 0, 0, 0);
    }
    x.flush();
}

void settle(platform::os::X11Connection& x) {
    // The second round trip starts after the server wrote out what the first one made.
    for (int i = 0; i < 2; ++i) {
        const platform::os::XcbPtr<xcb_get_input_focus_reply_t> reply(
            xcb_get_input_focus_reply(x.get(), xcb_get_input_focus(x.get()), nullptr));
    }
    for (platform::os::XcbPtr<xcb_generic_event_t> event(xcb_poll_for_event(x.get())); event;
         event.reset(xcb_poll_for_event(x.get()))) {
    }
}

}  // namespace olvane::test
