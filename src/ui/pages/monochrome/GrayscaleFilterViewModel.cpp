#include "ui/pages/monochrome/GrayscaleFilterViewModel.h"

#include <algorithm>

#include "app/AppState.h"
#include "browser/WebFeatureUsage.h"
#include "grayscale/GrayscaleFilterService.h"
#include "model/SettingsManager.h"
#include "model/SiteNormalizer.h"
#include "ui/foundation/FaviconService.h"
#include "ui/foundation/IconImage.h"
#include "ui/foundation/InstalledAppsService.h"

namespace olvane::ui {
namespace {

constexpr int kGlobePoints = 14;

// Shared by every row without a favicon; made once, on first use.
const QImage& globePlaceholder() {
    static const QImage globe = IconImage::symbol("globe", kGlobePoints);
    return globe;
}

bool contains(const std::vector<std::string>& list, const std::string& value) {
    return std::find(list.begin(), list.end(), value) != list.end();
}

}  // namespace

GrayscaleFilterViewModel::GrayscaleFilterViewModel(Collaborators collaborators)
    : c_(std::move(collaborators)) {
    syncFromAppState();
    const auto resync = [this](const auto&) { syncFromAppState(); };
    appStateObservations_.push_back(c_.appState.isGrayscaleFilterEnabled.observe(resync));
    appStateObservations_.push_back(c_.appState.isPaused.observe(resync));
    appStateObservations_.push_back(c_.appState.pauseRemainingSeconds.observe(resync));

    pauseOnFullscreenVideo.set(c_.settings.settings().grayscalePauseOnFullscreenVideo);
    reloadAllowedApps();
    reloadAllowedSites();
    c_.favicons.prefetchFavicons(allowedSites());
}

void GrayscaleFilterViewModel::syncFromAppState() {
    isFilterActive.set(c_.appState.isGrayscaleFilterEnabled());
    isPaused.set(c_.appState.isPaused());
    pauseRemainingSeconds.set(c_.appState.pauseRemainingSeconds());
}

void GrayscaleFilterViewModel::toggleFilter() {
    const bool wasActive = isFilterActive();
    isFilterActive.set(!wasActive);
    if (wasActive) {
        c_.grayscale().disable();
    } else {
        c_.grayscale().enable();
    }
}

std::string GrayscaleFilterViewModel::pauseTimeText() const {
    const auto seconds = pauseRemainingSeconds();
    if (!seconds) {
        return {};
    }
    if (*seconds < 60) {
        return std::to_string(*seconds) + "s";
    }
    return std::to_string(*seconds / 60) + "m " + std::to_string(*seconds % 60) + "s";
}

void GrayscaleFilterViewModel::resumeFromPause() {
    c_.grayscale().resumeFromPause();
}

void GrayscaleFilterViewModel::addSite() {
    const std::string typed = newSiteInput();
    const std::string entry = SiteNormalizer::normalize(typed);
    // Text without a host names no site: the filter would refuse it.
    if (entry.empty() || !SiteNormalizer::hasHost(entry)) {
        return;
    }
    if (contains(c_.settings.settings().grayscaleAllowedSites, entry)) {
        newSiteInput.set("");
        return;
    }
    c_.grayscale().addAllowedSite(typed);
    newSiteInput.set("");
    reloadAllowedSites();
    // Only for its effect: the icon comes into memory, or its download starts.
    (void)c_.favicons.cachedFavicon(entry);
    c_.webFeatures.featureUsed(WebFeatureCategory::monochrome);
}

void GrayscaleFilterViewModel::addApp(const std::string& bundleID) {
    c_.grayscale().addAllowedApp(bundleID);
    reloadAllowedApps();
}

void GrayscaleFilterViewModel::removeApp(const std::string& bundleID) {
    c_.grayscale().removeAllowedApp(bundleID);
    reloadAllowedApps();
}

void GrayscaleFilterViewModel::removeSite(const std::string& site) {
    c_.grayscale().removeAllowedSite(site);
    reloadAllowedSites();
}

void GrayscaleFilterViewModel::setPauseOnFullscreenVideo(bool pause) {
    if (!pauseOnFullscreenVideo.set(pause)) {
        return;
    }
    c_.settings.settings().grayscalePauseOnFullscreenVideo = pause;
    c_.settings.saveSettings(false);
}

void GrayscaleFilterViewModel::refreshAppRows() {
    const auto& ids = allowedApps();
    std::vector<AllowedAppRowData> rows;
    rows.reserve(ids.size());
    for (std::size_t i = 0; i < ids.size(); ++i) {
        // The cached name and icon, else the ID and the placeholder while one lookup runs.
        const InstalledApp shown = c_.installedApps.displayedApp(ids[i]);
        rows.push_back({ids[i], shown.name, IconImage::fitted(shown.icon, kRowIconPoints),
                        i + 1 == ids.size()});
    }
    allowedAppsRowData.store(std::move(rows));
}

void GrayscaleFilterViewModel::refreshSiteRows() {
    const auto& sites = allowedSites();
    std::vector<AllowedSiteRowData> rows;
    rows.reserve(sites.size());
    for (std::size_t i = 0; i < sites.size(); ++i) {
        const bool last = i + 1 == sites.size();
        // A miss starts the download; the row shows the icon when it arrives.
        if (const auto favicon =
                c_.favicons.cachedFavicon(SiteNormalizer::normalizeForMatching(sites[i]))) {
            rows.push_back(
                {sites[i], sites[i], IconImage::fitted(*favicon, kRowIconPoints), true, last});
        } else {
            rows.push_back({sites[i], sites[i], globePlaceholder(), false, last});
        }
    }
    allowedSitesRowData.store(std::move(rows));
}

std::set<std::string> GrayscaleFilterViewModel::existingBundleIDs() const {
    return {allowedApps().begin(), allowedApps().end()};
}

void GrayscaleFilterViewModel::reloadAllowedApps() {
    allowedApps.set(c_.settings.settings().grayscaleAllowedApps);
    refreshAppRows();
}

void GrayscaleFilterViewModel::reloadAllowedSites() {
    allowedSites.set(c_.settings.settings().grayscaleAllowedSites);
    refreshSiteRows();
}

}  // namespace olvane::ui
