#pragma once

#include <memory>

#include "platform/BackgroundQueue.h"
#include "platform/Clock.h"
#include "platform/Paths.h"
#include "platform/RunLoop.h"
#include "ui/foundation/FaviconService.h"
#include "ui/foundation/InstalledAppsService.h"
#include "ui/foundation/LoadedFaviconFetcher.h"
#include "ui/foundation/XdgApplicationCatalogue.h"

namespace olvane::ui {

// The icon and name sources of the interface over the real desktop, made by the application
// and handed to the pages: favicons from the public service through the network, applications
// from the desktop entries. Each is made on first use. Main thread.
class IconSources {
  public:
    IconSources(platform::RunLoop& loop, const platform::Clock& clock, platform::Paths paths);
    // The favicons come from `fetcher` instead of the network.
    IconSources(platform::RunLoop& loop, const platform::Clock& clock, platform::Paths paths,
                FaviconFetcher& fetcher);
    ~IconSources();
    IconSources(const IconSources&) = delete;
    IconSources& operator=(const IconSources&) = delete;

    FaviconService& favicons();
    InstalledAppsService& installedApps();

  private:
    platform::RunLoop& loop_;
    const platform::Clock& clock_;
    platform::Paths paths_;
    // In this order, so that the services go first and the worker stops before the catalogue
    // it reads.
    FaviconFetcher* fetcher_ = nullptr;
    std::unique_ptr<LoadedFaviconFetcher> networkFetcher_;
    std::unique_ptr<XdgApplicationCatalogue> catalogue_;
    std::unique_ptr<platform::BackgroundQueue> background_;
    std::unique_ptr<FaviconService> favicons_;
    std::unique_ptr<InstalledAppsService> installedApps_;
};

}  // namespace olvane::ui
