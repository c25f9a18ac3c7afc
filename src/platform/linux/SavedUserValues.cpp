#include "platform/linux/SavedUserValues.h"

#include <cerrno>
#include <cstdio>

#include "platform/FileIO.h"
#include "platform/Paths.h"

namespace olvane::platform::os {
namespace {

Status write(const std::filesystem::path& file, const Json& values) {
    if (auto folder = ensurePrivateFolder(file.parent_path()); !folder) {
        return folder;
    }
    return writeFileAtomically(file, json::dumpPretty(values) + "\n");
}

}  // namespace

bool SavedUserValues::exist() const {
    return remembered_ || existsAtPath(file_) || lostWithTheirFolder();
}

// The folder's end may not have been heard of yet when the values are asked for.
bool SavedUserValues::lostWithTheirFolder() const {
    return lastSeen_ && (folderWentSinceSeen_ || !existsAtPath(file_.parent_path()));
}

std::optional<Json> SavedUserValues::read() const {
    if (remembered_) {
        return remembered_;
    }
    if (!existsAtPath(file_)) {
        return lostWithTheirFolder() ? lastSeen_ : std::nullopt;
    }
    const auto text = readWholeFile(file_);
    auto values = text ? json::parseObject(*text) : std::nullopt;
    // Its writer only ever leaves whole values there: what was seen last is still theirs.
    return values ? std::move(*values) : lastSeen_.value_or(Json::object());
}

Status SavedUserValues::save(const Json& values) {
    auto status = write(file_, values);
    if (status) {
        remembered_ = values;
        watchFolder();
    }
    return status;
}

Status SavedUserValues::keep() {
    if (!remembered_) {
        remembered_ = read();
    }
    if (!remembered_) {
        return Status::success();
    }
    watchFolder();
    return existsAtPath(file_) ? Status::success() : write(file_, *remembered_);
}

void SavedUserValues::watchFolder() {
    if (!files_ || folderWatch_) {
        return;
    }
    const auto folder = file_.parent_path();
    folderWatch_ = files_->watchName(
        folder.parent_path(), folder.filename().string(), [this](FileEvents events) {
            if (events.has(FileEvent::Create) || events.has(FileEvent::Rename)) {
                folderMadeAgain();
            }
        });
}

void SavedUserValues::folderMadeAgain() {
    if (!following_) {
        (void)keep();
        return;
    }
    watchFile();
    rememberFile();
}

Status SavedUserValues::discard() {
    if (!following_) {
        folderWatch_ = Handle();
    }
    remembered_.reset();
    lastSeen_.reset();
    folderWentSinceSeen_ = false;
    if (std::remove(file_.c_str()) != 0 && errno != ENOENT) {
        return errnoFailure("Impossible de supprimer " + quotedPath(file_), errno);
    }
    return Status::success();
}

void SavedUserValues::follow() {
    if (!files_ || following_) {
        return;
    }
    following_ = true;
    (void)ensurePrivateFolder(file_.parent_path());
    watchFolder();
    watchFile();
    rememberFile();
}

void SavedUserValues::watchFile() {
    fileWatch_ = files_->watchName(file_.parent_path(), file_.filename().string(),
                                   [this](FileEvents events) {
                                       if (events.has(FileEvent::Lost)) {
                                           fileWatch_.cancel();
                                           folderWentSinceSeen_ = true;
                                       } else {
                                           rememberFile();
                                       }
                                   });
}

// A file cut short or removed tells nothing new: what was seen last stays.
void SavedUserValues::rememberFile() {
    const auto text = readWholeFile(file_);
    if (auto values = text ? json::parseObject(*text) : std::nullopt) {
        lastSeen_ = std::move(*values);
        folderWentSinceSeen_ = false;
    }
}

}  // namespace olvane::platform::os
