#pragma once

#include <string>

namespace olvane::platform {

// A point in global display coordinates (origin at the top left of the primary display, y
// growing downwards) or in a window's own coordinates (origin at its top left), as its user says.
struct Point {
    double x = 0;
    double y = 0;

    bool operator==(const Point&) const = default;
};

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
    // Whether `p` lies inside: the left and top edges belong to the rectangle, the right and
    // bottom ones do not.
    bool contains(const Point& p) const {
        return !isEmpty() && p.x >= x && p.x < maxX() && p.y >= y && p.y < maxY();
    }
    bool isEmpty() const { return !(width > 0) || !(height > 0); }

    bool operator==(const Rect&) const = default;
};

// "{{x, y}, {width, height}}", for log lines.
std::string describe(const Rect& rect);

}  // namespace olvane::platform
