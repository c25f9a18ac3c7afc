#pragma once

#include <cstdint>
#include <functional>

#include "platform/AccessibilityTrust.h"
#include "platform/GrayscaleSwitch.h"

namespace olvane {

// The fallback grayscale back-end (the desktop's own grayscale switch, whose library is loaded
// once, on first use, and never retried) and the accessibility-permission check.
class AccessibilityBridge {
  public:
    AccessibilityBridge(platform::GrayscaleSwitch& grayscaleSwitch,
                        platform::AccessibilityTrust& trust);

    // True when the switch was called and did it.
    bool setGrayscaleEnabled(bool enabled);
    // Someone else switched the desktop's grayscale off while this bridge held it on.
    platform::Handle observeSwitchOffElsewhere(std::function<void()> onSwitchedOff) {
        return switch_.observeSwitchOffElsewhere(std::move(onSwitchedOff));
    }
    // True when the process is trusted, optionally after asking the desktop to prompt.
    bool checkAccessibilityPermissions(bool prompt);

  private:
    enum class Library : std::uint8_t { NotLoaded, Loaded, Missing };

    platform::GrayscaleSwitch& switch_;
    platform::AccessibilityTrust& trust_;
    Library library_ = Library::NotLoaded;
};

// True when `trust` holds, optionally after asking the desktop to prompt.
bool checkAccessibilityPermissions(platform::AccessibilityTrust& trust, bool prompt);

}  // namespace olvane
