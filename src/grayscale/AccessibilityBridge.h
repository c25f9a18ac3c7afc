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

    // True when the switch was called and did it. A switch off that left the user's values
    // waiting for another program's lock is tried again once that lock goes, until a switch.
    bool setGrayscaleEnabled(bool enabled);
    // Gives the user's own values back where an earlier run left the desktop's grayscale on
    // without giving them back (killed together with its watchdog): the values still waiting
    // make it ours. Once this run used the switch, what waits is its own.
    void resetLeftoverGrayscale();
    // Whether a switch off waits to give the user's values back.
    bool givesUserValuesBackLater() const { return static_cast<bool>(giveBack_); }
    // Someone else switched the desktop's grayscale off while this bridge held it on.
    platform::Handle observeSwitchOffElsewhere(std::function<void()> onSwitchedOff) {
        return switch_.observeSwitchOffElsewhere(std::move(onSwitchedOff));
    }
    // True when the process is trusted, optionally after asking the desktop to prompt.
    bool checkAccessibilityPermissions(bool prompt);

  private:
    enum class Library : std::uint8_t { NotLoaded, Loaded, Missing };

    void giveBackWhenPossible();

    platform::GrayscaleSwitch& switch_;
    platform::AccessibilityTrust& trust_;
    Library library_ = Library::NotLoaded;
    bool used_ = false;
    platform::Handle giveBack_;
};

// True when `trust` holds, optionally after asking the desktop to prompt.
bool checkAccessibilityPermissions(platform::AccessibilityTrust& trust, bool prompt);

}  // namespace olvane
