#include "ui/foundation/HoverScale.h"

#include <cmath>

namespace olvane::ui {

bool HoverScale::measure(Size size) {
    const bool changed = std::abs(size.width - size_.width) > kSizeTolerance ||
                         std::abs(size.height - size_.height) > kSizeTolerance;
    if (measured_ && !changed) {
        return false;
    }
    measured_ = true;
    size_ = size;
    return true;
}

double HoverScale::factor() const {
    const double area = size_.width * size_.height;
    if (!hovered_ || !(area > 0)) {
        return 1.0;
    }
    const double side = std::sqrt(area);
    return (side + kGrowth) / side;
}

}  // namespace olvane::ui
