#pragma once

#include <string>

namespace olvane::platform::os {

// Shows a notification through the desktop's notification service on the session bus, without
// waiting for it. False when there is no session bus (or no libsystemd to reach it); whether a
// service shows it is not known.
bool showDesktopNotification(const std::string& summary, const std::string& body);

}  // namespace olvane::platform::os
