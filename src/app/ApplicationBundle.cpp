#include "app/ApplicationBundle.h"

#include <algorithm>
#include <array>
#include <cstdlib>

#include "platform/FileIO.h"

namespace olvane {
namespace {

namespace fs = std::filesystem;

// The programs of the application and the modules they load on first use, installed side by side.
constexpr std::array<const char*, 6> kPrograms = {
    "OlvaneMac",           "olvanemac-host",
    "OlvaneWatchdog",      "olvanemac-safari-extension",
    "olvane_gsettings.so", "olvane_network_favicons.so"};

std::string entryFileName() {
    return std::string(platform::Paths::kApplicationId) + ".desktop";
}

std::optional<fs::path> enclosingBuildTree(const fs::path& program) {
    for (fs::path folder = program.parent_path(); !folder.empty(); folder = folder.parent_path()) {
        if (platform::existsAtPath(folder / "CMakeCache.txt")) {
            return folder;
        }
        if (folder == folder.root_path()) {
            break;
        }
    }
    return std::nullopt;
}

std::vector<fs::path> programsBeside(const fs::path& program) {
    std::vector<fs::path> items{program};
    for (const char* name : kPrograms) {
        const auto sibling = program.parent_path() / name;
        if (sibling != program && platform::existsAtPath(sibling)) {
            items.push_back(sibling);
        }
    }
    return items;
}

// Our icon at each size of the hicolor theme under `icons`.
std::vector<fs::path> iconsIn(const fs::path& icons) {
    std::vector<fs::path> found;
    std::error_code ec;
    for (const auto& size : fs::directory_iterator(icons / "hicolor", ec)) {
        for (const char* extension : {".png", ".svg"}) {
            const auto icon =
                size.path() / "apps" / (std::string(platform::Paths::kApplicationId) + extension);
            if (platform::existsAtPath(icon)) {
                found.push_back(icon);
            }
        }
    }
    std::sort(found.begin(), found.end());
    return found;
}

}  // namespace

void ApplicationBundle::addInstalledBeside(const fs::path& folder) {
    if (folder.parent_path().filename() != "lib") {
        return;
    }
    const auto share = folder.parent_path().parent_path() / "share";
    if (const auto entry = share / "applications" / entryFileName();
        platform::existsAtPath(entry)) {
        items_.push_back(entry);
    }
    icons_ = iconsIn(share / "icons");
    if (const auto extension = share / "gnome-shell" / "extensions" / OLVANE_GNOME_EXTENSION_UUID;
        platform::existsAtPath(extension)) {
        items_.push_back(extension);
        gnomeExtension_ = extension;
    }
}

ApplicationBundle ApplicationBundle::locate(const fs::path& program,
                                            const std::optional<fs::path>& appImage,
                                            const platform::Paths& paths) {
    ApplicationBundle bundle;
    const fs::path absolute = program.lexically_normal();
    bundle.buildTree_ = enclosingBuildTree(absolute);
    if (bundle.buildTree_) {
        return bundle;
    }
    if (appImage && !appImage->empty()) {
        bundle.items_.push_back(appImage->lexically_normal());
    } else if (absolute.parent_path().filename() == "OlvaneMac") {
        bundle.items_.push_back(absolute.parent_path());
        bundle.addInstalledBeside(absolute.parent_path());
    } else {
        bundle.items_ = programsBeside(absolute);
    }
    const auto entry = paths.dataHome() / "applications" / entryFileName();
    if (platform::existsAtPath(entry) &&
        std::find(bundle.items_.begin(), bundle.items_.end(), entry) == bundle.items_.end()) {
        bundle.items_.push_back(entry);
    }
    return bundle;
}

std::optional<fs::path> ApplicationBundle::trustedAppImage(const fs::path& program,
                                                           const char* appImage,
                                                           const char* appDir) {
    if (!appImage || !*appImage || !appDir || !platform::liesInside(program, appDir)) {
        return std::nullopt;
    }
    return fs::path(appImage);
}

ApplicationBundle ApplicationBundle::ofRunningProgram(const platform::Paths& paths) {
    auto program = platform::runningProgram();
    if (program.empty()) {
        program = "/proc/self/exe";
    }
    return locate(program, trustedAppImage(program, std::getenv("APPIMAGE"), std::getenv("APPDIR")),
                  paths);
}

fs::path ApplicationBundle::companionProgram(std::string_view name, std::string_view buildFolder,
                                             const fs::path& program, const fs::path& buildTree) {
    std::error_code ec;
    const auto beside = (program.empty() ? fs::current_path(ec) : program.parent_path()) / name;
    if (platform::existsAtPath(beside) || !platform::liesInside(program, buildTree)) {
        return beside;
    }
    if (const auto built = buildTree / "src" / buildFolder / name; platform::existsAtPath(built)) {
        return built;
    }
    return beside;
}

}  // namespace olvane
