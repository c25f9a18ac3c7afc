#pragma once

#include <filesystem>
#include <optional>
#include <string_view>

#include "platform/Status.h"

namespace olvane::safari {

// Finds and starts an installed application by its application identifier.
class ApplicationOpener {
  public:
    virtual ~ApplicationOpener() = default;
    // Where the application is described (its desktop entry); nullopt when it is not installed.
    virtual std::optional<std::filesystem::path> urlForApplication(
        std::string_view applicationId) const = 0;
    // Starts it without waiting for it; fails when it could not be started.
    virtual platform::Status openApplication(const std::filesystem::path& url) = 0;
};

}  // namespace olvane::safari
