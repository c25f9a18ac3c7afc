#include "friction/TurtleArithmetic.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace olvane::turtle {
namespace {

constexpr double kScrollThreshold = 0.5;

}  // namespace

PointerSlowing slowPointer(PointerRemainder remainder, double deltaX, double deltaY,
                           double factor) {
    PointerSlowing result;
    const double x = remainder.x + deltaX / factor;
    const double y = remainder.y + deltaY / factor;
    result.stepX = std::trunc(x);
    result.stepY = std::trunc(y);
    result.remainder = {x - result.stepX, y - result.stepY};
    return result;
}

ScrollSlowing slowScroll(ScrollRemainder remainder, double vertical, double horizontal,
                         double factor) {
    const double v = remainder.vertical + vertical / factor;
    const double h = remainder.horizontal + horizontal / factor;
    const bool verticalDue = std::abs(v) >= kScrollThreshold;
    const bool horizontalDue = std::abs(h) >= kScrollThreshold;
    ScrollSlowing result;
    if (!verticalDue && !horizontalDue) {
        result.remainder = {v, h};
        return result;
    }
    if (verticalDue) {
        result.vertical = wheelPixels(v);
    }
    if (horizontalDue) {
        result.horizontal = wheelPixels(h);
    }
    return result;
}

std::int32_t wheelPixels(double value) {
    if (std::isnan(value)) {
        return 0;
    }
    constexpr double lowest = std::numeric_limits<std::int32_t>::min();
    constexpr double highest = std::numeric_limits<std::int32_t>::max();
    return static_cast<std::int32_t>(std::clamp(std::round(value), lowest, highest));
}

platform::Point clampedToBounds(platform::Point position,
                                const std::optional<platform::Rect>& bounds) {
    if (!bounds) {
        return position;
    }
    return {std::max(std::min(position.x, bounds->maxX()), bounds->x),
            std::max(std::min(position.y, bounds->maxY()), bounds->y)};
}

std::optional<platform::Rect> unionOfDisplays(const std::vector<platform::Rect>& displays) {
    if (displays.empty()) {
        return std::nullopt;
    }
    double minX = displays.front().x;
    double minY = displays.front().y;
    double maxX = displays.front().maxX();
    double maxY = displays.front().maxY();
    for (const auto& d : displays) {
        minX = std::min(minX, d.x);
        minY = std::min(minY, d.y);
        maxX = std::max(maxX, d.maxX());
        maxY = std::max(maxY, d.maxY());
    }
    return platform::Rect{minX, minY, maxX - minX, maxY - minY};
}

}  // namespace olvane::turtle
