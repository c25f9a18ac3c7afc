#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/ComposedText.h"
#include "platform/Status.h"
#include "platform/linux/BusConnection.h"

struct sd_bus;

namespace olvane::platform::os {

// A method of a service on the bus.
struct BusMethod {
    const char* destination;
    const char* path;
    const char* interface;
    const char* member;
};

// A connection to the user's session bus (DBUS_SESSION_BUS_ADDRESS, else the user bus of
// XDG_RUNTIME_DIR) for calls that wait a bounded time for their reply.
class SessionBus {
  public:
    // Null when there is no session bus to connect to.
    static std::unique_ptr<SessionBus> open();
    ~SessionBus();
    SessionBus(const SessionBus&) = delete;
    SessionBus& operator=(const SessionBus&) = delete;

    // Whether some connection owns `name` now.
    bool hasOwner(const std::string& name);
    // A method without arguments that answers a string; nullopt with `error` filled on failure.
    std::optional<std::string> callForString(const BusMethod& method,
                                             ComposedText* error = nullptr);
    // A method taking one string that answers a boolean.
    std::optional<bool> callForBool(const BusMethod& method, const std::string& argument,
                                    ComposedText* error = nullptr);
    // A method taking one string whose answer does not matter.
    Status call(const BusMethod& method, const std::string& argument);
    // KDE's notice that keys of a configuration file changed (as `kwriteconfig --notify` sends
    // it), on which KDE programs read the file again.
    Status notifyConfigChanged(const std::string& configName, const std::string& group,
                               const std::vector<std::string>& keys);

  private:
    explicit SessionBus(sd_bus* bus) : bus_(bus) {}

    sd_bus* bus_;
};

}  // namespace olvane::platform::os
