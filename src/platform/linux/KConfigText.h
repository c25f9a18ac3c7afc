#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace olvane::platform::os {

// Reads and edits single entries of a KDE configuration file's text (kwinrc…), leaving every
// other line exactly as it was: comments, other groups, other keys, line ends.
namespace kconfig {

bool hasGroup(std::string_view text, std::string_view group);

// The value of `key` in `[group]`; nullopt when the group or the key is absent. Localised
// forms ("Key[fr]") are other keys.
std::optional<std::string> entry(std::string_view text, std::string_view group,
                                 std::string_view key);

// `text` with `key` in `[group]` set to `value`, or removed when nullopt. A missing group is
// added at the end, after a blank line.
std::string withEntry(std::string_view text, std::string_view group, std::string_view key,
                      const std::optional<std::string>& value);

// `text` without the header of `[group]` and the blank line before it, when the group holds
// nothing but blank lines: what adding the group had added.
std::string withoutEmptyGroup(std::string_view text, std::string_view group);

}  // namespace kconfig
}  // namespace olvane::platform::os
