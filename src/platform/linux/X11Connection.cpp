#include "platform/linux/X11Connection.h"

#include <xcb/xinput.h>

#include <cstdlib>
#include <utility>

namespace olvane::platform::os {

void FreeDeleter::operator()(void* pointer) const {
    std::free(pointer);  // NOLINT: XCB allocates with malloc
}

std::unique_ptr<X11Connection> X11Connection::open(const std::string& display) {
    int screenNumber = 0;
    xcb_connection_t* connection =
        xcb_connect(display.empty() ? nullptr : display.c_str(), &screenNumber);
    if (xcb_connection_has_error(connection)) {
        xcb_disconnect(connection);
        return nullptr;
    }
    auto iterator = xcb_setup_roots_iterator(xcb_get_setup(connection));
    for (int i = 0; i < screenNumber && iterator.rem > 0; ++i) {
        xcb_screen_next(&iterator);
    }
    if (iterator.rem == 0 || !iterator.data) {
        xcb_disconnect(connection);
        return nullptr;
    }
    return std::unique_ptr<X11Connection>(new X11Connection(connection, iterator.data, true));
}

std::unique_ptr<X11Connection> X11Connection::borrow(xcb_connection_t* connection) {
    if (!connection || xcb_connection_has_error(connection)) {
        return nullptr;
    }
    const auto iterator = xcb_setup_roots_iterator(xcb_get_setup(connection));
    if (iterator.rem == 0 || !iterator.data) {
        return nullptr;
    }
    return std::unique_ptr<X11Connection>(new X11Connection(connection, iterator.data, false));
}

X11Connection::X11Connection(xcb_connection_t* connection, const xcb_screen_t* screen, bool owned)
    : connection_(connection), screen_(screen), owned_(owned) {}

X11Connection::~X11Connection() {
    *alive_ = false;
    stopWatching();
    if (owned_) {
        xcb_disconnect(connection_);
    }
}

bool X11Connection::isUsable() const {
    return xcb_connection_has_error(connection_) == 0;
}

xcb_atom_t X11Connection::atom(std::string_view name, bool onlyIfExists) {
    if (const auto found = atoms_.find(name); found != atoms_.end()) {
        return found->second;
    }
    const auto cookie = xcb_intern_atom(connection_, onlyIfExists ? 1 : 0,
                                        static_cast<std::uint16_t>(name.size()), name.data());
    const XcbPtr<xcb_intern_atom_reply_t> reply(
        xcb_intern_atom_reply(connection_, cookie, nullptr));
    if (!reply || reply->atom == XCB_ATOM_NONE) {
        return XCB_ATOM_NONE;
    }
    atoms_.emplace(std::string(name), reply->atom);
    return reply->atom;
}

std::string X11Connection::atomName(xcb_atom_t atom) {
    const XcbPtr<xcb_get_atom_name_reply_t> reply(
        xcb_get_atom_name_reply(connection_, xcb_get_atom_name(connection_, atom), nullptr));
    if (!reply) {
        return {};
    }
    return std::string(xcb_get_atom_name_name(reply.get()),
                       static_cast<std::size_t>(xcb_get_atom_name_name_length(reply.get())));
}

std::optional<std::uint8_t> X11Connection::extensionFirstEvent(xcb_extension_t& extension) {
    const auto* data = xcb_get_extension_data(connection_, &extension);
    if (!data || !data->present) {
        return std::nullopt;
    }
    return data->first_event;
}

std::optional<std::uint8_t> X11Connection::extensionMajorOpcode(xcb_extension_t& extension) {
    const auto* data = xcb_get_extension_data(connection_, &extension);
    if (!data || !data->present) {
        return std::nullopt;
    }
    return data->major_opcode;
}

std::optional<std::uint8_t> X11Connection::xinput2Opcode(std::uint32_t minor) {
    const auto opcode = extensionMajorOpcode(xcb_input_id);
    if (!opcode) {
        return std::nullopt;
    }
    const XcbPtr<xcb_input_xi_query_version_reply_t> version(xcb_input_xi_query_version_reply(
        connection_, xcb_input_xi_query_version(connection_, 2, static_cast<std::uint16_t>(minor)),
        nullptr));
    if (!version || version->major_version < 2 ||
        (version->major_version == 2 && version->minor_version < minor)) {
        return std::nullopt;
    }
    return opcode;
}

bool X11Connection::flush() {
    return xcb_flush(connection_) > 0;
}

Handle X11Connection::watchEvents(RunLoop& loop, EventHandler handler,
                                  std::function<void()> onBroken) {
    loop_ = &loop;
    watching_ = true;
    handler_ = std::move(handler);
    onBroken_ = std::move(onBroken);
    readable_ =
        loop.watchReadable(xcb_get_file_descriptor(connection_), [this] { readEvents(false); });
    deliverQueuedEventsSoon();  // replies waited for before the watch may have queued some
    return Handle([this, alive = std::weak_ptr(alive_)] {
        if (const auto living = alive.lock(); living && *living) {
            stopWatching();
        }
    });
}

void X11Connection::deliverQueuedEventsSoon() {
    if (!watching_ || deliveryPending_) {
        return;
    }
    deliveryPending_ = true;
    queuedDelivery_ = loop_->post([this] {
        deliveryPending_ = false;
        readEvents(true);
    });
}

void X11Connection::readEvents(bool queuedOnly) {
    // The handler may end the watch: re-check each turn.
    while (watching_) {
        XcbPtr<xcb_generic_event_t> event(queuedOnly ? xcb_poll_for_queued_event(connection_)
                                                     : xcb_poll_for_event(connection_));
        if (!event) {
            break;
        }
        handler_(*event);
    }
    if (watching_ && !isUsable()) {
        // An end of stream stays readable forever: stop watching it.
        auto broken = std::exchange(onBroken_, nullptr);
        stopWatching();
        if (broken) {
            broken();
        }
    }
}

void X11Connection::stopWatching() {
    watching_ = false;
    deliveryPending_ = false;
    readable_.cancel();
    queuedDelivery_.cancel();
}

}  // namespace olvane::platform::os
