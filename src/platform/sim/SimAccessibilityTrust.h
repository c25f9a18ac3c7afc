#pragma once

#include "platform/AccessibilityTrust.h"

namespace olvane::platform::sim {

// Accessibility trust decided by the test; a prompt grants it when `grantOnPrompt`.
class SimAccessibilityTrust final : public AccessibilityTrust {
  public:
    explicit SimAccessibilityTrust(bool trusted = true) : trusted_(trusted) {}

    bool isProcessTrusted() override { return trusted_; }
    bool isProcessTrustedWithPrompt() override {
        ++promptCount_;
        if (grantOnPrompt_) {
            trusted_ = true;
        }
        return trusted_;
    }

    void setTrusted(bool trusted) { trusted_ = trusted; }
    void setGrantOnPrompt(bool grant) { grantOnPrompt_ = grant; }
    int promptCount() const { return promptCount_; }

  private:
    bool trusted_;
    bool grantOnPrompt_ = false;
    int promptCount_ = 0;
};

}  // namespace olvane::platform::sim
