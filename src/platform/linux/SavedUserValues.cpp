#include "platform/linux/SavedUserValues.h"

#include <cerrno>
#include <cstdio>

#include "platform/FileIO.h"
#include "platform/Paths.h"

namespace olvane::platform::os {

bool SavedUserValues::exist() const {
    return existsAtPath(file_);
}

std::optional<Json> SavedUserValues::read() const {
    if (!exist()) {
        return std::nullopt;
    }
    const auto text = readWholeFile(file_);
    auto values = text ? json::parseObject(*text) : std::nullopt;
    return values ? std::move(*values) : Json::object();
}

Status SavedUserValues::save(const Json& values) const {
    if (auto folder = ensurePrivateFolder(file_.parent_path()); !folder) {
        return folder;
    }
    return writeFileAtomically(file_, json::dumpPretty(values) + "\n");
}

Status SavedUserValues::discard() const {
    if (std::remove(file_.c_str()) != 0 && errno != ENOENT) {
        return errnoFailure("Impossible de supprimer " + quotedPath(file_), errno);
    }
    return Status::success();
}

}  // namespace olvane::platform::os
