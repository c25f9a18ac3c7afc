#pragma once

#include <functional>
#include <string>
#include <utility>

#include "platform/AccessibilityTrust.h"

namespace olvane::platform::os {

// An X11 client may observe the session's keys and windows without being granted anything: the
// process counts as trusted when those sources work. Otherwise the "prompt" explains what is
// missing, since no setting of the desktop would change it.
class X11AccessibilityTrust final : public AccessibilityTrust {
  public:
    using Explain = std::function<void(const std::string& missing)>;

    // `missing`: empty when the sources work, else what they lack.
    X11AccessibilityTrust(std::string missing, Explain explain)
        : missing_(std::move(missing)), explain_(std::move(explain)) {}

    bool isProcessTrusted() override { return missing_.empty(); }
    bool isProcessTrustedWithPrompt() override {
        if (!missing_.empty() && explain_) {
            explain_(missing_);
        }
        return missing_.empty();
    }

  private:
    std::string missing_;
    Explain explain_;
};

}  // namespace olvane::platform::os
