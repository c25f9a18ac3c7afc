#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace olvane::safari {

// The part of a freedesktop desktop entry needed to start an application.
class DesktopEntry {
  public:
    // nullopt unless the [Desktop Entry] group describes a visible application with an Exec line.
    static std::optional<DesktopEntry> parse(std::string_view text,
                                             const std::filesystem::path& location);
    static std::optional<DesktopEntry> load(const std::filesystem::path& location);

    // The program and its arguments, quoting undone and field codes expanded for no files.
    // Empty when the Exec line is malformed.
    std::vector<std::string> commandLine() const;

  private:
    std::string exec_;
    std::string name_;
    std::string icon_;
    std::filesystem::path location_;
};

}  // namespace olvane::safari
