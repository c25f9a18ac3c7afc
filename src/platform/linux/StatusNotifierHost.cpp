#include "platform/linux/StatusNotifierHost.h"

#if OLVANE_HAVE_SYSTEMD
#include <systemd/sd-bus.h>
#endif

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "platform/linux/BusConnection.h"

namespace olvane::platform::os {

#if OLVANE_HAVE_SYSTEMD

namespace {

constexpr const char* kWatcher = "org.kde.StatusNotifierWatcher";
constexpr const char* kWatcherPath = "/StatusNotifierWatcher";
// A desktop that takes longer to answer is as good as absent: the program must not freeze. A
// bus answers these in well under a millisecond.
constexpr std::uint64_t kCallTimeoutMicroseconds = 250'000;

}  // namespace

struct StatusNotifierHost::Bus {
    sd_bus* bus = nullptr;
    std::vector<sd_bus_slot*> matches;

    ~Bus() {
        for (auto* slot : matches) {
            sd_bus_slot_unref(slot);
        }
        sd_bus_flush_close_unref(bus);
    }
};

std::unique_ptr<StatusNotifierHost> StatusNotifierHost::create(RunLoop& loop) {
    std::unique_ptr<StatusNotifierHost> host(new StatusNotifierHost(loop));
    if (!host->connect()) {
        return nullptr;
    }
    return host;
}

StatusNotifierHost::StatusNotifierHost(RunLoop& loop) : loop_(loop) {}

StatusNotifierHost::~StatusNotifierHost() {
    readable_.cancel();
}

bool StatusNotifierHost::connect() {
    auto bus = std::make_unique<Bus>();
    bus->bus = openAnsweringSessionBus();
    if (!bus->bus) {
        return false;
    }
    sd_bus_set_method_call_timeout(bus->bus, kCallTimeoutMicroseconds);
    auto changed = [](sd_bus_message* message, void* data, sd_bus_error*) -> int {
        const char* name = nullptr;
        const char* oldOwner = nullptr;
        const char* newOwner = nullptr;
        auto* host = static_cast<StatusNotifierHost*>(data);
        if (sd_bus_message_read(message, "sss", &name, &oldOwner, &newOwner) >= 0 && newOwner &&
            !*newOwner) {
            host->present_ = false;  // the watcher left
            return 0;
        }
        host->watcherChanged();
        return 0;
    };
    sd_bus_slot* owner = nullptr;
    sd_bus_slot* host = nullptr;
    const std::string ownerRule =
        "type='signal',sender='org.freedesktop.DBus',"
        "member='NameOwnerChanged',arg0='" +
        std::string(kWatcher) + "'";
    if (sd_bus_add_match(bus->bus, &owner, ownerRule.c_str(), changed, this) < 0) {
        return false;
    }
    bus->matches.push_back(owner);
    if (sd_bus_match_signal(bus->bus, &host, nullptr, kWatcherPath, kWatcher,
                            "StatusNotifierHostRegistered", changed, this) < 0) {
        return false;
    }
    bus->matches.push_back(host);
    bus_ = std::move(bus);
    readable_ = loop_.watchReadable(sd_bus_get_fd(bus_->bus), [this] { processMessages(); });
    present_ = isPresent();
    return static_cast<bool>(readable_);
}

bool StatusNotifierHost::isPresent() {
    if (!bus_) {
        return false;  // the bus went away
    }
    sd_bus_error error{};  // SD_BUS_ERROR_NULL is a C compound literal
    sd_bus_message* reply = nullptr;
    int owned = 0;
    // Asked of the bus first: a property asked of an absent watcher would start one.
    if (sd_bus_call_method(bus_->bus, "org.freedesktop.DBus", "/org/freedesktop/DBus",
                           "org.freedesktop.DBus", "NameHasOwner", &error, &reply, "s",
                           kWatcher) >= 0) {
        sd_bus_message_read(reply, "b", &owned);
    }
    sd_bus_message_unref(reply);
    sd_bus_error_free(&error);
    int registered = 0;
    if (owned) {
        sd_bus_get_property_trivial(bus_->bus, kWatcher, kWatcherPath, kWatcher,
                                    "IsStatusNotifierHostRegistered", &error, 'b', &registered);
        sd_bus_error_free(&error);
    }
    // The replies waited for may have brought signals along.
    pendingProcess_ = loop_.post([this] { processMessages(); });
    return registered != 0;
}

Handle StatusNotifierHost::observeArrivals(Observer observer) {
    return arrivals_.connect(std::move(observer));
}

void StatusNotifierHost::processMessages() {
    if (bus_ && !processUntilIdle(bus_->bus)) {
        // The bus went away, and the watcher with it.
        readable_.cancel();
        bus_.reset();
        present_ = false;
    }
}

void StatusNotifierHost::watcherChanged() {
    // Asked outside the bus's own processing, which the question would re-enter.
    pendingCheck_ = loop_.post([this] {
        const bool present = isPresent();
        if (!std::exchange(present_, present) && present) {
            arrivals_.emit();
        }
    });
}

#else

struct StatusNotifierHost::Bus {};

std::unique_ptr<StatusNotifierHost> StatusNotifierHost::create(RunLoop&) {
    return nullptr;
}

StatusNotifierHost::StatusNotifierHost(RunLoop& loop) : loop_(loop) {}

StatusNotifierHost::~StatusNotifierHost() = default;

bool StatusNotifierHost::isPresent() {
    return false;
}

Handle StatusNotifierHost::observeArrivals(Observer observer) {
    return arrivals_.connect(std::move(observer));
}

void StatusNotifierHost::processMessages() {}

void StatusNotifierHost::watcherChanged() {}

#endif

}  // namespace olvane::platform::os
