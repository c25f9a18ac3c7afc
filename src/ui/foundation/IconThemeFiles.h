#pragma once

#include <filesystem>
#include <mutex>
#include <string_view>
#include <vector>

namespace olvane::ui {

// What a lookup by name in the freedesktop icon themes may open: the index and cache of each
// theme, and the images named after the icon, or after its name cut at a dash, in any folder of
// any theme and in the fallback folders.
class IconThemeFiles {
  public:
    IconThemeFiles(std::vector<std::filesystem::path> themeFolders,
                   std::vector<std::filesystem::path> fallbackFolders);

    // Whether those that exist are all regular files, so that reading them never waits on a FIFO
    // or a device. The themes' folders are listed at the first call; each call looks at the
    // files. Safe on any thread.
    bool onlyRegularFiles(std::string_view name) const;

  private:
    struct Listing {
        std::vector<std::filesystem::path> imageFolders;
        bool indexesRegular = true;
    };

    const Listing& listing() const;
    Listing list() const;

    std::vector<std::filesystem::path> themeFolders_;
    std::vector<std::filesystem::path> fallbackFolders_;
    mutable std::once_flag listed_;
    mutable Listing listing_;
};

}  // namespace olvane::ui
