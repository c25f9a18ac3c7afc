#pragma once

#include <filesystem>
#include <optional>
#include <string_view>
#include <vector>

#include "ui/foundation/ApplicationEntry.h"

namespace olvane::ui {

// The applications of a list of desktop-entry folders, searched in order: the first entry found
// for an ID wins, as on the desktop. A folder is searched two levels down at most and never into
// "Library", ".Trash", "Frameworks", "Extensions" or "PlugIns". Only Type=Application entries
// count; a Hidden entry, or one of another type, takes its ID away from the folders after it.
class DesktopEntryFolders {
  public:
    static constexpr int kMaximumDepth = 2;

    explicit DesktopEntryFolders(std::vector<std::filesystem::path> folders);

    const std::vector<std::filesystem::path>& folders() const { return folders_; }

    // The offered applications (NoDisplay ones left out), in the order found.
    std::vector<ApplicationEntry> list() const;
    // The entry owning `id`, offered or not. Reads files only: safe on any thread.
    std::optional<ApplicationEntry> find(std::string_view id) const;

  private:
    std::vector<std::filesystem::path> folders_;
};

}  // namespace olvane::ui
