// A stand-in for systemd-logind on a private bus (DBUS_SYSTEM_BUS_ADDRESS): one session, "c1",
// whose signals and properties follow the commands read on standard input, one a line:
// "wake", "lock", "unlock", "locked 0|1", "active 0|1". Says "ready" once it owns its name.
#include <poll.h>
#include <systemd/sd-bus.h>
#include <unistd.h>

#include <iostream>
#include <string>

namespace {

constexpr const char* kManager = "org.freedesktop.login1.Manager";
constexpr const char* kSession = "org.freedesktop.login1.Session";
constexpr const char* kManagerPath = "/org/freedesktop/login1";
constexpr const char* kSessionPath = "/org/freedesktop/login1/session/c1";

int active = 1;
int lockedHint = 0;

int replySession(sd_bus_message* call, void*, sd_bus_error*) {
    return sd_bus_reply_method_return(call, "o", kSessionPath);
}

int readFlag(sd_bus*, const char*, const char*, const char* property, sd_bus_message* reply, void*,
             sd_bus_error*) {
    return sd_bus_message_append(reply, "b",
                                 std::string(property) == "Active" ? active : lockedHint);
}

const sd_bus_vtable kManagerTable[] = {
    SD_BUS_VTABLE_START(0),
    SD_BUS_METHOD("GetSession", "s", "o", replySession, 0),
    SD_BUS_METHOD("GetSessionByPID", "u", "o", replySession, 0),
    SD_BUS_SIGNAL("PrepareForSleep", "b", 0),
    SD_BUS_VTABLE_END,
};

const sd_bus_vtable kSessionTable[] = {
    SD_BUS_VTABLE_START(0),
    SD_BUS_PROPERTY("Active", "b", readFlag, 0, SD_BUS_VTABLE_PROPERTY_EMITS_CHANGE),
    SD_BUS_PROPERTY("LockedHint", "b", readFlag, 0, SD_BUS_VTABLE_PROPERTY_EMITS_CHANGE),
    SD_BUS_SIGNAL("Lock", "", 0),
    SD_BUS_SIGNAL("Unlock", "", 0),
    SD_BUS_VTABLE_END,
};

void perform(sd_bus* bus, const std::string& command) {
    if (command == "wake") {
        sd_bus_emit_signal(bus, kManagerPath, kManager, "PrepareForSleep", "b", 1);
        sd_bus_emit_signal(bus, kManagerPath, kManager, "PrepareForSleep", "b", 0);
    } else if (command == "lock" || command == "unlock") {
        sd_bus_emit_signal(bus, kSessionPath, kSession, command == "lock" ? "Lock" : "Unlock", "");
    } else if (command.starts_with("locked ")) {
        lockedHint = command.back() == '1';
        sd_bus_emit_properties_changed(bus, kSessionPath, kSession, "LockedHint", nullptr);
    } else if (command.starts_with("active ")) {
        active = command.back() == '1';
        sd_bus_emit_properties_changed(bus, kSessionPath, kSession, "Active", nullptr);
    }
    sd_bus_flush(bus);
}

}  // namespace

int main() {
    std::ios::sync_with_stdio(false);  // else nothing shows as buffered
    sd_bus* bus = nullptr;
    if (sd_bus_open_system(&bus) < 0 ||
        sd_bus_add_object_vtable(bus, nullptr, kManagerPath, kManager, kManagerTable, nullptr) <
            0 ||
        sd_bus_add_object_vtable(bus, nullptr, kSessionPath, kSession, kSessionTable, nullptr) <
            0 ||
        sd_bus_request_name(bus, "org.freedesktop.login1", 0) < 0) {
        return 1;
    }
    std::cout << "ready" << std::endl;
    std::string line;
    for (;;) {
        while (sd_bus_process(bus, nullptr) > 0) {
        }
        pollfd fds[2] = {{STDIN_FILENO, POLLIN, 0}, {sd_bus_get_fd(bus), POLLIN, 0}};
        if (::poll(fds, 2, -1) < 0) {
            continue;
        }
        if (fds[0].revents != 0) {
            if (!std::getline(std::cin, line)) {
                break;
            }
            perform(bus, line);
            // Lines already buffered show no more on the descriptor.
            while (std::cin.rdbuf()->in_avail() > 0 && std::getline(std::cin, line)) {
                perform(bus, line);
            }
        }
    }
    sd_bus_flush_close_unref(bus);
    return 0;
}
