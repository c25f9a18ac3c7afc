#pragma once

#include <functional>
#include <optional>
#include <string>

namespace olvane::platform {

// Safari's own windows for its app extensions.
class SafariApplication {
  public:
    // No error when Safari showed the preferences; else why not, in the user's language.
    using Completion = std::function<void(const std::optional<std::string>& error)>;

    virtual ~SafariApplication() = default;

    // Opens Safari's preferences on the extension `identifier`; `completion` follows once, on
    // the run loop.
    virtual void showPreferencesForExtension(const std::string& identifier,
                                             Completion completion) = 0;
};

}  // namespace olvane::platform
