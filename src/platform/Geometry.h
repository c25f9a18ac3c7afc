#pragma once

namespace olvane::platform {

// A rectangle in global display coordinates: origin at the top left of the primary display,
// y growing downwards.
struct Rect {
    double x = 0;
    double y = 0;
    double width = 0;
    double height = 0;

    double maxX() const { return x + width; }
    double maxY() const { return y + height; }

    // Whether `other` lies wholly inside this rectangle (edges included). An empty rectangle
    // contains nothing and is contained by nothing.
    bool contains(const Rect& other) const {
        if (isEmpty() || other.isEmpty()) {
            return false;
        }
        return other.x >= x && other.y >= y && other.maxX() <= maxX() && other.maxY() <= maxY();
    }
    bool isEmpty() const { return !(width > 0) || !(height > 0); }

    bool operator==(const Rect&) const = default;
};

}  // namespace olvane::platform
