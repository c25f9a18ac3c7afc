#pragma once

#include <filesystem>
#include <optional>

#include "platform/Json.h"
#include "platform/Status.h"

namespace olvane::platform::os {

// The user's own values of the desktop settings that a grayscale switch changes, kept in a small
// private file from the first switch on until they are put back. While the file exists the
// settings are ours to restore; without it they are the user's and are never touched.
class SavedUserValues {
  public:
    explicit SavedUserValues(std::filesystem::path file) : file_(std::move(file)) {}

    const std::filesystem::path& file() const { return file_; }
    bool exist() const;
    // nullopt when there is no file; an empty object when it cannot be read or is not a JSON
    // object (the values are lost, but the settings are still ours to put back).
    std::optional<Json> read() const;
    // Written atomically, 0600, in a private folder.
    Status save(const Json& values) const;
    Status discard() const;

  private:
    std::filesystem::path file_;
};

}  // namespace olvane::platform::os
