#include "platform/linux/KWinVersion.h"

#include <charconv>

namespace olvane::platform::os {
namespace {

// Reads a decimal number at the start of `text` and drops it; nullopt when there is none.
std::optional<int> takeNumber(std::string_view& text) {
    int value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc()) {
        return std::nullopt;
    }
    text.remove_prefix(static_cast<std::size_t>(end - text.data()));
    return value;
}

bool takeDot(std::string_view& text) {
    if (!text.starts_with('.')) {
        return false;
    }
    text.remove_prefix(1);
    return true;
}

}  // namespace

std::optional<KWinVersion> KWinVersion::fromSupportInformation(std::string_view text) {
    constexpr std::string_view kLabel = "KWin version: ";
    const auto label = text.find(kLabel);
    if (label == std::string_view::npos) {
        return std::nullopt;
    }
    text.remove_prefix(label + kLabel.size());
    KWinVersion version;
    const auto major = takeNumber(text);
    if (!major || !takeDot(text)) {
        return std::nullopt;
    }
    const auto minor = takeNumber(text);
    if (!minor) {
        return std::nullopt;
    }
    version.major = *major;
    version.minor = *minor;
    if (takeDot(text)) {
        version.patch = takeNumber(text).value_or(0);
    }
    return version;
}

std::string KWinVersion::text() const {
    return std::to_string(major) + "." + std::to_string(minor) + "." + std::to_string(patch);
}

}  // namespace olvane::platform::os
