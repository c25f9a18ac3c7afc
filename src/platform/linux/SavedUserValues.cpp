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
    return remembered_ || existsAtPath(file_);
}

std::optional<Json> SavedUserValues::read() const {
    if (remembered_) {
        return remembered_;
    }
    if (!existsAtPath(file_)) {
        return std::nullopt;
    }
    const auto text = readWholeFile(file_);
    auto values = text ? json::parseObject(*text) : std::nullopt;
    return values ? std::move(*values) : Json::object();
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
                (void)keep();
            }
        });
}

Status SavedUserValues::discard() {
    folderWatch_ = Handle();
    remembered_.reset();
    if (std::remove(file_.c_str()) != 0 && errno != ENOENT) {
        return errnoFailure("Impossible de supprimer " + quotedPath(file_), errno);
    }
    return Status::success();
}

}  // namespace olvane::platform::os
