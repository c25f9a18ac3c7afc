#include "platform/linux/LogindSessionEvents.h"

#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <utility>
#include <vector>

#include "platform/linux/BusConnection.h"

#if OLVANE_HAVE_SYSTEMD
#include <systemd/sd-bus.h>
#endif

namespace olvane::platform::os {

#if OLVANE_HAVE_SYSTEMD

namespace {

constexpr const char* kLogind = "org.freedesktop.login1";
constexpr const char* kManagerPath = "/org/freedesktop/login1";
constexpr const char* kManager = "org.freedesktop.login1.Manager";
constexpr const char* kSession = "org.freedesktop.login1.Session";

}  // namespace

struct LogindSessionEvents::Bus {
    sd_bus* bus = nullptr;
    std::vector<sd_bus_slot*> matches;

    ~Bus() {
        for (auto* slot : matches) {
            sd_bus_slot_unref(slot);
        }
        sd_bus_flush_close_unref(bus);
    }

    bool match(const char* path, const char* interface, const char* member,
               sd_bus_message_handler_t handler, void* data) {
        sd_bus_slot* slot = nullptr;
        if (sd_bus_match_signal(bus, &slot, kLogind, path, interface, member, handler, data) < 0) {
            return false;
        }
        matches.push_back(slot);
        return true;
    }
};

std::unique_ptr<LogindSessionEvents> LogindSessionEvents::create(RunLoop& loop,
                                                                 const std::string& sessionId) {
    std::unique_ptr<LogindSessionEvents> events(new LogindSessionEvents(loop));
    if (!events->connect(sessionId)) {
        return nullptr;
    }
    return events;
}

LogindSessionEvents::LogindSessionEvents(RunLoop& loop) : loop_(loop) {}

LogindSessionEvents::~LogindSessionEvents() {
    readable_.cancel();
    pendingProcess_.cancel();
}

bool LogindSessionEvents::connect(const std::string& sessionId) {
    auto bus = std::make_unique<Bus>();
    if (sd_bus_open_system(&bus->bus) < 0) {
        return false;
    }
    sd_bus_error error{};  // SD_BUS_ERROR_NULL is a C compound literal
    sd_bus_message* reply = nullptr;
    const char* id = sessionId.empty() ? std::getenv("XDG_SESSION_ID") : sessionId.c_str();
    const int called =
        id && *id ? sd_bus_call_method(bus->bus, kLogind, kManagerPath, kManager, "GetSession",
                                       &error, &reply, "s", id)
                  : sd_bus_call_method(bus->bus, kLogind, kManagerPath, kManager, "GetSessionByPID",
                                       &error, &reply, "u", static_cast<std::uint32_t>(::getpid()));
    sd_bus_error_free(&error);
    const char* path = nullptr;
    if (called < 0 || sd_bus_message_read(reply, "o", &path) < 0) {
        sd_bus_message_unref(reply);
        return false;
    }
    sessionPath_ = path;
    sd_bus_message_unref(reply);

    auto handler = [](sd_bus_message* message, void* data, sd_bus_error*) -> int {
        auto* self = static_cast<LogindSessionEvents*>(data);
        const char* member = sd_bus_message_get_member(message);
        if (member && std::strcmp(member, "PrepareForSleep") == 0) {
            int sleeping = 1;
            if (sd_bus_message_read(message, "b", &sleeping) >= 0 && !sleeping) {
                self->send(SystemEvent::DidWake);
            }
        } else if (member && std::strcmp(member, "Unlock") == 0) {
            self->locked_ = false;
            self->send(SystemEvent::ScreenUnlocked);
        } else if (member && std::strcmp(member, "Lock") == 0) {
            self->locked_ = true;
        }
        return 0;
    };
    auto properties = [](sd_bus_message* message, void* data, sd_bus_error*) -> int {
        auto* self = static_cast<LogindSessionEvents*>(data);
        const char* interface = nullptr;
        if (sd_bus_message_read(message, "s", &interface) < 0 || !interface ||
            std::strcmp(interface, kSession) != 0 ||
            sd_bus_message_enter_container(message, 'a', "{sv}") < 0) {
            return 0;
        }
        bool hasLocked = false, hasActive = false;
        int locked = 0, active = 0;
        while (sd_bus_message_enter_container(message, 'e', "sv") > 0) {
            const char* name = nullptr;
            if (sd_bus_message_read(message, "s", &name) < 0) {
                break;
            }
            if (std::strcmp(name, "LockedHint") == 0 &&
                sd_bus_message_read(message, "v", "b", &locked) >= 0) {
                hasLocked = true;
            } else if (std::strcmp(name, "Active") == 0 &&
                       sd_bus_message_read(message, "v", "b", &active) >= 0) {
                hasActive = true;
            } else {
                sd_bus_message_skip(message, "v");
            }
            sd_bus_message_exit_container(message);
        }
        self->sessionPropertiesChanged(hasLocked, locked != 0, hasActive, active != 0);
        return 0;
    };
    const char* session = sessionPath_.c_str();
    if (!bus->match(kManagerPath, kManager, "PrepareForSleep", handler, this) ||
        !bus->match(session, kSession, "Lock", handler, this) ||
        !bus->match(session, kSession, "Unlock", handler, this) ||
        !bus->match(session, "org.freedesktop.DBus.Properties", "PropertiesChanged", properties,
                    this)) {
        return false;
    }
    int active = 1;
    sd_bus_get_property_trivial(bus->bus, kLogind, session, kSession, "Active", &error, 'b',
                                &active);
    sd_bus_error_free(&error);
    int locked = 0;
    sd_bus_get_property_trivial(bus->bus, kLogind, session, kSession, "LockedHint", &error, 'b',
                                &locked);
    sd_bus_error_free(&error);
    active_ = active != 0;
    locked_ = locked != 0;
    bus_ = std::move(bus);
    readable_ = loop_.watchReadable(sd_bus_get_fd(bus_->bus), [this] { processMessages(); });
    // Replies waited for above may have brought signals along.
    pendingProcess_ = loop_.post([this] { processMessages(); });
    return static_cast<bool>(readable_);
}

void LogindSessionEvents::processMessages() {
    if (bus_ && !processUntilIdle(bus_->bus)) {
        // The system bus went away: no more events come.
        readable_.cancel();
        bus_.reset();
    }
}

void LogindSessionEvents::sessionPropertiesChanged(bool hasLocked, bool locked, bool hasActive,
                                                   bool active) {
    if (hasLocked) {
        const bool wasLocked = std::exchange(locked_, locked);
        if (wasLocked && !locked) {
            send(SystemEvent::ScreenUnlocked);
        }
    }
    if (hasActive && active != active_) {
        active_ = active;
        send(active ? SystemEvent::SessionDidBecomeActive : SystemEvent::SessionDidResignActive);
    }
}

#else

struct LogindSessionEvents::Bus {};

std::unique_ptr<LogindSessionEvents> LogindSessionEvents::create(RunLoop&, const std::string&) {
    return nullptr;
}

LogindSessionEvents::LogindSessionEvents(RunLoop& loop) : loop_(loop) {}

LogindSessionEvents::~LogindSessionEvents() = default;

#endif

Handle LogindSessionEvents::observe(SystemEvent event, std::function<void()> observer) {
    return signals_[event].connect(std::move(observer));
}

Handle LogindSessionEvents::observeDisplayReconfiguration(DisplayReconfiguration) {
    return Handle();
}

void LogindSessionEvents::send(SystemEvent event) {
    signals_[event].emit();
}

}  // namespace olvane::platform::os
