#pragma once

#include <xcb/xcb.h>

#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "platform/Handle.h"
#include "platform/RunLoop.h"

namespace olvane::platform::os {

// Frees what XCB hands back with malloc (replies, events).
struct FreeDeleter {
    void operator()(void* pointer) const;
};
template <typename T>
using XcbPtr = std::unique_ptr<T, FreeDeleter>;

// One client connection to the X server, closed with the object. Every X11 back-end opens its
// own, so each sees only the events it asked for. Events are read on the run loop: watchEvents()
// watches the connection's descriptor.
class X11Connection {
  public:
    using EventHandler = std::function<void(const xcb_generic_event_t& event)>;

    // Connects to `display` (the DISPLAY variable when empty); null when no server answers.
    static std::unique_ptr<X11Connection> open(const std::string& display = {});
    // Requests over a connection someone else owns and reads (a toolkit's), on its first screen:
    // left open at the end, and never to be watched for events here.
    static std::unique_ptr<X11Connection> borrow(xcb_connection_t* connection);
    ~X11Connection();
    X11Connection(const X11Connection&) = delete;
    X11Connection& operator=(const X11Connection&) = delete;

    xcb_connection_t* get() const { return connection_; }
    xcb_window_t root() const { return screen_->root; }
    const xcb_screen_t& screen() const { return *screen_; }
    // False once the server closed the connection or broke the protocol.
    bool isUsable() const;

    // The atom of that name, interned once and remembered; XCB_ATOM_NONE when the server
    // refuses. With `onlyIfExists`, a name no client has interned yet gives XCB_ATOM_NONE.
    xcb_atom_t atom(std::string_view name, bool onlyIfExists = false);
    std::string atomName(xcb_atom_t atom);

    // The first event number of an extension, absent when the server lacks it.
    std::optional<std::uint8_t> extensionFirstEvent(xcb_extension_t& extension);
    std::optional<std::uint8_t> extensionMajorOpcode(xcb_extension_t& extension);
    // XInput's major opcode, when the server speaks XInput 2.`minor` or later.
    std::optional<std::uint8_t> xinput2Opcode(std::uint32_t minor);

    // Sends what is buffered; false when the connection broke.
    bool flush();

    // Calls `handler` on the run loop for every event that arrives; one watch per connection.
    // A broken connection stops the watch and calls `onBroken` once.
    Handle watchEvents(RunLoop& loop, EventHandler handler, std::function<void()> onBroken = {});
    // Delivers the events a round trip read into XCB's queue, where the descriptor no longer
    // shows them: call after any request that waits for a reply outside the event handler.
    void deliverQueuedEventsSoon();

  private:
    X11Connection(xcb_connection_t* connection, const xcb_screen_t* screen, bool owned);
    void readEvents(bool queuedOnly);
    void stopWatching();

    xcb_connection_t* connection_;
    const xcb_screen_t* screen_;
    bool owned_;
    std::map<std::string, xcb_atom_t, std::less<>> atoms_;
    RunLoop* loop_ = nullptr;
    bool watching_ = false;
    bool deliveryPending_ = false;
    EventHandler handler_;
    std::function<void()> onBroken_;
    Handle readable_;
    Handle queuedDelivery_;
    std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);
};

}  // namespace olvane::platform::os
