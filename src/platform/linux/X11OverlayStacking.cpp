#include "platform/linux/X11OverlayStacking.h"

#include <algorithm>
#include <set>

#include "platform/linux/Ewmh.h"
#include "platform/linux/X11OverlayWindows.h"
#include "platform/linux/X11Properties.h"

namespace olvane::platform::os {
namespace {

std::ptrdiff_t positionOf(const std::vector<xcb_window_t>& order, xcb_window_t window) {
    const auto found = std::ranges::find(order, window);
    return found == order.end() ? -1 : found - order.begin();
}

bool isShown(X11Connection& x, xcb_window_t window) {
    const auto top = overlay::topLevelOf(x, window);
    if (!top) {
        return false;
    }
    const XcbPtr<xcb_get_window_attributes_reply_t> attributes(xcb_get_window_attributes_reply(
        x.get(), xcb_get_window_attributes(x.get(), *top), nullptr));
    return attributes && attributes->map_state == XCB_MAP_STATE_VIEWABLE;
}

}  // namespace

std::unique_ptr<X11OverlayStacking> X11OverlayStacking::create(RunLoop& loop,
                                                               const std::string& display) {
    auto x = X11Connection::open(display);
    if (!x) {
        return nullptr;
    }
    return std::unique_ptr<X11OverlayStacking>(new X11OverlayStacking(loop, std::move(x)));
}

X11OverlayStacking::X11OverlayStacking(RunLoop& loop, std::unique_ptr<X11Connection> x)
    : loop_(loop), x_(std::move(x)) {
    // The managed windows' order may be told after their frames moved.
    selectWindowEvents(*x_, x_->root(),
                       XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY | XCB_EVENT_MASK_PROPERTY_CHANGE);
    managedOrder_ = x_->atom("_NET_CLIENT_LIST_STACKING");
    x_->flush();
    events_ =
        x_->watchEvents(loop_, [this](const xcb_generic_event_t& event) { handleEvent(event); });
}

X11OverlayStacking::~X11OverlayStacking() {
    *alive_ = false;
    events_.cancel();
}

Handle X11OverlayStacking::keepJustAbove(xcb_window_t window, xcb_window_t target) {
    return keep({window, target});
}

Handle X11OverlayStacking::keepManagedJustAbove(xcb_window_t window, xcb_window_t target) {
    return keep({window, target, true});
}

Handle X11OverlayStacking::keepOnTop(xcb_window_t window) {
    return keep({window, std::nullopt});
}

Handle X11OverlayStacking::keep(Kept kept) {
    const auto id = nextId_++;
    kept_[id] = kept;
    restackSoon();
    return Handle([this, id, alive = std::weak_ptr(alive_)] {
        if (const auto living = alive.lock(); living && *living) {
            kept_.erase(id);
        }
    });
}

void X11OverlayStacking::restackSoon() {
    actedOn_.clear();
    scheduleRestack();
}

void X11OverlayStacking::scheduleRestack() {
    if (!pending_) {
        pending_ = loop_.post([this] {
            pending_ = Handle();
            restack();
            // The replies waited for may have queued events where the descriptor hides them.
            x_->deliverQueuedEventsSoon();
        });
    }
}

void X11OverlayStacking::handleEvent(const xcb_generic_event_t& event) {
    const auto type = event.response_type & 0x7F;
    const bool restacked =
        type == XCB_CONFIGURE_NOTIFY || type == XCB_MAP_NOTIFY || type == XCB_CIRCULATE_NOTIFY ||
        type == XCB_REPARENT_NOTIFY ||
        (type == XCB_PROPERTY_NOTIFY &&
         reinterpret_cast<const xcb_property_notify_event_t&>(event).atom == managedOrder_);
    if (restacked && !kept_.empty()) {
        scheduleRestack();
    }
}

void X11OverlayStacking::restack() {
    auto order = overlay::stackingOrder(*x_);
    if (order.empty()) {
        return;
    }
    if (order == actedOn_ && ++repeats_ > kMaxRepeats) {
        return;
    }

    bool acted = false;
    for (auto& [id, kept] : kept_) {
        if (!kept.target) {
            continue;
        }
        if (kept.managed) {
            acted = restackManaged(kept) || acted;
            continue;
        }
        const auto frame = overlay::topLevelOf(*x_, *kept.target);
        if (!frame) {
            continue;
        }
        const auto below = positionOf(order, *frame);
        const auto at = positionOf(order, kept.window);
        if (below >= 0 && at >= 0 && at != below + 1) {
            overlay::stackJustAbove(*x_, kept.window, *frame);
            acted = true;
        }
    }
    // Our windows and the frames the window manager put them in.
    std::set<xcb_window_t> ours;
    for (const auto& [id, kept] : kept_) {
        ours.insert(kept.window);
        if (const auto top = overlay::topLevelOf(*x_, kept.window)) {
            ours.insert(*top);
        }
    }
    for (const auto& [id, kept] : kept_) {
        if (kept.target) {
            continue;
        }
        const auto top = overlay::topLevelOf(*x_, kept.window);
        const auto at = top ? positionOf(order, *top) : -1;
        if (at < 0) {
            continue;
        }
        const bool covered = std::any_of(order.begin() + at + 1, order.end(),
                                         [&ours](xcb_window_t w) { return !ours.contains(w); });
        if (covered) {
            overlay::raise(*x_, kept.window);
            acted = true;
        }
    }
    if (!acted) {
        actedOn_.clear();
    } else if (order != actedOn_) {
        actedOn_ = std::move(order);
        repeats_ = 0;
    }
}

bool X11OverlayStacking::restackManaged(Kept& kept) {
    const auto managed = ewmh::clientListStacking(*x_);
    if (!managed) {
        return false;
    }
    const auto below = positionOf(*managed, *kept.target);
    const auto at = positionOf(*managed, kept.window);
    if (at < 0) {
        return false;
    }
    // Where it belongs, or nowhere better: a target the window manager does not list.
    if (!kept.revealed && (below < 0 || at == below + 1)) {
        overlay::reveal(*x_, kept.window);
        kept.revealed = true;
    }
    if (below < 0) {
        return false;
    }
    // Once the window manager has shown it where it chose, which may be above windows the X
    // server does not list (a Wayland compositor's own), and whenever it is seen out of place.
    const bool firstShown = !kept.placed && isShown(*x_, kept.window);
    if (!firstShown && at == below + 1) {
        return false;
    }
    kept.placed = kept.placed || firstShown;
    // Asked below its target, it comes right above it: mutter and KWin keep a transient above
    // the window it belongs to.
    ewmh::restackJustBelow(*x_, kept.window, *kept.target);
    return true;
}

}  // namespace olvane::platform::os
