#pragma once

#include <functional>
#include <memory>
#include <string>

#include "platform/Handle.h"
#include "platform/RunLoop.h"
#include "platform/Signal.h"
#include "platform/linux/SessionBus.h"

struct sd_bus;
struct sd_bus_message;
struct sd_bus_slot;

namespace olvane::platform::os {

// A connection to the session bus served by the run loop: its calls never wait for their
// answer, which comes back on the loop; it is for a program that serves objects there too.
class AsyncBus {
  public:
    // The reply, or null with `error` set (the peer's words are the user's data).
    using ReplyHandler = std::function<void(sd_bus_message* reply, const ComposedText& error)>;
    using MessageHandler = std::function<void(sd_bus_message* message)>;

    // Null when there is no session bus that answers.
    static std::unique_ptr<AsyncBus> open(RunLoop& loop);
    ~AsyncBus();
    AsyncBus(const AsyncBus&) = delete;
    AsyncBus& operator=(const AsyncBus&) = delete;

    sd_bus* get() const { return bus_; }
    // This connection's own name on the bus (":1.42").
    std::string uniqueName() const;
    // Whether the bus still carries the connection.
    bool connected() const { return bus_ != nullptr; }

    // Calls `method` with `types` and `arguments` as sd_bus_message_append takes them. The
    // handler runs once unless the handle goes first.
    template <typename... Arguments>
    Handle call(const BusMethod& method, ReplyHandler onReply, const char* types,
                Arguments... arguments);
    // The messages that `rule` (a D-Bus match rule) selects.
    Handle match(const std::string& rule, MessageHandler onMessage);
    // The owner changes of `name`: the new owner, empty when it left.
    Handle watchOwner(const std::string& name, std::function<void(const std::string&)> onChange);
    // Sends what was queued (replies, signals) at once.
    void flush();
    // Called once the bus daemon has dropped the connection.
    Handle observeLoss(Task onLoss) {
        return lost_.connect([onLoss] { onLoss(); });
    }
    // Owns a slot of this connection (an object, a match…) until the handle goes.
    Handle keep(sd_bus_slot* slot);
    // Messages that came while the caller answered some are handled soon.
    void processSoon();

  private:
    AsyncBus(RunLoop& loop, sd_bus* bus);
    Handle startCall(sd_bus_message* message, ReplyHandler onReply);
    sd_bus_message* newCall(const BusMethod& method);
    bool append(sd_bus_message* message, const char* types, ...);
    void process();
    void armTimeout();

    RunLoop& loop_;
    sd_bus* bus_;
    // Shared with the handles: a slot outliving the connection is not touched.
    std::shared_ptr<bool> open_ = std::make_shared<bool>(true);
    Handle readable_;
    Handle timeout_;
    Handle pendingProcess_;
    Signal<> lost_;
};

template <typename... Arguments>
Handle AsyncBus::call(const BusMethod& method, ReplyHandler onReply, const char* types,
                      Arguments... arguments) {
    sd_bus_message* message = newCall(method);
    if (!message || !append(message, types, arguments...)) {
        return startCall(nullptr, std::move(onReply));
    }
    return startCall(message, std::move(onReply));
}

}  // namespace olvane::platform::os
