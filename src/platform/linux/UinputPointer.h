#pragma once

#include <atomic>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>

#include "platform/FileDescriptor.h"

namespace olvane::platform::os {

// A virtual relative pointer made through uinput: it moves, scrolls (high-resolution wheels,
// with the whole notches for the programs that read only those) and presses the mouse buttons.
// The device goes away with the object.
class UinputPointer {
  public:
    // Null when `uinput` cannot be opened or refuses the device.
    static std::unique_ptr<UinputPointer> create(const std::filesystem::path& uinput,
                                                 const std::string& name);
    ~UinputPointer();
    UinputPointer(const UinputPointer&) = delete;
    UinputPointer& operator=(const UinputPointer&) = delete;

    // Each is one frame of the device; false when the kernel refused it.
    bool move(std::int32_t dx, std::int32_t dy);
    // In high-resolution units, 120 a notch.
    bool scroll(std::int32_t wheel, std::int32_t horizontalWheel);
    bool button(std::uint16_t code, bool pressed);
    // Lets go of every mouse button it may hold down, in one frame. Safe in a signal handler:
    // no allocation, no lock, one write.
    void releaseButtonsFromSignal();

    // The device's node under /dev/input, absent when the kernel does not say.
    std::optional<std::filesystem::path> eventNode() const;

  private:
    explicit UinputPointer(FileDescriptor fd) : fd_(std::move(fd)) {}
    bool write(std::initializer_list<std::array<std::int32_t, 3>> events);

    FileDescriptor fd_;
    // High-resolution units not yet part of a whole notch.
    std::int32_t wheelRemainder_ = 0;
    std::int32_t horizontalWheelRemainder_ = 0;
    // The mouse buttons that may be down, BTN_MOUSE as the lowest bit: set before a press is
    // written, cleared once its release is.
    std::atomic<std::uint32_t> heldButtons_{0};
};

}  // namespace olvane::platform::os
