#pragma once

#include <functional>
#include <optional>
#include <string>

namespace olvane::platform {

// What Safari says of one of its app extensions.
struct SafariExtensionState {
    bool isEnabled = false;
};

// Safari's own account of the app extensions it carries.
class SafariExtensionManager {
  public:
    // No state when Safari could not answer; `error` then says why, in the user's language.
    using Completion = std::function<void(const std::optional<SafariExtensionState>& state,
                                          const std::optional<std::string>& error)>;

    virtual ~SafariExtensionManager() = default;

    // Calls `completion` once, on any thread.
    virtual void getStateOfSafariExtension(const std::string& identifier,
                                           Completion completion) = 0;
};

}  // namespace olvane::platform
