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
    }
    return status;
}

Status SavedUserValues::keepOnDisk() const {
    if (!remembered_ || existsAtPath(file_)) {
        return Status::success();
    }
    return write(file_, *remembered_);
}

Status SavedUserValues::discard() {
    remembered_.reset();
    if (std::remove(file_.c_str()) != 0 && errno != ENOENT) {
        return errnoFailure("Impossible de supprimer " + quotedPath(file_), errno);
    }
    return Status::success();
}

}  // namespace olvane::platform::os
