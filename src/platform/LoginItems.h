#pragma once

#include "platform/ServiceStatus.h"
#include "platform/Status.h"

namespace olvane::platform {

// The application itself as a program the session starts at login.
class LoginItems {
  public:
    virtual ~LoginItems() = default;
    virtual ServiceStatus status() = 0;
    virtual Status registerApplication() = 0;
    virtual Status unregisterApplication() = 0;
};

}  // namespace olvane::platform
