#pragma once

#include <sys/types.h>

#include <cstddef>
#include <filesystem>
#include <limits>
#include <optional>
#include <string>
#include <string_view>

#include "platform/ComposedText.h"
#include "platform/Status.h"

namespace olvane::platform {

// The files the browser side reads and writes: the disk in the programs, memory under test.
class FileSystem {
  public:
    // Enough of a file's state to tell that it changed since it was read.
    struct Identity {
        dev_t device = 0;
        ino_t inode = 0;
        off_t size = 0;
        long long modifiedNs = 0;  // since 1970
        long long changedNs = 0;
        bool operator==(const Identity&) const = default;
    };

    virtual ~FileSystem() = default;

    // The whole content of a regular file; nullopt when it cannot be read (`error` says why),
    // and when it is longer than `maximumBytes`, which is then never read.
    virtual std::optional<std::string> read(
        const std::filesystem::path& path, ComposedText* error = nullptr,
        std::size_t maximumBytes = std::numeric_limits<std::size_t>::max()) const = 0;
    // Truncates and rewrites the file itself, keeping its inode; private when created.
    virtual Status writeInPlace(const std::filesystem::path& path, std::string_view bytes) = 0;
    // Writes a private file where nothing is yet, never replacing what another writer put there.
    virtual Status createAtomically(const std::filesystem::path& path, std::string_view bytes) = 0;
    // Creates the folder and its missing parents, private.
    virtual Status ensurePrivateFolder(const std::filesystem::path& folder) = 0;
    virtual bool isFolder(const std::filesystem::path& path) const = 0;
    // Whether anything is at `path`.
    virtual bool exists(const std::filesystem::path& path) const = 0;
    // Nullopt when nothing is at `path`.
    virtual std::optional<Identity> identity(const std::filesystem::path& path) const = 0;
    // The time the file system stamps on a file written now, in nanoseconds since 1970.
    virtual long long nowNs() const = 0;

    std::optional<long long> modificationTimeNs(const std::filesystem::path& path) const {
        const auto found = identity(path);
        return found ? std::optional(found->modifiedNs) : std::nullopt;
    }
};

}  // namespace olvane::platform
