#pragma once

#include <memory>
#include <string>

#include "platform/AccessibilityTrust.h"
#include "platform/EventTap.h"
#include "platform/RunLoop.h"
#include "platform/linux/EvdevEventTap.h"
#include "platform/linux/InputAccessTrust.h"
#include "platform/linux/X11EventTap.h"
#include "platform/sim/SimAccessibilityTrust.h"
#include "platform/sim/SimEventTap.h"

namespace olvane {

// The turtle's pointer input, chosen once at start: the input devices when this process may
// grab the mice and make a virtual pointer; else, in an X11 session, XInput 2 with pull-back
// warps; else (a Wayland session) the input devices all the same, whose missing access the
// turtle's permission prompt then explains; without any of them, the simulated input.
class PointerInputChoice {
  public:
    explicit PointerInputChoice(platform::RunLoop& loop,
                                platform::os::InputDevicePlaces places = {});

    platform::EventTap& eventTap();
    // Whether the turtle may use that input.
    platform::AccessibilityTrust& trust();
    // The choice and why, for the start-up log.
    const std::string& description() const { return description_; }

  private:
    platform::os::InputDevicePlaces places_;
    std::unique_ptr<platform::os::EvdevEventTap> evdev_;
    std::unique_ptr<platform::os::X11EventTap> x11_;
    platform::sim::SimEventTap simulated_;
    platform::os::InputAccessTrust inputAccess_;
    // X11 clients and the simulation need nothing granted.
    platform::sim::SimAccessibilityTrust granted_{true};
    std::string description_;
};

// What the turtle's permission prompt says: what is missing and how to grant it.
std::string inputAccessExplanation(const std::string& missing);

}  // namespace olvane
