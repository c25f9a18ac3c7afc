#include "model/BrowserType.h"

namespace olvane {
namespace {

struct BrowserNames {
    std::string_view bundleIdentifier;
    std::string_view displayName;
};

constexpr std::array<BrowserNames, 3> kNames{{
    {"org.mozilla.firefox", "Firefox"},
    {"com.apple.Safari", "Safari"},
    {"com.google.Chrome", "Chrome"},
}};

}  // namespace

std::string_view bundleIdentifier(BrowserType browser) {
    return kNames[static_cast<std::size_t>(browser)].bundleIdentifier;
}

std::optional<BrowserType> browserWithBundleIdentifier(std::string_view identifier) {
    for (const auto browser : allCases<BrowserType>()) {
        if (bundleIdentifier(browser) == identifier) {
            return browser;
        }
    }
    return std::nullopt;
}

std::string_view displayName(BrowserType browser) {
    return kNames[static_cast<std::size_t>(browser)].displayName;
}

}  // namespace olvane
