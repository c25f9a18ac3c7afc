#pragma once

#include <compare>
#include <optional>
#include <string>
#include <string_view>

namespace olvane::platform::os {

// A version of KWin, as its support information states it ("KWin version: 6.6.0").
struct KWinVersion {
    int major = 0;
    int minor = 0;
    int patch = 0;

    // From the whole text of KWin's support information; nullopt when it states none.
    static std::optional<KWinVersion> fromSupportInformation(std::string_view text);
    std::string text() const;

    auto operator<=>(const KWinVersion&) const = default;
};

}  // namespace olvane::platform::os
