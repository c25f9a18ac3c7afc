#include "platform/DesktopApplicationFiles.h"

#include <algorithm>
#include <array>
#include <set>
#include <variant>

#include "platform/FileIO.h"
#include "platform/Status.h"

namespace olvane::platform {
namespace {

namespace fs = std::filesystem;
using std::string_view;

constexpr string_view kExtension = ".desktop";
constexpr std::array<string_view, 5> kSkippedFolders{"Library", ".Trash", "Frameworks",
                                                     "Extensions", "PlugIns"};

bool isSkippedFolder(string_view name) {
    return std::find(kSkippedFolders.begin(), kSkippedFolders.end(), name) != kSkippedFolders.end();
}

bool isDirectory(const fs::path& path) {
    std::error_code ec;
    return fs::is_directory(path, ec);
}

// What one file says about its ID.
struct Unusable {};  // unreadable or not a desktop entry: as if absent
struct Masked {};    // hidden, or not an application: the ID is taken, with nothing behind it
using Reading = std::variant<Unusable, Masked, DesktopApplicationFile>;

Reading readEntry(const fs::path& file, std::string id) {
    const auto text = readWholeFile(file, nullptr, DesktopApplicationFiles::kMaximumEntryBytes);
    auto keys = text ? DesktopEntryKeys::parse(*text) : std::nullopt;
    if (!keys) {
        return Unusable{};
    }
    if (keys->value("Type") != "Application" || keys->isTrue("Hidden")) {
        return Masked{};
    }
    return DesktopApplicationFile{std::move(id), std::move(*keys)};
}

// The names in `folder`, sorted so that every walk meets them in the same order; nullopt (and
// `error` set) when the folder cannot be listed.
std::optional<std::vector<std::string>> sortedNames(const fs::path& folder, std::string& error) {
    std::error_code ec;
    fs::directory_iterator it(folder, ec);
    std::vector<std::string> names;
    for (; !ec && it != fs::directory_iterator(); it.increment(ec)) {
        names.push_back(it->path().filename().string());
    }
    if (ec) {
        error = describeErrno(ec.value());
        return std::nullopt;
    }
    std::sort(names.begin(), names.end());
    return names;
}

class Walk {
  public:
    explicit Walk(const DesktopApplicationFiles::ScanError& onError) : onError_(onError) {}

    std::vector<DesktopApplicationFile> entries;

    void scanRoot(const fs::path& root) { scan(root, "", 0); }

  private:
    void scan(const fs::path& folder, const std::string& idPrefix, int depth) {
        std::error_code ec;
        if (depth > DesktopApplicationFiles::kMaximumDepth || !fs::exists(folder, ec)) {
            return;
        }
        std::string error;
        const auto names = sortedNames(folder, error);
        if (!names) {
            if (onError_) {
                onError_(folder, error);
            }
            return;
        }
        for (const auto& name : *names) {
            const fs::path path = folder / name;
            if (name.ends_with(kExtension)) {
                take(path, idPrefix + name.substr(0, name.size() - kExtension.size()));
            } else if (!isSkippedFolder(name) && isDirectory(path)) {
                scan(path, idPrefix + name + "-", depth + 1);
            }
        }
    }

    void take(const fs::path& file, std::string id) {
        if (seen_.contains(id)) {
            return;
        }
        auto reading = readEntry(file, id);
        if (std::holds_alternative<Unusable>(reading)) {
            return;
        }
        seen_.insert(std::move(id));
        if (auto* entry = std::get_if<DesktopApplicationFile>(&reading)) {
            entries.push_back(std::move(*entry));
        }
    }

    const DesktopApplicationFiles::ScanError& onError_;
    std::set<std::string, std::less<>> seen_;
};

// The files of `folder` that could carry `id`: "a-b-c" is a-b-c.desktop, a/b-c.desktop,
// a-b/c.desktop or a/b/c.desktop, within the depth limit.
void candidateFiles(const fs::path& folder, string_view id, int depth,
                    std::vector<fs::path>& found) {
    found.push_back(folder / (std::string(id) + std::string(kExtension)));
    if (depth == DesktopApplicationFiles::kMaximumDepth) {
        return;
    }
    for (auto dash = id.find('-'); dash != string_view::npos; dash = id.find('-', dash + 1)) {
        const string_view sub = id.substr(0, dash);
        if (!sub.empty() && !isSkippedFolder(sub) && isDirectory(folder / sub)) {
            candidateFiles(folder / sub, id.substr(dash + 1), depth + 1, found);
        }
    }
}

// Whether `a` comes before `b` in the walk: component by component, in name order.
bool walkedBefore(const fs::path& a, const fs::path& b) {
    return std::lexicographical_compare(
        a.begin(), a.end(), b.begin(), b.end(),
        [](const fs::path& x, const fs::path& y) { return x.native() < y.native(); });
}

bool isPlausibleId(string_view id) {
    return !id.empty() && id.find('/') == string_view::npos && id.find('\0') == string_view::npos;
}

}  // namespace

DesktopApplicationFiles::DesktopApplicationFiles(std::vector<fs::path> folders)
    : folders_(std::move(folders)) {}

std::vector<DesktopApplicationFile> DesktopApplicationFiles::list(const ScanError& onError) const {
    Walk walk(onError);
    for (const auto& folder : folders_) {
        walk.scanRoot(folder);
    }
    return std::move(walk.entries);
}

std::optional<DesktopApplicationFile> DesktopApplicationFiles::find(string_view id) const {
    if (!isPlausibleId(id)) {
        return std::nullopt;
    }
    for (const auto& folder : folders_) {
        std::vector<fs::path> files;
        candidateFiles(folder, id, 0, files);
        std::sort(files.begin(), files.end(), walkedBefore);
        for (const auto& file : files) {
            auto reading = readEntry(file, std::string(id));
            if (std::holds_alternative<Masked>(reading)) {
                return std::nullopt;
            }
            if (auto* entry = std::get_if<DesktopApplicationFile>(&reading)) {
                return std::move(*entry);
            }
        }
    }
    return std::nullopt;
}

}  // namespace olvane::platform
