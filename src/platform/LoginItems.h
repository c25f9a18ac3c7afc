#pragma once

#include <filesystem>
#include <vector>

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

    struct Removal {
        std::vector<std::filesystem::path> removed;
        // One per entry that starts the application and stayed.
        std::vector<Status> failures;
    };
    // Every entry the session would start the application from goes: ours, switched off or not,
    // and those the user made (a desktop's startup-applications tool copies the menu entry).
    // Those of other programs, or of another copy of the application, stay.
    virtual Removal removeEveryEntry() = 0;
};

}  // namespace olvane::platform
