#include "platform/linux/FileKeyValueStore.h"

#include "platform/Base64.h"
#include "platform/FileIO.h"
#include "platform/Json.h"
#include "platform/Paths.h"

namespace olvane::platform::os {
namespace {

namespace fs = std::filesystem;

// Far above any settings a person makes; a file larger than this is not ours to load.
constexpr std::size_t kMaxFileBytes = 32 * 1024 * 1024;
// As the kernel's own limit: a longer chain does not open, so it is never written through.
constexpr int kMaxLinkHops = 40;

}  // namespace

FileKeyValueStore::FileKeyValueStore(fs::path file, const Clock& clock)
    : file_(std::move(file)), clock_(clock) {
    load();
}

void FileKeyValueStore::load() {
    const auto target = writtenFile();
    // Only this process writes the file: what a killed write left beside it is of no use.
    removeUnfinishedWrites(target);
    std::error_code ec;
    if (!fs::exists(file_, ec) && !ec) {
        return;
    }
    report_.fileExisted = true;
    ComposedText error;
    const auto text = readWholeFile(file_, &error, kMaxFileBytes);
    if (!text) {
        // Unreadable is not corrupt: the user's file may be fine, so it is left exactly as it is.
        report_.leftUntouched = true;
        report_.problem = error;
        return;
    }
    auto object = json::parseObject(*text);
    if (!object) {
        setAsideUnparsable(target);
        return;
    }
    members_ = std::move(*object);
}

// Never overwrite what we cannot parse: keep it beside the new file for the user.
void FileKeyValueStore::setAsideUnparsable(const fs::path& target) {
    report_.problem = "Fichier des préférences illisible";
    const fs::path base = target.string() + ".corrupt-" + dateStampForName(clock_.unixNow());
    fs::path placed;
    const auto moved = placeUnderFreeName(
        base, [&](const fs::path& name) { return renameWithoutReplacing(target, name); }, placed);
    if (!moved) {
        report_.leftUntouched = true;
        report_.problem += " et impossible à mettre de côté : " + moved.description();
        return;
    }
    report_.setAside = placed;
}

// Where saving writes: the file a link leads to, so that the link stays.
fs::path FileKeyValueStore::writtenFile() const {
    fs::path path = file_;
    for (int hop = 0; hop < kMaxLinkHops; ++hop) {
        std::error_code ec;
        const auto target = fs::read_symlink(path, ec);
        if (ec) {
            return path;
        }
        path = target.is_absolute() ? target : path.parent_path() / target;
    }
    return path;
}

// A place set aside in our own folder has a name of our making: it may be shown.
ComposedText FileKeyValueStore::describePlace(const fs::path& path) const {
    if (path.parent_path() != file_.parent_path()) {
        return quotedPath(path);
    }
    return quotedPath(path) + " (" + ComposedText(path.filename().string()) + ")";
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
    if (report_.leftUntouched) {
        return Status::failure("Préférences non enregistrées : " + quotedPath(file_) +
                               " était illisible au démarrage et reste tel quel");
    }
    const auto target = writtenFile();
    if (target == file_) {
        if (auto folder = ensurePrivateFolder(file_.parent_path()); !folder) {
            return folder;
        }
    }
    return writeFileAtomically(target, json::dumpPretty(members) + "\n");
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

Status FileKeyValueStore::keepAside(std::string_view key, ComposedText& where) {
    const auto it = members_.find(key);
    if (it == members_.end()) {
        return Status::success();
    }
    // The bytes when they are bytes; otherwise the member itself, as the file had it.
    const auto value = get(key);
    const std::string content = value.isPresent() ? value.bytes : json::dumpCompact(*it);
    if (auto folder = ensurePrivateFolder(file_.parent_path()); !folder) {
        return folder;
    }
    const fs::path base =
        file_.parent_path() / (std::string(key) + ".corrupt-" + dateStampForName(clock_.unixNow()));
    fs::path placed;
    auto status = placeUnderFreeName(
        base, [&](const fs::path& name) { return createFileAtomically(name, content); }, placed);
    if (status) {
        where = describePlace(placed);
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
