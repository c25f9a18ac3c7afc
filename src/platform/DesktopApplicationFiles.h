#pragma once

#include <cstddef>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/DesktopEntryKeys.h"

namespace olvane::platform {

// One application entry and the desktop-file ID it is known by: without ".desktop", subfolders
// joined by "-" (kde/okular.desktop is "kde-okular").
struct DesktopApplicationFile {
    std::string id;
    DesktopEntryKeys keys;
};

// The application entries of a list of desktop-entry folders, searched in order: the first entry
// found for an ID wins, as on the desktop. A folder is searched two levels down at most and never
// into "Library", ".Trash", "Frameworks", "Extensions" or "PlugIns". Only Type=Application entries
// count; a Hidden entry, or one of another type, takes its ID away from the folders after it.
// Reads files only: safe on any thread.
class DesktopApplicationFiles {
  public:
    static constexpr int kMaximumDepth = 2;
    // A longer file is no desktop entry.
    static constexpr std::size_t kMaximumEntryBytes = 1024 * 1024;
    // Told of each folder that exists but cannot be listed, with the reason.
    using ScanError = std::function<void(const std::filesystem::path&, const std::string&)>;

    explicit DesktopApplicationFiles(std::vector<std::filesystem::path> folders);

    const std::vector<std::filesystem::path>& folders() const { return folders_; }

    // Every application entry, in the order found.
    std::vector<DesktopApplicationFile> list(const ScanError& onError = {}) const;
    // The entry owning `id`.
    std::optional<DesktopApplicationFile> find(std::string_view id) const;

  private:
    std::vector<std::filesystem::path> folders_;
};

}  // namespace olvane::platform
