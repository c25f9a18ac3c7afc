#pragma once

#include <optional>
#include <string_view>

namespace olvane::platform {

// The application ID of the applications whose X11 window class or executable name differs
// from their desktop-file ID ("firefox-esr" → "org.mozilla.firefox"). Case does not matter, and
// a path is reduced to its last component. Absent for names the table does not know.
std::optional<std::string_view> applicationIdForAlias(std::string_view classOrExecutable);

}  // namespace olvane::platform
