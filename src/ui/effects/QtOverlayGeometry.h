#pragma once

#include <QRect>
#include <cmath>

#include "platform/Geometry.h"

namespace olvane::ui {

// Window frames between the seams (global display coordinates, as doubles) and Qt (whole
// pixels in the same coordinates).
inline QRect toQRect(const platform::Rect& rect) {
    return {static_cast<int>(std::lround(rect.x)), static_cast<int>(std::lround(rect.y)),
            static_cast<int>(std::lround(rect.width)), static_cast<int>(std::lround(rect.height))};
}

inline platform::Rect toRect(const QRect& rect) {
    return {double(rect.x()), double(rect.y()), double(rect.width()), double(rect.height())};
}

}  // namespace olvane::ui
