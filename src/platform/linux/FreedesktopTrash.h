#pragma once

#include <filesystem>
#include <string>

#include "platform/Clock.h"
#include "platform/Trash.h"

namespace olvane::platform::os {

// The desktop's home trash ($XDG_DATA_HOME/Trash): each item goes to files/ beside an
// info/<name>.trashinfo that tells the file manager where it came from and when, so that it can
// be restored. An item on another file system is copied in, then removed.
class FreedesktopTrash final : public Trash {
  public:
    FreedesktopTrash(std::filesystem::path trashFolder, const Clock& clock);

    Outcome recycle(const std::vector<std::filesystem::path>& items) override;
    bool mayRecycle(const std::filesystem::path& item) const override;

    // The content of an info file for `original` deleted at `unixTime` (local time).
    static std::string infoText(const std::filesystem::path& original, double unixTime);
    // The path as a trash info file writes it: each byte outside the unreserved set and "/"
    // as %XX.
    static std::string escapedPath(const std::string& path);

  private:
    Status recycleOne(const std::filesystem::path& item, std::filesystem::path& newLocation);
    // Claims a free name by creating its info file; the name, or empty on failure.
    std::string reserveName(const std::filesystem::path& item, const std::string& info,
                            Status& status) const;

    std::filesystem::path files_;
    std::filesystem::path info_;
    const Clock& clock_;
};

}  // namespace olvane::platform::os
