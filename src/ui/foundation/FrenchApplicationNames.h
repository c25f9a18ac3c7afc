#pragma once

#include <optional>
#include <string_view>

namespace olvane::ui {

// The French names of the applications whose own name the desktop gives in English. Matched
// exactly, case included.
std::optional<std::string_view> frenchApplicationName(std::string_view applicationId);

}  // namespace olvane::ui
