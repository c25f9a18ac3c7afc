#include "platform/Geometry.h"

#include <cstdio>

namespace olvane::platform {

std::string describe(const Rect& rect) {
    char buffer[128];
    std::snprintf(buffer, sizeof buffer, "{{%g, %g}, {%g, %g}}", rect.x, rect.y, rect.width,
                  rect.height);
    return buffer;
}

}  // namespace olvane::platform
