#include "platform/linux/AsyncBus.h"

#include <time.h>

#include <cstdarg>
#include <cstdint>

#if OLVANE_HAVE_SYSTEMD
#include <systemd/sd-bus.h>
#endif

#include "platform/linux/BusConnection.h"

namespace olvane::platform::os {

#if OLVANE_HAVE_SYSTEMD

namespace {

// A peer that takes longer is as good as absent.
constexpr std::uint64_t kCallTimeoutMicroseconds = 5'000'000;

std::uint64_t nowMicroseconds() {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<std::uint64_t>(now.tv_sec) * 1'000'000 +
           static_cast<std::uint64_t>(now.tv_nsec) / 1'000;
}

ComposedText errorOf(sd_bus_message* reply) {
    const sd_bus_error* error = sd_bus_message_get_error(reply);
    if (!error) {
        return {};
    }
    if (error->message) {
        return userData(error->message);
    }
    return ComposedText(error->name ? error->name : "erreur D-Bus");
}

int replied(sd_bus_message* reply, void* data, sd_bus_error*) {
    auto& handler = *static_cast<AsyncBus::ReplyHandler*>(data);
    if (sd_bus_message_is_method_error(reply, nullptr)) {
        handler(nullptr, errorOf(reply));
    } else {
        handler(reply, {});
    }
    return 0;
}

int matched(sd_bus_message* message, void* data, sd_bus_error*) {
    (*static_cast<AsyncBus::MessageHandler*>(data))(message);
    return 0;
}

template <typename Callback>
void ownUntilDestroyed(sd_bus_slot* slot, Callback* callback) {
    sd_bus_slot_set_userdata(slot, callback);
    sd_bus_slot_set_destroy_callback(slot, [](void* data) { delete static_cast<Callback*>(data); });
}

}  // namespace

std::unique_ptr<AsyncBus> AsyncBus::open(RunLoop& loop) {
    sd_bus* bus = openAnsweringSessionBus();
    if (!bus) {
        return nullptr;
    }
    sd_bus_set_method_call_timeout(bus, kCallTimeoutMicroseconds);
    return std::unique_ptr<AsyncBus>(new AsyncBus(loop, bus));
}

AsyncBus::AsyncBus(RunLoop& loop, sd_bus* bus) : loop_(loop), bus_(bus) {
    readable_ = loop_.watchReadable(sd_bus_get_fd(bus_), [this] { process(); });
    processSoon();
}

AsyncBus::~AsyncBus() {
    *open_ = false;
    readable_.cancel();
    sd_bus_flush_close_unref(bus_);
}

std::string AsyncBus::uniqueName() const {
    const char* name = nullptr;
    return sd_bus_get_unique_name(bus_, &name) >= 0 && name ? name : "";
}

Handle AsyncBus::keep(sd_bus_slot* slot) {
    if (!slot) {
        return {};
    }
    return Handle([slot, open = std::weak_ptr(open_)] {
        if (const auto alive = open.lock(); alive && *alive) {
            sd_bus_slot_unref(slot);
        }
    });
}

sd_bus_message* AsyncBus::newCall(const BusMethod& method) {
    sd_bus_message* message = nullptr;
    if (sd_bus_message_new_method_call(bus_, &message, method.destination, method.path,
                                       method.interface, method.member) < 0) {
        return nullptr;
    }
    return message;
}

bool AsyncBus::append(sd_bus_message* message, const char* types, ...) {
    va_list arguments;
    va_start(arguments, types);
    const int appended = sd_bus_message_appendv(message, types, arguments);
    va_end(arguments);
    if (appended < 0) {
        sd_bus_message_unref(message);
        return false;
    }
    return true;
}

Handle AsyncBus::startCall(sd_bus_message* message, ReplyHandler onReply) {
    sd_bus_slot* slot = nullptr;
    auto* handler = new ReplyHandler(std::move(onReply));
    const int sent =
        message ? sd_bus_call_async(bus_, &slot, message, replied, handler, 0) : -EINVAL;
    sd_bus_message_unref(message);
    if (sent < 0) {
        // Told on the loop, as any answer is.
        auto failed = std::shared_ptr<ReplyHandler>(handler);
        return loop_.post([failed] { (*failed)(nullptr, "appel D-Bus impossible"); });
    }
    ownUntilDestroyed(slot, handler);
    flush();
    armTimeout();
    return keep(slot);
}

Handle AsyncBus::match(const std::string& rule, MessageHandler onMessage) {
    sd_bus_slot* slot = nullptr;
    auto* handler = new MessageHandler(std::move(onMessage));
    if (sd_bus_add_match(bus_, &slot, rule.c_str(), matched, handler) < 0) {
        delete handler;
        return {};
    }
    ownUntilDestroyed(slot, handler);
    return keep(slot);
}

Handle AsyncBus::watchOwner(const std::string& name,
                            std::function<void(const std::string&)> onChange) {
    const std::string rule =
        "type='signal',sender='org.freedesktop.DBus',path='/org/freedesktop/DBus',"
        "interface='org.freedesktop.DBus',member='NameOwnerChanged',arg0='" +
        name + "'";
    return match(rule, [onChange](sd_bus_message* message) {
        const char* changed = nullptr;
        const char* before = nullptr;
        const char* after = nullptr;
        if (sd_bus_message_read(message, "sss", &changed, &before, &after) >= 0) {
            onChange(after ? after : "");
        }
    });
}

void AsyncBus::flush() {
    if (*open_) {
        sd_bus_flush(bus_);
    }
}

void AsyncBus::processSoon() {
    pendingProcess_ = loop_.post([this] { process(); });
}

void AsyncBus::process() {
    if (!*open_) {
        return;
    }
    int processed = 0;
    while ((processed = sd_bus_process(bus_, nullptr)) > 0) {
    }
    if (processed < 0) {
        // The daemon went away: nothing will come again.
        *open_ = false;
        readable_.cancel();
        timeout_.cancel();
        lost_.emit();
        return;
    }
    armTimeout();
}

void AsyncBus::armTimeout() {
    std::uint64_t deadline = 0;
    if (!*open_ || sd_bus_get_timeout(bus_, &deadline) < 0 || deadline == UINT64_MAX) {
        timeout_.cancel();
        return;
    }
    const auto now = nowMicroseconds();
    const auto wait = std::chrono::microseconds(deadline > now ? deadline - now : 0);
    timeout_ = loop_.after(std::chrono::duration_cast<Duration>(wait), [this] { process(); });
}

#else

std::unique_ptr<AsyncBus> AsyncBus::open(RunLoop&) {
    return nullptr;
}

AsyncBus::AsyncBus(RunLoop& loop, sd_bus* bus) : loop_(loop), bus_(bus) {}

AsyncBus::~AsyncBus() = default;

std::string AsyncBus::uniqueName() const {
    return {};
}

Handle AsyncBus::keep(sd_bus_slot*) {
    return {};
}

sd_bus_message* AsyncBus::newCall(const BusMethod&) {
    return nullptr;
}

bool AsyncBus::append(sd_bus_message*, const char*, ...) {
    return false;
}

Handle AsyncBus::startCall(sd_bus_message*, ReplyHandler onReply) {
    return loop_.post([onReply] { onReply(nullptr, "pas de D-Bus dans cette version"); });
}

Handle AsyncBus::match(const std::string&, MessageHandler) {
    return {};
}

Handle AsyncBus::watchOwner(const std::string&, std::function<void(const std::string&)>) {
    return {};
}

void AsyncBus::flush() {}

void AsyncBus::processSoon() {}

void AsyncBus::process() {}

void AsyncBus::armTimeout() {}

#endif

}  // namespace olvane::platform::os
