#include "platform/ApplicationAliases.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <utility>

namespace olvane::platform {
namespace {

constexpr std::string_view kFirefox = "org.mozilla.firefox";
constexpr std::string_view kChrome = "com.google.Chrome";
constexpr std::string_view kOwnApplication = "so.olvane.mac";

// Chromium speaks to the same extension and host as Chrome, so it counts as Chrome. The names are
// spelt as the desktop files are named, since the reverse listing looks them up.
constexpr std::array<std::pair<std::string_view, std::string_view>, 14> kAliases{{
    {"firefox", kFirefox},
    {"firefox-esr", kFirefox},
    {"firefox-bin", kFirefox},
    {"navigator", kFirefox},
    {"org.mozilla.firefox", kFirefox},
    {"google-chrome", kChrome},
    {"google-chrome-stable", kChrome},
    {"chrome", kChrome},
    {"com.google.Chrome", kChrome},
    {"chromium", kChrome},
    {"chromium-browser", kChrome},
    {"org.chromium.Chromium", kChrome},
    {"olvanemac", kOwnApplication},
    {"so.olvane.mac", kOwnApplication},
}};

bool equalIgnoringCase(std::string_view a, std::string_view b) {
    return std::ranges::equal(a, b, [](char x, char y) {
        return std::tolower(static_cast<unsigned char>(x)) ==
               std::tolower(static_cast<unsigned char>(y));
    });
}

}  // namespace

std::optional<std::string_view> applicationIdForAlias(std::string_view classOrExecutable) {
    const auto slash = classOrExecutable.rfind('/');
    const auto name =
        slash == std::string_view::npos ? classOrExecutable : classOrExecutable.substr(slash + 1);
    for (const auto& [alias, id] : kAliases) {
        if (equalIgnoringCase(alias, name)) {
            return id;
        }
    }
    return std::nullopt;
}

std::vector<std::string_view> aliasesOfApplication(std::string_view applicationId) {
    std::vector<std::string_view> aliases;
    for (const auto& [alias, id] : kAliases) {
        if (id == applicationId && alias != applicationId) {
            aliases.push_back(alias);
        }
    }
    return aliases;
}

}  // namespace olvane::platform
