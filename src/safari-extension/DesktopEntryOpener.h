#pragma once

#include <filesystem>
#include <vector>

#include "safari-extension/ApplicationOpener.h"

namespace olvane::safari {

// Finds an application by its desktop entry "<id>.desktop" and starts its Exec line as a
// detached process, as a desktop launcher would.
class DesktopEntryOpener final : public ApplicationOpener {
  public:
    // Entries are searched in `entryFolders` in order, the first found wins
    // (Paths::applicationEntryFolders()); applications start in `workingFolder`.
    DesktopEntryOpener(std::vector<std::filesystem::path> entryFolders,
                       std::filesystem::path workingFolder);

    std::optional<std::filesystem::path> urlForApplication(
        std::string_view applicationId) const override;
    platform::Status openApplication(const std::filesystem::path& url) override;

  private:
    std::vector<std::filesystem::path> entryFolders_;
    std::filesystem::path workingFolder_;
};

}  // namespace olvane::safari
