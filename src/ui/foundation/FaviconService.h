#pragma once

#include <QImage>
#include <QUrl>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "platform/Clock.h"
#include "platform/Observable.h"
#include "platform/Paths.h"
#include "platform/RunLoop.h"
#include "ui/foundation/FaviconFetcher.h"

namespace olvane::ui {

// The small site icons shown beside website entries: kept in memory for the run and on disk for
// seven days, downloaded from a favicon web service when missing. Views that wait for an icon are
// called back when it arrives; a burst of arrivals raises one change, 0.3 s after the last.
class FaviconService {
  public:
    // The public favicon service: asked for "?domain=<site>&sz=128".
    static constexpr const char* kPublicServiceAddress = "https://www.google.com/s2/favicons";
    static constexpr int kIconPoints = 64;
    static constexpr int kRequestedSize = 128;
    static constexpr double kMaximumAgeSeconds = 604'800;
    static constexpr double kUpdateThrottleSeconds = 0.3;

    using Completion = std::function<void(const QImage&)>;

    struct Lookup {
        // The icon, when it was in memory or on disk.
        std::optional<QImage> icon;
        // Otherwise the waiting completion: destroying the handle drops it.
        platform::Handle waiting;
    };

    // `cacheFolder` is created (private) if missing; a failure only costs the disk cache.
    FaviconService(platform::RunLoop& loop, const platform::Clock& clock, FaviconFetcher& fetcher,
                   std::filesystem::path cacheFolder, QUrl serviceAddress);
    FaviconService(const FaviconService&) = delete;
    FaviconService& operator=(const FaviconService&) = delete;

    // Paths::cachesFolder() / "favicons".
    static std::filesystem::path cacheFolderIn(const platform::Paths& paths);

    // The icon at once when it is in memory or on disk (the completion is then never called);
    // otherwise the completion waits for a successful download of the site.
    Lookup favicon(std::string_view domain, Completion completion);
    // As favicon() without a completion.
    std::optional<QImage> cachedFavicon(std::string_view domain);
    // Brings each site's icon into memory, downloading the missing ones.
    void prefetchFavicons(const std::vector<std::string>& domains);

    // Moves after each burst of downloads: the sign to ask again for the icons shown.
    int updateTrigger() const { return updateTrigger_.get(); }
    platform::Handle observeUpdates(std::function<void()> onChange);

    // The key of a site: its host alone, the form every cache uses.
    static std::string keyFor(std::string_view domain);
    // The request for `key`.
    QUrl requestUrl(const std::string& key) const;

  private:
    struct Waiting {
        std::uint64_t id;
        Completion completion;
    };

    std::optional<QImage> fromMemoryOrDisk(const std::string& key);
    std::optional<QImage> loadFromDisk(const std::string& key);
    void downloadFavicon(const std::string& key);
    void downloadFinished(const std::string& key, const FaviconFetcher::Result& result);
    void store(const std::string& key, const QImage& icon);
    void scheduleUpdate();
    std::filesystem::path fileFor(const std::string& key) const;
    platform::Handle wait(const std::string& key, Completion completion);

    platform::RunLoop& loop_;
    const platform::Clock& clock_;
    FaviconFetcher& fetcher_;
    std::filesystem::path cacheFolder_;
    QUrl serviceAddress_;
    platform::Observable<int> updateTrigger_{0};
    platform::Handle updateWorkItem_;
    std::map<std::string, QImage, std::less<>> memoryCache_;
    // The downloads in flight, by key; destroying one cancels it.
    std::map<std::string, platform::Handle, std::less<>> loadingDomains_;
    std::map<std::string, std::vector<Waiting>, std::less<>> pendingCallbacks_;
    std::uint64_t nextWaitingId_ = 1;
    // Waiting handles outliving the service find it gone.
    std::shared_ptr<FaviconService*> self_;
};

}  // namespace olvane::ui
