#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace olvane::platform {

std::string base64Encode(std::string_view bytes);
// Strict: standard alphabet, padding required, no whitespace. nullopt for anything else.
std::optional<std::string> base64Decode(std::string_view text);

}  // namespace olvane::platform
