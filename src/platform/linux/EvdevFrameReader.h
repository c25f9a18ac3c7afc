#pragma once

#include <linux/input.h>

#include <cstdint>
#include <vector>

namespace olvane::platform::os {

// What a pointer device reported between two synchronisation events.
struct PointerFrame {
    struct Button {
        std::uint16_t code = 0;
        // 1 pressed, 0 released.
        std::int32_t value = 0;
        bool operator==(const Button&) const = default;
    };

    std::int32_t dx = 0;
    std::int32_t dy = 0;
    // In high-resolution wheel units, 120 a notch; positive: up, right.
    std::int32_t wheel = 0;
    std::int32_t horizontalWheel = 0;
    std::vector<Button> buttons;

    bool moves() const { return dx != 0 || dy != 0; }
    bool scrolls() const { return wheel != 0 || horizontalWheel != 0; }
};

// Gathers one pointer device's events into frames. A device that reports high-resolution
// wheels sends both kinds for each movement: only the fine one counts then. After the kernel
// dropped events, everything up to the next synchronisation is dropped too.
class EvdevFrameReader {
  public:
    static constexpr std::int32_t kWheelUnitsPerNotch = 120;

    explicit EvdevFrameReader(bool hasHighResolutionWheel)
        : hasHighResolutionWheel_(hasHighResolutionWheel) {}

    // True when `event` ends a frame, which frame() then holds until the next call.
    bool add(const input_event& event);
    const PointerFrame& frame() const { return frame_; }

  private:
    void addRelative(std::uint16_t code, std::int32_t value);

    bool hasHighResolutionWheel_;
    bool complete_ = false;
    bool dropping_ = false;
    PointerFrame frame_;
};

}  // namespace olvane::platform::os
