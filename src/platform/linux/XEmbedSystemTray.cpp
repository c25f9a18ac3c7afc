#include "platform/linux/XEmbedSystemTray.h"

#include <xcb/xfixes.h>

namespace olvane::platform::os {
namespace {

// The number of the connection's screen, which names its tray's selection.
int screenNumber(const X11Connection& x) {
    int number = 0;
    for (auto it = xcb_setup_roots_iterator(xcb_get_setup(x.get())); it.rem > 0;
         xcb_screen_next(&it), ++number) {
        if (it.data->root == x.root()) {
            return number;
        }
    }
    return 0;
}

}  // namespace

std::unique_ptr<XEmbedSystemTray> XEmbedSystemTray::create(RunLoop& loop,
                                                           const std::string& display) {
    auto x = X11Connection::open(display);
    if (!x) {
        return nullptr;
    }
    const auto firstEvent = x->extensionFirstEvent(xcb_xfixes_id);
    // XFixes answers nothing before a client has said which version it speaks.
    const XcbPtr<xcb_xfixes_query_version_reply_t> version(xcb_xfixes_query_version_reply(
        x->get(), xcb_xfixes_query_version(x->get(), 1, 0), nullptr));
    const xcb_atom_t selection = x->atom("_NET_SYSTEM_TRAY_S" + std::to_string(screenNumber(*x)));
    if (!firstEvent || !version || selection == XCB_ATOM_NONE) {
        return nullptr;
    }
    xcb_xfixes_select_selection_input(x->get(), x->root(), selection,
                                      XCB_XFIXES_SELECTION_EVENT_MASK_SET_SELECTION_OWNER);
    if (!x->flush()) {
        return nullptr;
    }
    std::unique_ptr<XEmbedSystemTray> tray(
        new XEmbedSystemTray(std::move(x), selection, *firstEvent));
    tray->events_ = tray->x_->watchEvents(
        loop,
        [source = tray.get()](const xcb_generic_event_t& event) { source->handleEvent(event); });
    return tray;
}

XEmbedSystemTray::XEmbedSystemTray(std::unique_ptr<X11Connection> x, xcb_atom_t selection,
                                   std::uint8_t firstEvent)
    : x_(std::move(x)), selection_(selection), xfixesFirstEvent_(firstEvent) {}

XEmbedSystemTray::~XEmbedSystemTray() {
    events_.cancel();
}

bool XEmbedSystemTray::isPresent() {
    const XcbPtr<xcb_get_selection_owner_reply_t> owner(xcb_get_selection_owner_reply(
        x_->get(), xcb_get_selection_owner(x_->get(), selection_), nullptr));
    x_->deliverQueuedEventsSoon();
    return owner && owner->owner != XCB_WINDOW_NONE;
}

Handle XEmbedSystemTray::observeArrivals(Observer observer) {
    return arrivals_.connect(std::move(observer));
}

void XEmbedSystemTray::handleEvent(const xcb_generic_event_t& event) {
    if ((event.response_type & 0x7f) != xfixesFirstEvent_ + XCB_XFIXES_SELECTION_NOTIFY) {
        return;
    }
    const auto& notify = reinterpret_cast<const xcb_xfixes_selection_notify_event_t&>(event);
    if (notify.selection == selection_ && notify.owner != XCB_WINDOW_NONE) {
        arrivals_.emit();
    }
}

}  // namespace olvane::platform::os
