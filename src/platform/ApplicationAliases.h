#pragma once

#include <optional>
#include <string_view>
#include <vector>

namespace olvane::platform {

// The application ID of the applications whose X11 window class or executable name differs
// from their desktop-file ID ("firefox-esr" → "org.mozilla.firefox"). Case does not matter, and
// a path is reduced to its last component. Absent for names the table does not know.
std::optional<std::string_view> applicationIdForAlias(std::string_view classOrExecutable);

// The other names under which `applicationId` may be installed, in the table's order, each as a
// desktop-file ID would spell it ("firefox-esr", "org.chromium.Chromium"…); the ID itself is not
// repeated. Empty for an ID the table does not know.
std::vector<std::string_view> aliasesOfApplication(std::string_view applicationId);

}  // namespace olvane::platform
