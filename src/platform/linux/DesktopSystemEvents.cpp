#include "platform/linux/DesktopSystemEvents.h"

#include "platform/linux/X11Randr.h"

namespace olvane::platform::os {

DesktopSystemEvents::DesktopSystemEvents(RunLoop& loop, SystemEvents& session,
                                         const std::string& display)
    : session_(session) {
    auto x = X11Connection::open(display);
    if (!x || !hasRandr(*x)) {
        return;
    }
    randrFirstEvent_ = x->extensionFirstEvent(xcb_randr_id).value_or(0);
    xcb_randr_select_input(
        x->get(), x->root(),
        XCB_RANDR_NOTIFY_MASK_SCREEN_CHANGE | XCB_RANDR_NOTIFY_MASK_OUTPUT_CHANGE);
    x->flush();
    x_ = std::move(x);
    events_ =
        x_->watchEvents(loop, [this](const xcb_generic_event_t& event) { handleEvent(event); });
}

DesktopSystemEvents::~DesktopSystemEvents() {
    events_.cancel();
}

Handle DesktopSystemEvents::observeDisplayReconfiguration(DisplayReconfiguration observer) {
    if (!x_) {
        return session_.observeDisplayReconfiguration(std::move(observer));
    }
    return reconfigured_.connect(std::move(observer));
}

void DesktopSystemEvents::handleEvent(const xcb_generic_event_t& event) {
    const auto type = event.response_type & 0x7F;
    if (type == randrFirstEvent_ + XCB_RANDR_SCREEN_CHANGE_NOTIFY) {
        reconfigured_.emit(0, display_change::kSetMode | display_change::kDesktopShapeChanged);
    } else if (type == randrFirstEvent_ + XCB_RANDR_NOTIFY) {
        const auto& notify = reinterpret_cast<const xcb_randr_notify_event_t&>(event);
        if (notify.subCode != XCB_RANDR_NOTIFY_OUTPUT_CHANGE) {
            return;
        }
        const auto& output = notify.u.oc;
        const bool connected = output.connection == XCB_RANDR_CONNECTION_CONNECTED;
        std::uint32_t flags = connected ? display_change::kAdded : display_change::kRemoved;
        if (connected) {
            flags |= output.crtc != XCB_NONE ? display_change::kEnabled : display_change::kDisabled;
        }
        reconfigured_.emit(output.output, flags);
    }
}

}  // namespace olvane::platform::os
