#include "ui/foundation/InstalledAppsService.h"

#include <QCollator>
#include <QLocale>
#include <algorithm>

#include "model/Logger.h"
#include "ui/foundation/FrenchApplicationNames.h"
#include "ui/foundation/IconImage.h"

namespace olvane::ui {
namespace {

constexpr std::string_view kAppSuffix = ".app";

bool isIconFile(const std::string& icon) {
    return !icon.empty() && icon.front() == '/';
}

void sortByName(std::vector<InstalledApp>& apps) {
    QCollator collator{QLocale(QLocale::French, QLocale::France)};
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    std::vector<std::pair<QString, InstalledApp>> keyed;
    keyed.reserve(apps.size());
    for (auto& app : apps) {
        keyed.emplace_back(QString::fromStdString(app.name), std::move(app));
    }
    std::stable_sort(keyed.begin(), keyed.end(), [&collator](const auto& a, const auto& b) {
        return collator.compare(a.first, b.first) < 0;
    });
    apps.clear();
    for (auto& [name, app] : keyed) {
        apps.push_back(std::move(app));
    }
}

}  // namespace

struct InstalledAppsService::Liveness {
    InstalledAppsService* service;
};

InstalledAppsService::InstalledAppsService(platform::RunLoop& loop,
                                           const ApplicationCatalogue& catalogue,
                                           platform::BackgroundQueue& background)
    : loop_(loop),
      catalogue_(catalogue),
      background_(background),
      placeholderIcon_(IconImage::symbol("app.fill", kIconPoints)),
      liveness_(std::make_shared<Liveness>(Liveness{this})) {
    const auto forward = [this](const auto&) { changed_.emit(); };
    forwarding_.push_back(installedApps_.observe(forward));
    forwarding_.push_back(isLoading_.observe(forward));
    forwarding_.push_back(cacheUpdateTrigger_.observe(forward));
}

InstalledAppsService::~InstalledAppsService() = default;

platform::Handle InstalledAppsService::observe(std::function<void()> onChange) {
    return changed_.connect(std::move(onChange));
}

void InstalledAppsService::loadInstalledApps() {
    if (isLoading_.get()) {
        return;
    }
    isLoading_.set(true);
    Logger::grayscaleFilter().info("Chargement des apps installées...");
    scanTask_ = loop_.post([this] { scan(); });
}

void InstalledAppsService::scan() {
    std::vector<InstalledApp> apps;
    for (const auto& entry : catalogue_.listApplications()) {
        const std::string name = nameOf(entry);
        nameCache_[entry.id] = name;
        if (!entry.icon.empty()) {
            lookUpIconLater(entry);
        }
        apps.push_back({entry.id, name, iconFor(entry)});
    }
    sortByName(apps);
    const auto count = static_cast<long>(apps.size());
    installedApps_.set(std::move(apps));
    isLoading_.set(false);
    cacheUpdateTrigger_.set(cacheUpdateTrigger_.get() + 1);
    Logger::grayscaleFilter().info("Apps chargées: %ld", count);
}

InstalledAppsService::AppInfo InstalledAppsService::appInfo(const std::string& id) {
    const auto icon = cachedIcon(id);
    const auto name = cachedName(id);
    if (icon && name) {
        return {icon, name};
    }
    const auto entry = catalogue_.findApplication(id);
    if (!entry) {
        return {};
    }
    const std::string foundName = nameOf(*entry);
    nameCache_[id] = foundName;
    if (!entry->icon.empty() && !icon) {
        lookUpIconLater(*entry);
    }
    return {iconFor(*entry), foundName};
}

InstalledApp InstalledAppsService::displayedApp(const std::string& id) {
    const auto name = cachedName(id);
    const auto icon = cachedIcon(id);
    if (!name || !icon) {
        requestAppInfo(id);
    }
    return {id, name.value_or(id), icon.value_or(placeholderIcon_)};
}

void InstalledAppsService::requestAppInfo(const std::string& id) {
    if (loadingBundleIDs_.insert(id).second) {
        loadAppInfo(id, std::nullopt);
    }
}

platform::Handle InstalledAppsService::whenIconArrives(const std::string& id,
                                                       std::function<void(const QImage&)> onIcon) {
    if (cachedIcon(id) || !isLookingUp(id)) {
        return {};
    }
    return changed_.connect([this, id, onIcon = std::move(onIcon), shown = false]() mutable {
        if (const auto icon = cachedIcon(id); icon && !shown) {
            shown = true;
            onIcon(*icon);
        }
    });
}

void InstalledAppsService::lookUpIconLater(const ApplicationEntry& entry) {
    if (loadingBundleIDs_.insert(entry.id).second) {
        loadAppInfo(entry.id, entry);
    }
}

void InstalledAppsService::loadAppInfo(const std::string& id,
                                       std::optional<ApplicationEntry> known) {
    background_.enqueue([weak = std::weak_ptr<Liveness>(liveness_), &loop = loop_,
                         &catalogue = catalogue_, id, known = std::move(known)] {
        auto entry = known ? known : catalogue.findApplication(id);
        QImage fileIcon;
        bool themeReadable = false;
        if (entry && isIconFile(entry->icon)) {
            fileIcon = IconImage::fromFile(entry->icon, kIconPoints);
        } else if (entry && !entry->icon.empty()) {
            themeReadable = catalogue.themeIconIsReadable(entry->icon);
        }
        loop.postFromAnyThread([weak, id, entry = std::move(entry), fileIcon, themeReadable] {
            if (const auto alive = weak.lock()) {
                alive->service->finishLookup(id, entry, fileIcon, themeReadable);
            }
        });
    });
}

void InstalledAppsService::finishLookup(const std::string& id,
                                        const std::optional<ApplicationEntry>& entry,
                                        const QImage& fileIcon, bool themeReadable) {
    loadingBundleIDs_.erase(id);
    if (!entry) {
        return;
    }
    nameCache_[id] = nameOf(*entry);
    QImage icon = fileIcon;
    if (themeReadable) {
        const int pixels = static_cast<int>(kIconPoints * IconImage::kPixelRatio);
        icon = IconImage::fitted(catalogue_.themeIcon(entry->icon, pixels), kIconPoints);
    }
    // An application without a usable icon keeps the placeholder as its icon, so that its rows
    // do not ask for it again at every redraw.
    iconCache_[id] = icon.isNull() ? placeholderIcon_ : icon;
    scheduleCacheUpdate();
}

void InstalledAppsService::scheduleCacheUpdate() {
    cacheUpdateWorkItem_ = loop_.after(platform::seconds(kCacheUpdateThrottleSeconds), [this] {
        showArrivedIcons();
        cacheUpdateTrigger_.set(cacheUpdateTrigger_.get() + 1);
    });
}

void InstalledAppsService::showArrivedIcons() {
    auto apps = installedApps_.get();
    for (auto& app : apps) {
        if (const auto icon = cachedIcon(app.bundleID)) {
            app.icon = *icon;
        }
    }
    installedApps_.store(std::move(apps));
}

std::string InstalledAppsService::nameOf(const ApplicationEntry& entry) {
    if (const auto french = frenchApplicationName(entry.id)) {
        return std::string(*french);
    }
    std::string name = entry.name.empty() ? entry.id : entry.name;
    if (name.ends_with(kAppSuffix)) {
        name.resize(name.size() - kAppSuffix.size());
    }
    return name;
}

QImage InstalledAppsService::iconFor(const ApplicationEntry& entry) {
    if (entry.icon.empty()) {
        return iconCache_[entry.id] = placeholderIcon_;
    }
    return cachedIcon(entry.id).value_or(placeholderIcon_);
}

std::optional<std::string> InstalledAppsService::cachedName(const std::string& id) const {
    const auto it = nameCache_.find(id);
    return it == nameCache_.end() ? std::nullopt : std::optional(it->second);
}

std::optional<QImage> InstalledAppsService::cachedIcon(const std::string& id) const {
    const auto it = iconCache_.find(id);
    return it == iconCache_.end() ? std::nullopt : std::optional(it->second);
}

}  // namespace olvane::ui
