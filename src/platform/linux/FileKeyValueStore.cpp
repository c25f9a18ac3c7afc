#include "platform/linux/FileKeyValueStore.h"

#include <cstdio>

#include "platform/Base64.h"
#include "platform/FileIO.h"
#include "platform/Json.h"
#include "platform/Paths.h"

namespace olvane::platform::os {
FileKeyValueStore::FileKeyValueStore(std::filesystem::path file) : file_(std::move(file)) {
    load();
}

void FileKeyValueStore::load() {
    // Only this process writes the file: what a killed write left beside it is of no use.
    removeUnfinishedWrites(file_);
    std::error_code ec;
    if (!std::filesystem::exists(file_, ec)) {
        return;
    }
    report_.fileExisted = true;
    ComposedText error;
    const auto text = readWholeFile(file_, &error);
    const auto object = text ? json::parseObject(*text) : std::nullopt;
    if (!object) {
        // Never overwrite what we cannot read: keep it beside the new file for the user.
        report_.problem = text ? ComposedText("Fichier des préférences illisible") : error;
        report_.setAside = file_;
        report_.setAside += ".corrupt";
        std::filesystem::rename(file_, report_.setAside, ec);
        if (ec) {
            report_.setAside.clear();
        }
        return;
    }
    members_ = *object;
}

StoredValue FileKeyValueStore::get(std::string_view key) const {
    const auto it = members_.find(key);
    if (it == members_.end()) {
        return StoredValue::missing();
    }
    if (!it->is_string()) {
        return StoredValue::undecodable();
    }
    auto bytes = base64Decode(it->get_ref<const std::string&>());
    return bytes ? StoredValue::present(std::move(*bytes)) : StoredValue::undecodable();
}

Status FileKeyValueStore::persist(const Json& members) const {
    if (auto folder = ensurePrivateFolder(file_.parent_path()); !folder) {
        return folder;
    }
    return writeFileAtomically(file_, json::dumpPretty(members) + "\n");
}

Status FileKeyValueStore::set(std::string_view key, std::string_view bytes) {
    auto next = members_;
    next[std::string(key)] = base64Encode(bytes);
    auto status = persist(next);
    if (status) {
        members_ = std::move(next);
    }
    return status;
}

Status FileKeyValueStore::remove(std::string_view key) {
    const auto it = members_.find(key);
    if (it == members_.end()) {
        return Status::success();
    }
    auto next = members_;
    next.erase(std::string(key));
    auto status = persist(next);
    if (status) {
        members_ = std::move(next);
    }
    return status;
}

Status FileKeyValueStore::removeDomain() {
    members_.clear();
    std::error_code ec;
    std::filesystem::remove(file_, ec);
    if (ec) {
        return errnoFailure("Impossible de supprimer " + quotedPath(file_), ec.value());
    }
    return Status::success();
}

}  // namespace olvane::platform::os
