#include "platform/FileIO.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <vector>

#include "platform/Descriptor.h"
#include "platform/FileDescriptor.h"

namespace olvane::platform {
namespace {

namespace fs = std::filesystem;

constexpr std::size_t kReadChunk = 64 * 1024;

void syncFolder(const fs::path& folder) {
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

}  // namespace

namespace {

constexpr const char* kNotARegularFile = "N’est pas un fichier ordinaire";

ComposedText unreadable(const fs::path& path, const ComposedText& reason) {
    return "Impossible de lire " + quotedPath(path) + " : " + reason;
}

// `fd` opened without waiting: still a regular file of at most `maximumBytes`, switched back to
// blocking reads (which a regular file never makes wait); else the reason why not.
std::optional<ComposedText> refusalOf(int fd, std::size_t maximumBytes, struct stat& st) {
    if (::fstat(fd, &st) != 0) {
        return ComposedText(describeErrno(errno));
    }
    if (S_ISDIR(st.st_mode)) {
        return ComposedText(describeErrno(EISDIR));
    }
    if (!S_ISREG(st.st_mode)) {
        return ComposedText(kNotARegularFile);
    }
    if (static_cast<std::uintmax_t>(st.st_size) > maximumBytes) {
        return ComposedText(describeErrno(EFBIG));
    }
    const int flags = ::fcntl(fd, F_GETFL);
    if (flags < 0 || ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK) != 0) {
        return ComposedText(describeErrno(errno));
    }
    return std::nullopt;
}

}  // namespace

FileDescriptor openRegularFile(const fs::path& path, ComposedText* reason) {
    const auto refuse = [reason](const ComposedText& why) {
        if (reason) {
            *reason = why;
        }
        return FileDescriptor();
    };
    // Non-blocking, so that a FIFO with no writer answers at once instead of waiting for one.
    FileDescriptor fd(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
    if (!fd.valid()) {
        return refuse(ComposedText(describeErrno(errno)));
    }
    struct stat st {};
    if (const auto refusal = refusalOf(fd.get(), std::numeric_limits<std::size_t>::max(), st)) {
        return refuse(*refusal);
    }
    return fd;
}

std::optional<std::string> readWholeFile(const fs::path& path, ComposedText* error,
                                         std::size_t maximumBytes) {
    const auto fail = [&](const ComposedText& reason) -> std::optional<std::string> {
        if (error) {
            *error = unreadable(path, reason);
        }
        return std::nullopt;
    };
    // Non-blocking, so that a FIFO with no writer answers at once instead of waiting for one.
    const FileDescriptor fd(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
    if (!fd.valid()) {
        return fail(ComposedText(describeErrno(errno)));
    }
    struct stat st {};
    if (const auto refusal = refusalOf(fd.get(), maximumBytes, st)) {
        return fail(*refusal);
    }
    // Read straight into the result, sized from the file when it says: one read, no copy. Files
    // that say nothing of their size (those of /proc) are read in chunks.
    std::string content;
    content.reserve(st.st_size > 0 ? static_cast<std::size_t>(st.st_size) + 1 : kReadChunk);
    for (;;) {
        const auto used = content.size();
        if (used > maximumBytes) {
            return fail(ComposedText(describeErrno(EFBIG)));  // it grew while being read
        }
        if (used == content.capacity()) {
            content.reserve(used + kReadChunk);
        }
        content.resize(content.capacity());
        const ssize_t n = ::read(fd.get(), content.data() + used, content.size() - used);
        content.resize(used + static_cast<std::size_t>(std::max<ssize_t>(n, 0)));
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n < 0) {
            return fail(ComposedText(describeErrno(errno)));
        }
        if (n == 0) {
            return content;
        }
    }
}

namespace {

// The hidden name of a temporary file for `path`, with its six random characters to fill.
std::string temporaryNamePattern(const fs::path& path) {
    // Appended piece by piece: GCC 12 at -O3 sees a false overlap in `"." + name + ...`.
    std::string hidden(".");
    hidden.append(path.filename().string()).append(".XXXXXX");
    return hidden;
}

fs::path folderOf(const fs::path& path) {
    return path.has_parent_path() ? path.parent_path() : fs::path(".");
}

// A hidden temporary file beside `path` holding `bytes`, flushed to disk; its path goes in
// `temporary`.
Status writeTemporaryBeside(const fs::path& path, std::string_view bytes, mode_t mode,
                            fs::path& temporary) {
    const std::string pattern = (folderOf(path) / temporaryNamePattern(path)).string();
    std::vector<char> name(pattern.begin(), pattern.end());
    name.push_back('\0');
    const int fd = ::mkostemp(name.data(), O_CLOEXEC);
    if (fd < 0) {
        return errnoFailure("Impossible d’écrire " + quotedPath(path), errno);
    }
    temporary = fs::path(name.data());
    const bool written =
        ::fchmod(fd, mode) == 0 && writeAllToDescriptor(fd, bytes) && ::fsync(fd) == 0;
    const int writeError = errno;
    ::close(fd);
    if (!written) {
        ::unlink(temporary.c_str());
        return errnoFailure("Impossible d’écrire " + quotedPath(path), writeError);
    }
    return Status::success();
}

}  // namespace

Status writeFileAtomically(const fs::path& path, std::string_view bytes, mode_t mode) {
    fs::path temporary;
    if (auto written = writeTemporaryBeside(path, bytes, mode, temporary); !written) {
        return written;
    }
    if (::rename(temporary.c_str(), path.c_str()) != 0) {
        const int renameError = errno;
        ::unlink(temporary.c_str());
        return errnoFailure("Impossible de remplacer " + quotedPath(path), renameError);
    }
    syncFolder(folderOf(path));
    return Status::success();
}

Status createFileAtomically(const fs::path& path, std::string_view bytes, mode_t mode) {
    fs::path temporary;
    if (auto written = writeTemporaryBeside(path, bytes, mode, temporary); !written) {
        return written;
    }
    // A link, unlike a rename, fails on a name that is taken.
    bool created = ::link(temporary.c_str(), path.c_str()) == 0;
    int error = errno;
    if (!created && error != EEXIST && !existsAtPath(path)) {
        // A file system without hard links: a rename, checked just before, comes closest.
        created = ::rename(temporary.c_str(), path.c_str()) == 0;
        error = errno;
    }
    ::unlink(temporary.c_str());
    if (!created) {
        return errnoFailure("Impossible de créer " + quotedPath(path), error);
    }
    syncFolder(folderOf(path));
    return Status::success();
}

Status renameWithoutReplacing(const fs::path& from, const fs::path& to) {
    bool renamed = ::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0;
    int error = errno;
    if (!renamed && (error == EINVAL || error == ENOSYS)) {
        // A file system that cannot say "no replace": a link fails on a name that is taken.
        renamed = ::link(from.c_str(), to.c_str()) == 0 && ::unlink(from.c_str()) == 0;
        error = errno;
    }
    if (!renamed) {
        return errnoFailure("Impossible de renommer " + quotedPath(from), error);
    }
    syncFolder(folderOf(to));
    return Status::success();
}

Status placeUnderFreeName(const fs::path& base, const std::function<Status(const fs::path&)>& place,
                          fs::path& placed) {
    Status status = Status::success();
    for (int attempt = 1; attempt <= 100; ++attempt) {
        placed = attempt == 1 ? base : fs::path(base.string() + "-" + std::to_string(attempt));
        status = place(placed);
        if (status || !existsAtPath(placed)) {
            return status;
        }
    }
    return status;
}

std::string dateStampForName(double unixSeconds) {
    const auto seconds = static_cast<std::time_t>(std::isfinite(unixSeconds) ? unixSeconds : 0);
    std::tm local{};
    char text[32] = "";
    if (::localtime_r(&seconds, &local)) {
        std::strftime(text, sizeof text, "%Y%m%d-%H%M%S", &local);
    }
    return text;
}

void removeUnfinishedWrites(const fs::path& path) {
    const std::string pattern = temporaryNamePattern(path);
    const std::string_view prefix(pattern.data(), pattern.size() - 6);
    std::error_code ec;
    for (const auto& entry : fs::directory_iterator(folderOf(path), ec)) {
        const std::string name = entry.path().filename().string();
        if (name.size() == pattern.size() && name.rfind(prefix, 0) == 0) {
            fs::remove(entry.path(), ec);
        }
    }
}

Status writeFileInPlace(const fs::path& path, std::string_view bytes, mode_t mode) {
    const ComposedText what = "Impossible d’écrire " + quotedPath(path);
    // Non-blocking, so that a FIFO with no reader is refused at once instead of waiting for one;
    // emptied only once it is known to be a regular file.
    const FileDescriptor fd(
        ::open(path.c_str(), O_WRONLY | O_CREAT | O_NONBLOCK | O_NOCTTY | O_CLOEXEC, mode));
    if (!fd.valid()) {
        // ENXIO: a FIFO that no one reads, or a device without its driver.
        return errno == ENXIO ? Status::failure(what + " : " + kNotARegularFile)
                              : errnoFailure(what, errno);
    }
    struct stat st {};
    if (const auto refusal = refusalOf(fd.get(), std::numeric_limits<std::size_t>::max(), st)) {
        return Status::failure(what + " : " + *refusal);
    }
    if (::ftruncate(fd.get(), 0) != 0 || !writeAllToDescriptor(fd.get(), bytes)) {
        return errnoFailure(what, errno);
    }
    return Status::success();
}

bool existsAtPath(const fs::path& path) {
    std::error_code ec;
    return fs::exists(fs::symlink_status(path, ec));
}

bool mayMoveAway(const fs::path& path) {
    const auto folder = path.parent_path();
    struct stat folderState {};
    struct stat itemState {};
    if (::lstat(path.c_str(), &itemState) != 0 || ::stat(folder.c_str(), &folderState) != 0 ||
        ::faccessat(AT_FDCWD, folder.c_str(), W_OK | X_OK, AT_EACCESS) != 0) {
        return false;
    }
    const uid_t user = ::geteuid();
    // In a sticky folder (/tmp) only the owners may take an item away; root may always.
    if ((folderState.st_mode & S_ISVTX) && user != 0 && itemState.st_uid != user &&
        folderState.st_uid != user) {
        return false;
    }
    // A folder that changes parent rewrites its own "..".
    return !S_ISDIR(itemState.st_mode) ||
           ::faccessat(AT_FDCWD, path.c_str(), W_OK, AT_EACCESS) == 0;
}

std::optional<long long> modificationTimeNs(const fs::path& path) {
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0) {
        return std::nullopt;
    }
    return static_cast<long long>(st.st_mtim.tv_sec) * 1'000'000'000LL + st.st_mtim.tv_nsec;
}

}  // namespace olvane::platform
