#pragma once

#include <sys/types.h>

#include <optional>
#include <string>

namespace olvane::platform {

// One running instance of an application.
struct RunningApplication {
    // The reverse-DNS application ID (the desktop-file ID, "org.mozilla.firefox"); absent when
    // the process cannot be tied to any application.
    std::optional<std::string> bundleIdentifier;
    // The name shown to the user, as the application's desktop entry gives it.
    std::optional<std::string> localizedName;
    pid_t processIdentifier = 0;
    // Unix seconds; absent when unknown.
    std::optional<double> launchDate;

    bool operator==(const RunningApplication&) const = default;
};

}  // namespace olvane::platform
