#pragma once

#include <cstdint>
#include <optional>

namespace olvane::platform {

// Key positions. The key codes of KeyEvent number the keys by where they sit on the keyboard,
// in the numbering of the keyboards the shortcuts were first defined on (12: the key right of
// Tab; 49: the space bar). The Linux input layer numbers the same positions its own way (its
// evdev codes, 8 less than X11 key codes); this table turns one into the other.

// The key code of a key given by its evdev code; absent for modifier keys (which make no
// key-down of their own) and for keys with no place in the numbering (media and vendor keys).
std::optional<std::uint16_t> keyCodeForEvdev(unsigned evdevCode);

// The evdev code of the key at `keyCode`; absent for a position the Linux keyboard lacks.
std::optional<unsigned> evdevCodeForKeyCode(std::uint16_t keyCode);

// Shift, Control, Alt, Super (left and right) and Caps Lock.
bool isModifierKey(unsigned evdevCode);

}  // namespace olvane::platform
