#pragma once

#include <cstdint>

namespace olvane::platform {

// The modifier keys held during a key press. Command is the Super (logo) key, Option the Alt
// key. The values are those the key codes' keyboard family uses, so a mask reads the same.
enum class KeyModifier : std::uint32_t {
    CapsLock = 0x10000,
    Shift = 0x20000,
    Control = 0x40000,
    Option = 0x80000,
    Command = 0x100000,
    NumericPad = 0x200000,
    Help = 0x400000,
    Function = 0x800000,
};

class KeyModifiers {
  public:
    constexpr KeyModifiers() = default;
    constexpr KeyModifiers(KeyModifier m) : bits_(static_cast<std::uint32_t>(m)) {}  // NOLINT
    static constexpr KeyModifiers fromMask(std::uint32_t mask) { return KeyModifiers(mask); }

    constexpr KeyModifiers operator|(KeyModifiers o) const { return KeyModifiers(bits_ | o.bits_); }
    constexpr bool has(KeyModifier m) const { return (bits_ & static_cast<std::uint32_t>(m)) != 0; }
    // Whether every modifier of `required` is held; others may be held too.
    constexpr bool containsAll(KeyModifiers required) const {
        return (bits_ & required.bits_) == required.bits_;
    }
    constexpr std::uint32_t mask() const { return bits_; }
    constexpr bool operator==(const KeyModifiers&) const = default;

  private:
    constexpr explicit KeyModifiers(std::uint32_t bits) : bits_(bits) {}
    std::uint32_t bits_ = 0;
};

constexpr KeyModifiers operator|(KeyModifier a, KeyModifier b) {
    return KeyModifiers(a) | KeyModifiers(b);
}

// One key-down. `keyCode` names the key's position on the keyboard, whatever the layout maps
// it to (see KeyCodes.h): 12 is the key right of Tab, "A" in AZERTY, "Q" in QWERTY.
struct KeyEvent {
    std::uint16_t keyCode = 0;
    KeyModifiers modifiers;
    // A key-down the keyboard repeats while the key stays held.
    bool isRepeat = false;
};

}  // namespace olvane::platform
