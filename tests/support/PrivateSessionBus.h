#pragma once

#include <memory>
#include <optional>
#include <string>

#include "support/ChildProcess.h"

namespace olvane::test {

// A D-Bus daemon of its own, set as the session bus (DBUS_SESSION_BUS_ADDRESS) of this process
// and of the children started meanwhile, for the life of the object.
class PrivateSessionBus {
  public:
    PrivateSessionBus();
    ~PrivateSessionBus();
    PrivateSessionBus(const PrivateSessionBus&) = delete;
    PrivateSessionBus& operator=(const PrivateSessionBus&) = delete;

    bool ready() const { return !address_.empty(); }
    const std::string& address() const { return address_; }
    // The daemon itself: SIGSTOP makes a bus that takes no connection on, as a hung one.
    ChildProcess& daemon() { return *daemon_; }

  private:
    std::unique_ptr<ChildProcess> daemon_;
    std::string address_;
    std::optional<std::string> previous_;
};

}  // namespace olvane::test
