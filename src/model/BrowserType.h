#pragma once

#include <optional>
#include <string_view>

#include "model/RawValueEnum.h"

// Kept in the model library rather than with the browser services: the native-messaging host and
// the Safari extension stand-in link only this library and need the browser names too.
namespace olvane {

// A supported browser. The raw value also names its status files ("firefox-health.json"…).
enum class BrowserType { firefox, safari, chrome };

template <>
struct RawValues<BrowserType> {
    static constexpr std::array<std::string_view, 3> names{"firefox", "safari", "chrome"};
    static constexpr bool listsAllCases = true;
};

// The application identifier of the browser ("org.mozilla.firefox"…).
std::string_view bundleIdentifier(BrowserType browser);
// The browser whose application identifier this is, if any (exact match).
std::optional<BrowserType> browserWithBundleIdentifier(std::string_view identifier);
// "Firefox", "Safari", "Chrome".
std::string_view displayName(BrowserType browser);

}  // namespace olvane
