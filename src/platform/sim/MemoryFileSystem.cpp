#include "platform/sim/MemoryFileSystem.h"

#include <cerrno>

namespace olvane::platform::sim {
namespace {

// The folder holding `path` ("/" for a top-level entry, "" for a relative name).
std::string parentOf(const std::string& path) {
    const auto slash = path.rfind('/');
    if (slash == std::string::npos) {
        return "";
    }
    return slash == 0 ? "/" : path.substr(0, slash);
}

}  // namespace

std::optional<std::string> MemoryFileSystem::read(const std::filesystem::path& path,
                                                  ComposedText* error,
                                                  std::size_t maximumBytes) const {
    const auto found = files_.find(path.native());
    const int failure = found == files_.end()                         ? ENOENT
                        : found->second.content.size() > maximumBytes ? EFBIG
                                                                      : 0;
    if (failure != 0) {
        if (error) {
            *error = errnoFailure("Impossible de lire " + quotedPath(path), failure).description();
        }
        return std::nullopt;
    }
    return found->second.content;
}

Status MemoryFileSystem::writeInPlace(const std::filesystem::path& path, std::string_view bytes) {
    if (!isFolder(parentOf(path.native())) || isFolder(path)) {
        return errnoFailure("Impossible d’écrire " + quotedPath(path), ENOENT);
    }
    auto& file = files_[path.native()];
    if (file.identity.inode == 0) {
        file.identity.inode = nextInode_++;
    }
    file.content = bytes;
    file.identity.size = static_cast<off_t>(bytes.size());
    file.identity.modifiedNs = file.identity.changedNs = nowNs();
    return Status::success();
}

Status MemoryFileSystem::createAtomically(const std::filesystem::path& path,
                                          std::string_view bytes) {
    if (exists(path)) {
        return errnoFailure("Impossible de créer " + quotedPath(path), EEXIST);
    }
    return writeInPlace(path, bytes);
}

Status MemoryFileSystem::ensurePrivateFolder(const std::filesystem::path& folder) {
    if (folder.empty()) {
        return Status::failure("Chemin vide");
    }
    for (auto step = folder.native(); !step.empty() && !folders_.count(step);
         step = parentOf(step)) {
        if (files_.count(step)) {
            return Status::failure(quotedPath(step) + " n’est pas un dossier");
        }
        folders_.insert(step);
    }
    return Status::success();
}

bool MemoryFileSystem::isFolder(const std::filesystem::path& path) const {
    return folders_.count(path.native()) == 1;
}

bool MemoryFileSystem::exists(const std::filesystem::path& path) const {
    return isFolder(path) || files_.count(path.native()) == 1;
}

std::optional<FileSystem::Identity> MemoryFileSystem::identity(
    const std::filesystem::path& path) const {
    const auto found = files_.find(path.native());
    return found == files_.end() ? std::nullopt : std::optional(found->second.identity);
}

long long MemoryFileSystem::nowNs() const {
    return static_cast<long long>(clock_.unixNow() * 1e9);
}

}  // namespace olvane::platform::sim
