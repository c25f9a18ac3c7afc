#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "platform/Handle.h"
#include "platform/Observable.h"
#include "ui/pages/monochrome/AllowedAppRowData.h"
#include "ui/pages/monochrome/AllowedSiteRowData.h"

namespace olvane {
class AppState;
class GrayscaleFilterService;
class SettingsManager;
class WebFeatureUsage;
}  // namespace olvane

namespace olvane::ui {

class FaviconService;
class InstalledAppsService;

// The state behind the Monochrome page: the filter's switch and pause as AppState shows them,
// copies of the user's colour exceptions with their rows ready to draw, the site field's text
// and the fullscreen-video setting. It owns nothing of the filter: every change goes through
// the grayscale filter or the settings, and the model then reloads its copies from the
// settings. Each property notifies only on a real change.
class GrayscaleFilterViewModel {
  public:
    struct Collaborators {
        AppState& appState;
        SettingsManager& settings;
        // The grayscale filter, made by the first call that needs it.
        std::function<GrayscaleFilterService&()> grayscale;
        FaviconService& favicons;
        InstalledAppsService& installedApps;
        WebFeatureUsage& webFeatures;
    };

    static constexpr int kRowIconPoints = 32;

    // Reads AppState and the settings, and brings the allowed sites' icons into memory.
    explicit GrayscaleFilterViewModel(Collaborators collaborators);
    GrayscaleFilterViewModel(const GrayscaleFilterViewModel&) = delete;
    GrayscaleFilterViewModel& operator=(const GrayscaleFilterViewModel&) = delete;

    // The user's intention, as AppState holds it.
    platform::Observable<bool> isFilterActive{false};
    platform::Observable<bool> isPaused{false};
    platform::Observable<std::optional<std::int64_t>> pauseRemainingSeconds;
    // Application IDs, as the settings hold them.
    platform::Observable<std::vector<std::string>> allowedApps;
    platform::Observable<std::vector<AllowedAppRowData>> allowedAppsRowData;
    // Stored site entries, as the settings hold them.
    platform::Observable<std::vector<std::string>> allowedSites;
    platform::Observable<std::vector<AllowedSiteRowData>> allowedSitesRowData;
    // The site picker's text, consumed by addSite().
    platform::Observable<std::string> newSiteInput;
    // Read only here: setPauseOnFullscreenVideo() changes it.
    platform::Observable<bool> pauseOnFullscreenVideo{false};

    void syncFromAppState();
    // The activation switch: moves at once, then the filter follows.
    void toggleFilter();
    // "42s", "4m 59s"; empty while no pause runs.
    std::string pauseTimeText() const;
    // Ends the running pause at once.
    void resumeFromPause();

    // Adds `newSiteInput` as an allowed website. Text that names no site is left in the field;
    // a site already allowed only empties it.
    void addSite();
    void addApp(const std::string& bundleID);
    void removeApp(const std::string& bundleID);
    void removeSite(const std::string& site);
    // The "Exception vidéo" switch: saved at once when it changes.
    void setPauseOnFullscreenVideo(bool pause);

    void refreshAppRows();
    void refreshSiteRows();

    // What the application picker marks as already added.
    std::set<std::string> existingBundleIDs() const;

  private:
    void reloadAllowedApps();
    void reloadAllowedSites();

    Collaborators c_;
    std::vector<platform::Handle> appStateObservations_;
};

}  // namespace olvane::ui
