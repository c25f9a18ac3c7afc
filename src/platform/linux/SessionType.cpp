#include "platform/linux/SessionType.h"

#include <cstdlib>
#include <string_view>

namespace olvane::platform::os {

bool isWaylandSession() {
    const char* wayland = std::getenv("WAYLAND_DISPLAY");
    const char* sessionType = std::getenv("XDG_SESSION_TYPE");
    return (wayland && *wayland) || (sessionType && std::string_view(sessionType) == "wayland");
}

}  // namespace olvane::platform::os
