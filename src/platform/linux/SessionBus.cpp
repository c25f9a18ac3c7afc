#include "platform/linux/SessionBus.h"

#if OLVANE_HAVE_SYSTEMD
#include <systemd/sd-bus.h>

#include "platform/linux/BusCall.h"
#endif

namespace olvane::platform::os {

#if OLVANE_HAVE_SYSTEMD

namespace {

// A desktop that takes longer to answer is as good as absent: the program must not freeze.
constexpr std::uint64_t kCallTimeoutMicroseconds = 5'000'000;

void fill(ComposedText* error, ComposedText text) {
    if (error) {
        *error = std::move(text);
    }
}

}  // namespace

std::unique_ptr<SessionBus> SessionBus::open() {
    sd_bus* bus = openAnsweringSessionBus();
    if (!bus) {
        return nullptr;
    }
    sd_bus_set_method_call_timeout(bus, kCallTimeoutMicroseconds);
    return std::unique_ptr<SessionBus>(new SessionBus(bus));
}

SessionBus::~SessionBus() {
    sd_bus_flush_close_unref(bus_);
}

bool SessionBus::hasOwner(const std::string& name) {
    const BusMethod method{"org.freedesktop.DBus", "/org/freedesktop/DBus", "org.freedesktop.DBus",
                           "NameHasOwner"};
    return callForBool(method, name).value_or(false);
}

std::optional<std::string> SessionBus::callForString(const BusMethod& method, ComposedText* error) {
    BusCall call;
    const char* text = nullptr;
    if (!call.run(bus_, method, "") || sd_bus_message_read(call.reply(), "s", &text) < 0) {
        fill(error, call.failure(method));
        return std::nullopt;
    }
    return std::string(text);
}

std::optional<bool> SessionBus::callForBool(const BusMethod& method, const std::string& argument,
                                            ComposedText* error) {
    BusCall call;
    int answer = 0;
    if (!call.run(bus_, method, "s", argument.c_str()) ||
        sd_bus_message_read(call.reply(), "b", &answer) < 0) {
        fill(error, call.failure(method));
        return std::nullopt;
    }
    return answer != 0;
}

Status SessionBus::call(const BusMethod& method, const std::string& argument) {
    BusCall call;
    if (!call.run(bus_, method, "s", argument.c_str())) {
        return Status::failure(call.failure(method));
    }
    return Status::success();
}

Status SessionBus::notifyConfigChanged(const std::string& configName, const std::string& group,
                                       const std::vector<std::string>& keys) {
    sd_bus_message* message = nullptr;
    const auto path = "/" + configName;
    bool built = sd_bus_message_new_signal(bus_, &message, path.c_str(), "org.kde.kconfig.notify",
                                           "ConfigChanged") >= 0 &&
                 sd_bus_message_open_container(message, 'a', "{saay}") >= 0 &&
                 sd_bus_message_open_container(message, 'e', "saay") >= 0 &&
                 sd_bus_message_append(message, "s", group.c_str()) >= 0 &&
                 sd_bus_message_open_container(message, 'a', "ay") >= 0;
    for (const auto& key : keys) {
        built = built && sd_bus_message_append_array(message, 'y', key.data(), key.size()) >= 0;
    }
    built = built && sd_bus_message_close_container(message) >= 0 &&
            sd_bus_message_close_container(message) >= 0 &&
            sd_bus_message_close_container(message) >= 0 &&
            sd_bus_send(bus_, message, nullptr) >= 0 && sd_bus_flush(bus_) >= 0;
    sd_bus_message_unref(message);
    if (!built) {
        return Status::failure("Impossible d’annoncer le changement de « " +
                               ComposedText(configName) + " »");
    }
    return Status::success();
}

#else

std::unique_ptr<SessionBus> SessionBus::open() {
    return nullptr;
}

SessionBus::~SessionBus() = default;

bool SessionBus::hasOwner(const std::string&) {
    return false;
}

std::optional<std::string> SessionBus::callForString(const BusMethod&, ComposedText*) {
    return std::nullopt;
}

std::optional<bool> SessionBus::callForBool(const BusMethod&, const std::string&, ComposedText*) {
    return std::nullopt;
}

Status SessionBus::call(const BusMethod&, const std::string&) {
    return Status::failure("Pas de D-Bus dans cette version");
}

Status SessionBus::notifyConfigChanged(const std::string&, const std::string&,
                                       const std::vector<std::string>&) {
    return Status::failure("Pas de D-Bus dans cette version");
}

#endif

}  // namespace olvane::platform::os
