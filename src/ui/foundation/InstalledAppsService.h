#pragma once

#include <QImage>
#include <functional>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <unordered_map>
#include <vector>

#include "platform/BackgroundQueue.h"
#include "platform/Observable.h"
#include "platform/RunLoop.h"
#include "ui/foundation/ApplicationCatalogue.h"
#include "ui/foundation/InstalledApp.h"

namespace olvane::ui {

// The interface's catalogue of installed applications: the list the application picker offers,
// and the name and icon every row shows for a stored application ID, from one lookup so that a
// row never shows another name than the list. Names and icons are cached for the run; a burst of
// background lookups raises one change, 0.3 s after the last.
class InstalledAppsService {
  public:
    static constexpr int kIconPoints = 32;
    static constexpr double kCacheUpdateThrottleSeconds = 0.3;

    struct AppInfo {
        std::optional<QImage> icon;
        std::optional<std::string> name;
    };

    // Lookups read their entry on `background` and come back through `loop`.
    InstalledAppsService(platform::RunLoop& loop, const ApplicationCatalogue& catalogue,
                         platform::BackgroundQueue& background);
    ~InstalledAppsService();
    InstalledAppsService(const InstalledAppsService&) = delete;
    InstalledAppsService& operator=(const InstalledAppsService&) = delete;

    // The result of the last full scan, sorted by name.
    const std::vector<InstalledApp>& installedApps() const { return installedApps_.get(); }
    bool isLoading() const { return isLoading_.get(); }
    // Moves after each scan and each burst of lookups: the sign to redraw.
    int cacheUpdateTrigger() const { return cacheUpdateTrigger_.get(); }
    // Called whenever one of the three above changes.
    platform::Handle observe(std::function<void()> onChange);

    // Starts a full scan unless one is running; returns at once.
    void loadInstalledApps();

    // The cached name and icon of `id`, else looked up now and cached; nothing when no
    // application has that ID. Icons are read on the background queue, never here: the
    // placeholder stands in until they arrive.
    AppInfo appInfo(const std::string& id);
    // What a row shows now: the cached name (else the ID itself) and icon (else the
    // placeholder). When one is missing, starts one lookup for the ID (requestAppInfo).
    InstalledApp displayedApp(const std::string& id);
    // One background lookup of `id` unless one is in flight.
    void requestAppInfo(const std::string& id);
    bool isLookingUp(const std::string& id) const { return loadingBundleIDs_.contains(id); }
    // Calls `onIcon` once, when the lookup in flight for `id` has brought its icon; nothing when
    // none is in flight. For rows that showed the placeholder of appInfo().
    platform::Handle whenIconArrives(const std::string& id,
                                     std::function<void(const QImage&)> onIcon);

    std::optional<std::string> cachedName(const std::string& id) const;
    std::optional<QImage> cachedIcon(const std::string& id) const;
    // The "app.fill" symbol, shown while an icon is missing.
    const QImage& placeholderIcon() const { return placeholderIcon_; }

  private:
    struct Liveness;

    void scan();
    // Reads the entry of `id` (unless `known`) on the background queue, and there decodes its icon
    // file or makes sure its theme icon reads no file that could hold the main thread.
    void loadAppInfo(const std::string& id, std::optional<ApplicationEntry> known);
    // The icon of `entry`, looked up on the background queue unless a lookup is in flight.
    void lookUpIconLater(const ApplicationEntry& entry);
    void finishLookup(const std::string& id, const std::optional<ApplicationEntry>& entry,
                      const QImage& fileIcon, bool themeReadable);
    void scheduleCacheUpdate();
    // The icons decoded since the scan, put into the list it made.
    void showArrivedIcons();
    // The display name of an entry: the French table, else its own, without a trailing ".app".
    static std::string nameOf(const ApplicationEntry& entry);
    // The icon of an entry as known now: the cached one, else the placeholder.
    QImage iconFor(const ApplicationEntry& entry);

    platform::RunLoop& loop_;
    const ApplicationCatalogue& catalogue_;
    platform::BackgroundQueue& background_;
    platform::Observable<std::vector<InstalledApp>> installedApps_;
    platform::Observable<bool> isLoading_{false};
    platform::Observable<int> cacheUpdateTrigger_{0};
    platform::Signal<> changed_;
    std::vector<platform::Handle> forwarding_;
    std::unordered_map<std::string, QImage> iconCache_;
    std::unordered_map<std::string, std::string> nameCache_;
    std::set<std::string, std::less<>> loadingBundleIDs_;
    QImage placeholderIcon_;
    platform::Handle scanTask_;
    platform::Handle cacheUpdateWorkItem_;
    // Lookups on the worker hold it weakly: their answer is dropped once the service is gone.
    std::shared_ptr<Liveness> liveness_;
};

}  // namespace olvane::ui
