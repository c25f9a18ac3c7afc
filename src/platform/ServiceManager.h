#pragma once

#include <string>

#include "platform/Status.h"

namespace olvane::platform {

// The user's service manager (systemd --user): the units of this user's session.
class ServiceManager {
  public:
    virtual ~ServiceManager() = default;

    // False when no user manager runs for this session; every other call then fails.
    virtual bool isRunning() = 0;
    // Reads the unit files again.
    virtual Status reload() = 0;
    // Starts the unit at each login from now on.
    virtual Status enable(const std::string& unit) = 0;
    // No longer starts it at login, and stops it.
    virtual Status disableAndStop(const std::string& unit) = 0;
    // Starts the unit, or restarts it when it runs.
    virtual Status restart(const std::string& unit) = 0;
    virtual bool isEnabled(const std::string& unit) = 0;
    virtual bool isActive(const std::string& unit) = 0;
};

}  // namespace olvane::platform
