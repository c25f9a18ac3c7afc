#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "platform/Handle.h"

namespace olvane::platform {

// What the keyboard layout in use prints on each key position, for showing shortcuts that go
// by position under the names the user's keys carry.
class KeyboardLayout {
  public:
    virtual ~KeyboardLayout() = default;

    // The caption of the key at `keyCode` (a position, numbered as in KeyEvent) under the active
    // layout: what it types unshifted, upper-cased ("Q", ";"). Absent when the layout cannot be
    // read or the key types nothing printable.
    virtual std::optional<std::string> keyLabel(std::uint16_t keyCode) const = 0;
    // Called on the run loop after the layout, or the group in use, changed.
    virtual Handle observeChanges(std::function<void()> observer) = 0;
};

}  // namespace olvane::platform
