#include "platform/linux/DiskFileSystem.h"

#include <sys/stat.h>
#include <time.h>

#include "platform/FileIO.h"
#include "platform/Paths.h"

namespace olvane::platform::os {
namespace {

long long nanoseconds(const timespec& time) {
    return static_cast<long long>(time.tv_sec) * 1'000'000'000LL + time.tv_nsec;
}

}  // namespace

std::optional<std::string> DiskFileSystem::read(const std::filesystem::path& path,
                                                ComposedText* error,
                                                std::size_t maximumBytes) const {
    return readWholeFile(path, error, maximumBytes);
}

Status DiskFileSystem::writeInPlace(const std::filesystem::path& path, std::string_view bytes) {
    return writeFileInPlace(path, bytes);
}

Status DiskFileSystem::createAtomically(const std::filesystem::path& path, std::string_view bytes) {
    return createFileAtomically(path, bytes);
}

Status DiskFileSystem::ensurePrivateFolder(const std::filesystem::path& folder) {
    return platform::ensurePrivateFolder(folder);
}

bool DiskFileSystem::isFolder(const std::filesystem::path& path) const {
    std::error_code ec;
    return std::filesystem::is_directory(path, ec);
}

bool DiskFileSystem::exists(const std::filesystem::path& path) const {
    return existsAtPath(path);
}

std::optional<FileSystem::Identity> DiskFileSystem::identity(
    const std::filesystem::path& path) const {
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0) {
        return std::nullopt;
    }
    return Identity{st.st_dev, st.st_ino, st.st_size, nanoseconds(st.st_mtim),
                    nanoseconds(st.st_ctim)};
}

long long DiskFileSystem::nowNs() const {
    timespec now{};
    ::clock_gettime(CLOCK_REALTIME, &now);
    return nanoseconds(now);
}

}  // namespace olvane::platform::os
