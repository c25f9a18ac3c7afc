#include "ui/foundation/IconSources.h"

namespace olvane::ui {

IconSources::IconSources(platform::RunLoop& loop, const platform::Clock& clock,
                         platform::Paths paths)
    : loop_(loop), clock_(clock), paths_(std::move(paths)) {}

IconSources::IconSources(platform::RunLoop& loop, const platform::Clock& clock,
                         platform::Paths paths, FaviconFetcher& fetcher)
    : loop_(loop), clock_(clock), paths_(std::move(paths)), fetcher_(&fetcher) {}

IconSources::~IconSources() = default;

FaviconService& IconSources::favicons() {
    if (!favicons_) {
        if (!fetcher_) {
            networkFetcher_ = std::make_unique<LoadedFaviconFetcher>();
            fetcher_ = networkFetcher_.get();
        }
        favicons_ = std::make_unique<FaviconService>(
            loop_, clock_, *fetcher_, FaviconService::cacheFolderIn(paths_),
            QUrl(QString::fromLatin1(FaviconService::kPublicServiceAddress)));
    }
    return *favicons_;
}

InstalledAppsService& IconSources::installedApps() {
    if (!installedApps_) {
        catalogue_ = std::make_unique<XdgApplicationCatalogue>(paths_);
        background_ = std::make_unique<platform::BackgroundQueue>();
        installedApps_ = std::make_unique<InstalledAppsService>(loop_, *catalogue_, *background_);
    }
    return *installedApps_;
}

}  // namespace olvane::ui
