#pragma once

#include <array>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/Paths.h"

// The native-messaging manifests through which Firefox and Chrome find olvanemac-host: written at
// every start, so that a moved installation heals itself, and removed at uninstall.
namespace olvane {

inline constexpr const char* kNativeHostName = "com.olvanemac.host";
inline constexpr const char* kNativeHostManifestFile = "com.olvanemac.host.json";

// The browser extensions allowed to start the host.
struct ExtensionIdentifiers {
    std::string firefoxAddOn;
    // Extension IDs of 32 letters.
    std::array<std::string, 2> chromeExtensions;
};

// Ours: the Firefox add-on, and the Chrome extension as published and as loaded unpacked from its
// source folder (whose manifest key pins the ID; the end-to-end test loads one with that key).
const ExtensionIdentifiers& olvaneExtensions();

// The Chrome-family browsers that get a manifest at start. Chromium speaks to the same extension
// as Chrome, so it gets Chrome's manifest in its own folder.
struct InstalledBrowsers {
    bool chrome = false;
    bool chromium = false;

    // Chrome: /opt/google/chrome/chrome, or google-chrome or google-chrome-stable on PATH.
    // Chromium: chromium or chromium-browser on PATH.
    static InstalledBrowsers detect();
};

struct NativeHostSetup {
    const platform::Paths& paths;
    // The installed olvanemac-host; empty when it cannot be told.
    std::filesystem::path hostPath;
    InstalledBrowsers browsers;
    ExtensionIdentifiers extensions = olvaneExtensions();
};

// Both manifests, then a check that the host is where they say. True when both were written (or
// Chrome's had no browser to go to); the check does not count.
bool installNativeHostManifests(const NativeHostSetup& setup);
// True when written.
bool installFirefoxNativeHostManifest(const NativeHostSetup& setup);
// True when written into the folder of each installed Chrome-family browser, or when there is
// none.
bool installChromeNativeHostManifest(const NativeHostSetup& setup);
// Removes our manifest from the folders of eight browsers, leaving the folders; returns how many
// were really removed. A removal that fails is logged and the others go on.
int uninstallNativeHostManifests(const platform::Paths& paths);

std::filesystem::path firefoxManifestFolder(const platform::Paths& paths);
std::filesystem::path chromeManifestFolder(const platform::Paths& paths);
std::filesystem::path chromiumManifestFolder(const platform::Paths& paths);
// The folders the uninstall walks, in its order.
std::vector<std::filesystem::path> uninstallManifestFolders(const platform::Paths& paths);

}  // namespace olvane
