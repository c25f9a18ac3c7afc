#pragma once

#include <filesystem>
#include <optional>
#include <string_view>
#include <vector>

#include "platform/DesktopApplicationFiles.h"
#include "ui/foundation/ApplicationEntry.h"

namespace olvane::ui {

// The applications of a list of desktop-entry folders, found as platform::DesktopApplicationFiles
// finds them, so that a running application's ID is the one the picker offers.
class DesktopEntryFolders {
  public:
    explicit DesktopEntryFolders(std::vector<std::filesystem::path> folders);

    const std::vector<std::filesystem::path>& folders() const { return files_.folders(); }

    // The offered applications (NoDisplay ones left out), in the order found.
    std::vector<ApplicationEntry> list() const;
    // The entry owning `id`, offered or not. Reads files only: safe on any thread.
    std::optional<ApplicationEntry> find(std::string_view id) const;

  private:
    platform::DesktopApplicationFiles files_;
};

}  // namespace olvane::ui
