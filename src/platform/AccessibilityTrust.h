#pragma once

namespace olvane::platform {

// Whether this process may observe and post input events for the whole session.
class AccessibilityTrust {
  public:
    virtual ~AccessibilityTrust() = default;
    virtual bool isProcessTrusted() = 0;
    // Asks the desktop to show its permission prompt when not trusted; true when trusted.
    virtual bool isProcessTrustedWithPrompt() = 0;
};

}  // namespace olvane::platform
