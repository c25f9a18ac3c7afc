#include "platform/linux/FileKeyValueStore.h"

#include <cmath>
#include <ctime>

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

// Tries `place` on `base`, then on `base` with "-2", "-3"… while the name is taken, so that
// nothing set aside before is ever replaced. `placed` gets the name used.
template <typename Place>
Status placeUnderFreeName(const fs::path& base, Place place, fs::path& placed) {
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
    const fs::path base = target.string() + ".corrupt-" + dateStamp();
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

std::string FileKeyValueStore::dateStamp() const {
    const double now = clock_.unixNow();
    const auto seconds = static_cast<std::time_t>(std::isfinite(now) ? now : 0);
    std::tm local{};
    char text[32] = "";
    if (::localtime_r(&seconds, &local)) {
        std::strftime(text, sizeof text, "%Y%m%d-%H%M%S", &local);
    }
    return text;
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
    const fs::path base = file_.parent_path() / (std::string(key) + ".corrupt-" + dateStamp());
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
