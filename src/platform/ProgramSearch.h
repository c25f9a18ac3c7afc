#pragma once

#include <filesystem>
#include <optional>
#include <string_view>

namespace olvane::platform {

// The program `name` as a shell finds it in `searchPath` (a PATH value, folders separated by
// ':'): the first executable regular file of that name. Empty folders in the list are skipped.
std::optional<std::filesystem::path> findProgram(std::string_view name,
                                                 std::string_view searchPath);

// As above, in the process's PATH.
std::optional<std::filesystem::path> findProgramOnPath(std::string_view name);

}  // namespace olvane::platform
