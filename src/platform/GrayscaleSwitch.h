#pragma once

#include <functional>
#include <string>

#include "platform/Handle.h"
#include "platform/Status.h"

namespace olvane::platform {

// The desktop's own grayscale switch, reached through a library or a service found at run time.
class GrayscaleSwitch {
  public:
    virtual ~GrayscaleSwitch() = default;
    // Loads the library; false when it cannot be loaded.
    virtual bool load() = 0;
    // Looks the switch up in the loaded library.
    virtual bool hasSetEnabled() = 0;
    // What the log says when load(), or hasSetEnabled(), answered false.
    virtual std::string loadFailureText() const = 0;
    virtual std::string lookUpFailureText() const = 0;
    // Only after hasSetEnabled() answered true. A failure says why the desktop may not be in the
    // state asked for.
    virtual Status setEnabled(bool on) = 0;
    // Calls `onSwitchedOff` when someone else (the user, from the desktop's own menus or keys)
    // switches the grayscale off while this switch holds it on; the user's own values are back
    // by then. An empty handle where that cannot be seen.
    virtual Handle observeSwitchOffElsewhere(std::function<void()> onSwitchedOff) {
        (void)onSwitchedOff;
        return {};
    }
    // Whether the user's own settings, set aside by a switch on, still wait to be given back
    // (a switch off could not write them): in memory or in the file that keeps them.
    virtual bool keepsUserValues() const { return false; }
    // After a switch off that left the user's values waiting because another program held the
    // file they go into (the colour is back wherever that needed no file): `retry` runs on the
    // loop whenever that program has let go, until the handle goes, so that a switch off then
    // can give them back. An empty handle when no such wait is known.
    virtual Handle whenUserValuesMayBeGivenBack(std::function<void()> retry) {
        (void)retry;
        return {};
    }
};

}  // namespace olvane::platform
