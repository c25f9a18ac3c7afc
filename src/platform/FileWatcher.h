#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>

#include "platform/Handle.h"

namespace olvane::platform {

enum class FileEvent : std::uint8_t {
    Write = 1 << 0,   // the file's content changed (written, or closed after writing)
    Rename = 1 << 1,  // the watched file was renamed; for a name watch, a file moved in or out
    Delete = 1 << 2,  // the watched file, or the file bearing the name, was removed
    Create = 1 << 3,  // a name watch only: a file now bears the name
    // The watch has ended and nothing more will come: the watched file is gone, or the folder of a
    // name watch was removed, moved away or unmounted. The owner arms a new one when it can.
    Lost = 1 << 4,
};

class FileEvents {
  public:
    constexpr FileEvents() = default;
    constexpr FileEvents(FileEvent e) : bits_(static_cast<std::uint8_t>(e)) {}  // NOLINT
    constexpr FileEvents operator|(FileEvents o) const { return FileEvents(bits_ | o.bits_); }
    constexpr FileEvents& operator|=(FileEvents o) {
        bits_ = static_cast<std::uint8_t>(bits_ | o.bits_);
        return *this;
    }
    constexpr bool has(FileEvent e) const { return (bits_ & static_cast<std::uint8_t>(e)) != 0; }
    constexpr bool empty() const { return bits_ == 0; }
    constexpr bool operator==(const FileEvents&) const = default;
    std::string describe() const;

  private:
    constexpr explicit FileEvents(int bits) : bits_(static_cast<std::uint8_t>(bits)) {}
    std::uint8_t bits_ = 0;
};

constexpr FileEvents operator|(FileEvent a, FileEvent b) {
    return FileEvents(a) | FileEvents(b);
}

using FileEventCallback = std::function<void(FileEvents)>;

// Change notifications delivered on the run loop.
class FileWatcher {
  public:
    virtual ~FileWatcher() = default;

    // Follows the file that `path` names now: after a rename or a delete the watch stays on the
    // old file, like an open descriptor would. An empty handle when the file cannot be opened.
    virtual Handle watchFile(const std::filesystem::path& path, FileEventCallback onEvent) = 0;

    // Follows whatever file bears `name` in `folder`: created, moved in, written, closed after
    // writing, moved away, deleted. Survives replacement by rename; ends, with `Lost`, when the
    // folder itself goes. An empty handle when the folder cannot be watched.
    virtual Handle watchName(const std::filesystem::path& folder, const std::string& name,
                             FileEventCallback onEvent) = 0;
};

}  // namespace olvane::platform
