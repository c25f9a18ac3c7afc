#include "ui/foundation/IconThemeFiles.h"

#include <sys/stat.h>

#include <array>
#include <string>

namespace olvane::ui {
namespace {

namespace fs = std::filesystem;

// Deep enough for "48x48/apps" and "apps/48", the two layouts of the themes.
constexpr int kFolderDepth = 2;
constexpr std::array<std::string_view, 4> kImageSuffixes{".png", ".svg", ".svgz", ".xpm"};

// Absent, or there and a regular file.
bool absentOrRegular(const fs::path& file) {
    struct stat st {};
    return ::stat(file.c_str(), &st) != 0 || S_ISREG(st.st_mode);
}

bool isFolder(const fs::path& path) {
    std::error_code ec;
    return fs::is_directory(path, ec);
}

std::vector<fs::path> subfolders(const fs::path& folder) {
    std::vector<fs::path> found;
    std::error_code ec;
    for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
        if (isFolder(it->path())) {
            found.push_back(it->path());
        }
    }
    return found;
}

void addFoldersBelow(const fs::path& folder, int depth, std::vector<fs::path>& folders) {
    folders.push_back(folder);
    if (depth > 0) {
        for (const auto& sub : subfolders(folder)) {
            addFoldersBelow(sub, depth - 1, folders);
        }
    }
}

}  // namespace

IconThemeFiles::IconThemeFiles(std::vector<fs::path> themeFolders,
                               std::vector<fs::path> fallbackFolders)
    : themeFolders_(std::move(themeFolders)), fallbackFolders_(std::move(fallbackFolders)) {}

bool IconThemeFiles::onlyRegularFiles(std::string_view name) const {
    // A name with a slash would lead the lookup out of the themes' folders.
    if (name.empty() || name.find('/') != std::string_view::npos || !listing().indexesRegular) {
        return false;
    }
    // The lookup falls back on the name cut at its last dash, then at the one before...
    for (std::string stem(name);; stem.resize(stem.rfind('-'))) {
        for (const auto& folder : listing().imageFolders) {
            for (const auto suffix : kImageSuffixes) {
                if (!absentOrRegular(folder / (stem + std::string(suffix)))) {
                    return false;
                }
            }
        }
        if (stem.rfind('-') == std::string::npos) {
            return true;
        }
    }
}

const IconThemeFiles::Listing& IconThemeFiles::listing() const {
    std::call_once(listed_, [this] { listing_ = list(); });
    return listing_;
}

IconThemeFiles::Listing IconThemeFiles::list() const {
    Listing listing{fallbackFolders_, true};
    for (const auto& folder : themeFolders_) {
        for (const auto& theme : subfolders(folder)) {
            listing.indexesRegular = listing.indexesRegular &&
                                     absentOrRegular(theme / "index.theme") &&
                                     absentOrRegular(theme / "icon-theme.cache");
            addFoldersBelow(theme, kFolderDepth, listing.imageFolders);
        }
    }
    return listing;
}

}  // namespace olvane::ui
