#pragma once

#include <functional>
#include <string>
#include <utility>

#include "platform/AccessibilityTrust.h"

namespace olvane::platform::os {

// Trust as access to the session's input: asked anew at each question, since the user may fix
// it while the program runs. No setting of the desktop grants it, so the "prompt" explains what
// is missing and how to mend it.
class InputAccessTrust final : public AccessibilityTrust {
  public:
    // Empty when nothing is missing, else what is.
    using Missing = std::function<std::string()>;
    using Explain = std::function<void(const std::string& missing)>;

    InputAccessTrust(Missing missing, Explain explain)
        : missing_(std::move(missing)), explain_(std::move(explain)) {}

    bool isProcessTrusted() override { return missing_().empty(); }
    bool isProcessTrustedWithPrompt() override {
        const auto missing = missing_();
        if (!missing.empty() && explain_) {
            explain_(missing);
        }
        return missing.empty();
    }

  private:
    Missing missing_;
    Explain explain_;
};

}  // namespace olvane::platform::os
