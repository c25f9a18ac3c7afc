#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "platform/Geometry.h"

// How the turtle turns incoming movement into slowed movement. Each function takes what was
// left over from earlier events and returns what is left now: fractions of a pixel wait until
// they make a whole one.
namespace olvane::turtle {

struct PointerRemainder {
    double x = 0;
    double y = 0;
    bool operator==(const PointerRemainder&) const = default;
};

struct PointerSlowing {
    PointerRemainder remainder;
    // Whole pixels to move now (truncated toward zero); both 0: nothing to move.
    double stepX = 0;
    double stepY = 0;

    bool moves() const { return stepX != 0 || stepY != 0; }
};

// Adds a movement divided by `factor` to the remainder and takes out the whole pixels.
PointerSlowing slowPointer(PointerRemainder remainder, double deltaX, double deltaY, double factor);

struct ScrollRemainder {
    double vertical = 0;
    double horizontal = 0;
    bool operator==(const ScrollRemainder&) const = default;
};

struct ScrollSlowing {
    ScrollRemainder remainder;
    // The whole pixels to scroll now on each axis, absent when none.
    std::optional<std::int32_t> vertical;
    std::optional<std::int32_t> horizontal;
};

// Adds scrolling divided by `factor` to the remainder. Once either axis reaches half a pixel,
// both are taken out: each axis that reached it is scrolled (rounded), the other is dropped.
ScrollSlowing slowScroll(ScrollRemainder remainder, double vertical, double horizontal,
                         double factor);

// Rounded to the nearest whole pixel (halves away from zero), held within a 32-bit integer;
// not a number gives 0.
std::int32_t wheelPixels(double value);

// `position` held inside `bounds` (the maxima included); unchanged when no bounds are known.
platform::Point clampedToBounds(platform::Point position,
                                const std::optional<platform::Rect>& bounds);

// The smallest rectangle holding every display; absent when there is none.
std::optional<platform::Rect> unionOfDisplays(const std::vector<platform::Rect>& displays);

}  // namespace olvane::turtle
