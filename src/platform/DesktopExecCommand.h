#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace olvane::platform {

// What the field codes %c, %i and %k of an Exec value stand for.
struct DesktopExecFields {
    std::string name;
    std::string icon;
    std::filesystem::path location;
};

// The program and its arguments that a desktop entry's Exec value (already unescaped as a
// string) starts, quoting undone and field codes expanded for no files. Empty when the value is
// malformed.
std::vector<std::string> desktopExecCommand(std::string_view exec, const DesktopExecFields& fields);

}  // namespace olvane::platform
