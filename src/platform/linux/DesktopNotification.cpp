#include "platform/linux/DesktopNotification.h"

#include "platform/linux/BusConnection.h"

#ifdef OLVANE_HAVE_SYSTEMD
#include <systemd/sd-bus.h>
#endif

namespace olvane::platform::os {

#ifdef OLVANE_HAVE_SYSTEMD

bool showDesktopNotification(const std::string& summary, const std::string& body) {
    sd_bus* bus = openAnsweringSessionBus();
    if (!bus) {
        return false;
    }
    sd_bus_message* message = nullptr;
    int result = sd_bus_message_new_method_call(bus, &message, "org.freedesktop.Notifications",
                                                "/org/freedesktop/Notifications",
                                                "org.freedesktop.Notifications", "Notify");
    if (result >= 0) {
        // Application, replaced id, icon, summary, body, actions, hints, timeout (server's).
        result = sd_bus_message_append(message, "susssasa{sv}i", "OlvaneMac", 0u, "",
                                       summary.c_str(), body.c_str(), 0, 0, -1);
    }
    if (result >= 0) {
        // No reply is awaited: a missing or hung service must not hold the program.
        result = sd_bus_message_set_expect_reply(message, 0);
    }
    if (result >= 0) {
        result = sd_bus_send(bus, message, nullptr);
    }
    sd_bus_message_unref(message);
    sd_bus_flush_close_unref(bus);
    return result >= 0;
}

#else

bool showDesktopNotification(const std::string& /*summary*/, const std::string& /*body*/) {
    return false;
}

#endif

}  // namespace olvane::platform::os
