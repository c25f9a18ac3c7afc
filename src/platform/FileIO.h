#pragma once

#include <sys/types.h>

#include <cstddef>
#include <filesystem>
#include <functional>
#include <limits>
#include <optional>
#include <string>
#include <string_view>

#include "platform/FileDescriptor.h"
#include "platform/Status.h"

namespace olvane::platform {

inline constexpr mode_t kPrivateFileMode = 0600;

// `path` open for reading when it is a regular file; else an invalid descriptor and the reason in
// `*reason`. Never waits on what is not a regular file (a FIFO, a device, a socket): it is refused
// at once. The checks are made on the descriptor, so they hold for the very file it reads.
FileDescriptor openRegularFile(const std::filesystem::path& path, ComposedText* reason);

// The whole content of a regular file; nullopt when it cannot be read (`error` says why). Never
// waits on what is not a regular file (a FIFO, a device, a socket): it is refused at once, as is
// a file longer than `maximumBytes`.
std::optional<std::string> readWholeFile(
    const std::filesystem::path& path, ComposedText* error = nullptr,
    std::size_t maximumBytes = std::numeric_limits<std::size_t>::max());

// Writes a temporary file beside `path`, flushes it to disk and renames it over `path`, so a
// reader sees the old content or the new, never a part, and a crash leaves one of the two.
Status writeFileAtomically(const std::filesystem::path& path, std::string_view bytes,
                           mode_t mode = kPrivateFileMode);
// Removes the temporary files that atomic writes of `path` cut short by a crash left beside it.
// Only for a file that no other process may be writing at the time.
void removeUnfinishedWrites(const std::filesystem::path& path);

// As writeFileAtomically, but only where nothing is at `path` yet: what another process put
// there meanwhile is never replaced.
Status createFileAtomically(const std::filesystem::path& path, std::string_view bytes,
                            mode_t mode = kPrivateFileMode);

// Renames `from` to `to` only where nothing is at `to` yet.
Status renameWithoutReplacing(const std::filesystem::path& from, const std::filesystem::path& to);

// Tries `place` on `base`, then on `base` with "-2", "-3"… while the name is taken, so that
// nothing set aside before is ever replaced. `placed` gets the name used.
Status placeUnderFreeName(const std::filesystem::path& base,
                          const std::function<Status(const std::filesystem::path&)>& place,
                          std::filesystem::path& placed);
// The local date and time of `unixSeconds` as "20260101-000000", for the names of what is set
// aside.
std::string dateStampForName(double unixSeconds);

// Truncates and rewrites `path` itself, keeping its inode (for readers that hold the file open).
// Like reading, never waits on what is not a regular file: it is refused at once.
Status writeFileInPlace(const std::filesystem::path& path, std::string_view bytes,
                        mode_t mode = kPrivateFileMode);

// Whether anything is at `path`, a link that leads nowhere included.
bool existsAtPath(const std::filesystem::path& path);

// Whether this process may rename `path` into another folder of the same file system, or
// remove it: its folder is writable (and, when sticky, one of the two is ours), and a folder
// `path` is writable itself.
bool mayMoveAway(const std::filesystem::path& path);

// The modification time of `path` in nanoseconds, nullopt when it does not exist.
std::optional<long long> modificationTimeNs(const std::filesystem::path& path);

}  // namespace olvane::platform
