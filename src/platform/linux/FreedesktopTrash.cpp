#include "platform/linux/FreedesktopTrash.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cmath>
#include <ctime>

#include "platform/Descriptor.h"
#include "platform/FileIO.h"
#include "platform/Paths.h"

namespace olvane::platform::os {
namespace {

namespace fs = std::filesystem;

constexpr int kMaxNameAttempts = 10'000;

bool isUnreserved(unsigned char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' ||
           c == '_' || c == '.' || c == '~' || c == '/';
}

}  // namespace

FreedesktopTrash::FreedesktopTrash(fs::path trashFolder, const Clock& clock)
    : files_(trashFolder / "files"), info_(trashFolder / "info"), clock_(clock) {}

std::string FreedesktopTrash::escapedPath(const std::string& path) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string out;
    for (const char ch : path) {
        const auto c = static_cast<unsigned char>(ch);
        if (isUnreserved(c)) {
            out += ch;
        } else {
            out += '%';
            out += kHex[c >> 4];
            out += kHex[c & 0x0F];
        }
    }
    return out;
}

std::string FreedesktopTrash::infoText(const fs::path& original, double unixTime) {
    const auto seconds = static_cast<std::time_t>(std::floor(unixTime));
    std::tm local{};
    ::localtime_r(&seconds, &local);
    char date[32] = {};
    std::strftime(date, sizeof date, "%Y-%m-%dT%H:%M:%S", &local);
    return "[Trash Info]\nPath=" + escapedPath(original.string()) + "\nDeletionDate=" + date + "\n";
}

Trash::Outcome FreedesktopTrash::recycle(const std::vector<fs::path>& items) {
    Outcome outcome;
    for (const auto& item : items) {
        fs::path moved;
        outcome.status = recycleOne(item, moved);
        if (!outcome.status) {
            break;
        }
        outcome.newLocations.emplace(item, moved);
    }
    return outcome;
}

bool FreedesktopTrash::mayRecycle(const fs::path& item) const {
    std::error_code ec;
    return mayMoveAway(fs::absolute(item, ec).lexically_normal());
}

Status FreedesktopTrash::recycleOne(const fs::path& item, fs::path& newLocation) {
    std::error_code ec;
    const fs::path original = fs::absolute(item, ec).lexically_normal();
    if (ec || !existsAtPath(original) || !original.has_filename()) {
        return errnoFailure("Impossible de mettre " + quotedPath(item) + " à la corbeille", ENOENT);
    }
    // Refused before anything moves: on another file system the copy would land in the trash
    // while the original stayed.
    if (!mayMoveAway(original)) {
        return errnoFailure("Impossible de mettre " + quotedPath(original) + " à la corbeille",
                            EACCES);
    }
    for (const auto& folder : {files_, info_}) {
        if (auto made = ensurePrivateFolder(folder); !made) {
            return made;
        }
    }
    Status status = Status::success();
    const auto name = reserveName(original, infoText(original, clock_.unixNow()), status);
    if (name.empty()) {
        return status;
    }
    const fs::path target = files_ / name;
    const fs::path infoFile = info_ / (name + ".trashinfo");
    if (::rename(original.c_str(), target.c_str()) == 0) {
        newLocation = target;
        return Status::success();
    }
    const int error = errno;
    if (error != EXDEV) {
        fs::remove(infoFile, ec);
        return errnoFailure("Impossible de mettre " + quotedPath(original) + " à la corbeille",
                            error);
    }
    // Another file system: the copy goes in first, so that nothing is lost if the removal fails.
    fs::copy(original, target, fs::copy_options::recursive | fs::copy_options::copy_symlinks, ec);
    if (ec) {
        const int reason = ec.value();
        fs::remove_all(target, ec);
        fs::remove(infoFile, ec);
        return errnoFailure("Impossible de copier " + quotedPath(original) + " dans la corbeille",
                            reason);
    }
    newLocation = target;
    fs::remove_all(original, ec);
    if (ec) {
        return errnoFailure(
            "Copié dans la corbeille, mais " + quotedPath(original) + " n’a pas pu être supprimé",
            ec.value());
    }
    return Status::success();
}

std::string FreedesktopTrash::reserveName(const fs::path& item, const std::string& info,
                                          Status& status) const {
    const std::string base = item.filename().string();
    for (int attempt = 1; attempt <= kMaxNameAttempts; ++attempt) {
        const std::string name = attempt == 1 ? base : base + "." + std::to_string(attempt);
        if (existsAtPath(files_ / name)) {
            continue;
        }
        const fs::path infoFile = info_ / (name + ".trashinfo");
        // O_EXCL makes the info file the claim on the name, as other programs trash alongside.
        const int fd = ::open(infoFile.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
        if (fd < 0 && errno == EEXIST) {
            continue;
        }
        if (fd < 0) {
            status = errnoFailure("Impossible d’écrire " + quotedPath(infoFile), errno);
            return {};
        }
        const bool written = writeAllToDescriptor(fd, info);
        const int writeError = errno;
        ::close(fd);
        if (!written) {
            std::error_code ec;
            fs::remove(infoFile, ec);
            status = errnoFailure("Impossible d’écrire " + quotedPath(infoFile), writeError);
            return {};
        }
        return name;
    }
    status = Status::failure("Aucun nom libre dans la corbeille pour " + quotedPath(item));
    return {};
}

}  // namespace olvane::platform::os
