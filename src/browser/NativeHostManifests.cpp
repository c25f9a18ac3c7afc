#include "browser/NativeHostManifests.h"

#include <utility>

#include "model/Logger.h"
#include "platform/FileIO.h"
#include "platform/Json.h"
#include "platform/ProgramSearch.h"

namespace olvane {
namespace {

namespace fs = std::filesystem;

const Logger& log() {
    return Logger::contentFilter();
}

Json manifest(const NativeHostSetup& setup) {
    return {{"name", kNativeHostName},
            {"description", "OlvaneMac Native Messaging Host - Synchronise les règles de filtrage"},
            {"path", setup.hostPath.string()},
            {"type", "stdio"}};
}

Json firefoxManifest(const NativeHostSetup& setup) {
    auto object = manifest(setup);
    object["allowed_extensions"] = Json::array({setup.extensions.firefoxAddOn});
    return object;
}

Json chromeManifest(const NativeHostSetup& setup) {
    auto object = manifest(setup);
    auto& origins = object["allowed_origins"] = Json::array();
    for (const auto& id : setup.extensions.chromeExtensions) {
        origins.push_back("chrome-extension://" + id + "/");
    }
    return object;
}

// A plain overwrite: the browsers read the file only when an extension connects.
platform::Status writeManifest(const fs::path& folder, const Json& object) {
    if (auto created = platform::ensurePrivateFolder(folder); !created) {
        return created;
    }
    return platform::writeFileInPlace(folder / kNativeHostManifestFile, json::dumpPretty(object));
}

bool installed(std::initializer_list<std::string_view> programs) {
    for (const auto program : programs) {
        if (platform::findProgramOnPath(program)) {
            return true;
        }
    }
    return false;
}

}  // namespace

const ExtensionIdentifiers& olvaneExtensions() {
    static const ExtensionIdentifiers ids{
        "olvanemac@olvane.so",
        {"lpmpddbeobhhimadlllgckialicapope", "mckboakkglcbkebjfgcodabafojhjnfa"}};
    return ids;
}

InstalledBrowsers InstalledBrowsers::detect() {
    return {.chrome = platform::existsAtPath("/opt/google/chrome/chrome") ||
                      installed({"google-chrome", "google-chrome-stable"}),
            .chromium = installed({"chromium", "chromium-browser"})};
}

fs::path firefoxManifestFolder(const platform::Paths& paths) {
    return paths.home() / ".mozilla" / "native-messaging-hosts";
}

fs::path chromeManifestFolder(const platform::Paths& paths) {
    return paths.configHome() / "google-chrome" / "NativeMessagingHosts";
}

fs::path chromiumManifestFolder(const platform::Paths& paths) {
    return paths.configHome() / "chromium" / "NativeMessagingHosts";
}

std::vector<fs::path> uninstallManifestFolders(const platform::Paths& paths) {
    const auto& config = paths.configHome();
    // Arc, the eighth browser, has no Linux build: there is nothing of it to remove.
    return {firefoxManifestFolder(paths),
            chromeManifestFolder(paths),
            config / "BraveSoftware" / "Brave-Browser" / "NativeMessagingHosts",
            config / "microsoft-edge" / "NativeMessagingHosts",
            config / "vivaldi" / "NativeMessagingHosts",
            chromiumManifestFolder(paths),
            config / "opera" / "NativeMessagingHosts"};
}

bool installNativeHostManifests(const NativeHostSetup& setup) {
    const bool firefox = installFirefoxNativeHostManifest(setup);
    const bool chrome = installChromeNativeHostManifest(setup);
    if (!platform::existsAtPath(setup.hostPath)) {
        log().error(
            "Native host binary introuvable: %s — les extensions Chrome/Firefox ne pourront pas "
            "se connecter. Rebuild l'app ou déplace OlvaneMac à son emplacement final puis "
            "relance.",
            setup.hostPath.string());
    }
    return firefox && chrome;
}

bool installFirefoxNativeHostManifest(const NativeHostSetup& setup) {
    const auto folder = firefoxManifestFolder(setup.paths);
    if (const auto written = writeManifest(folder, firefoxManifest(setup)); !written) {
        log().logError("Échec installation Native Host Firefox: " + written.description());
        return false;
    }
    log().info("Native Host manifest Firefox installé: %s",
               (folder / kNativeHostManifestFile).string());
    return true;
}

bool installChromeNativeHostManifest(const NativeHostSetup& setup) {
    std::vector<fs::path> folders;
    if (setup.browsers.chrome) {
        folders.push_back(chromeManifestFolder(setup.paths));
    }
    if (setup.browsers.chromium) {
        folders.push_back(chromiumManifestFolder(setup.paths));
    }
    if (folders.empty()) {
        log().info("Chrome non installé, skip manifest Chrome");
        return true;
    }
    bool allWritten = true;
    for (const auto& folder : folders) {
        if (const auto written = writeManifest(folder, chromeManifest(setup)); !written) {
            log().logError("Échec installation Native Host Chrome: " + written.description());
            allWritten = false;
            continue;
        }
        log().info("Native Host manifest Chrome installé: %s",
                   (folder / kNativeHostManifestFile).string());
    }
    return allWritten;
}

int uninstallNativeHostManifests(const platform::Paths& paths) {
    int removed = 0;
    for (const auto& folder : uninstallManifestFolders(paths)) {
        const auto file = folder / kNativeHostManifestFile;
        std::error_code ec;
        if (!fs::exists(fs::symlink_status(file, ec))) {
            continue;
        }
        const bool gone = fs::remove(file, ec);
        if (ec) {
            log().logError(
                "Échec suppression du manifest Native Host " + platform::quotedPath(file),
                platform::ComposedText(platform::describeErrno(ec.value())));
        } else if (gone) {
            ++removed;
        }
    }
    log().info("Native Host manifests désinstallés: %ld emplacement(s)",
               static_cast<long>(removed));
    return removed;
}

}  // namespace olvane
