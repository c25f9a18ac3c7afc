#include "ui/foundation/FaviconService.h"

#include <QBuffer>
#include <QUrlQuery>
#include <algorithm>

#include "model/Logger.h"
#include "model/SiteNormalizer.h"
#include "platform/FileIO.h"
#include "ui/foundation/IconImage.h"

namespace olvane::ui {
namespace {

namespace fs = std::filesystem;

// Only what the service says is an image is decoded: a page that happens to decode is no icon.
QImage iconIn(const FaviconFetcher::Result& result) {
    const auto type = QString::fromStdString(result.contentType).trimmed();
    if (result.httpStatus != 200 ||
        !type.startsWith(QStringLiteral("image/"), Qt::CaseInsensitive)) {
        return {};
    }
    return IconImage::fromData(result.body, FaviconService::kIconPoints);
}

std::optional<QByteArray> pngBytes(const QImage& image) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    if (!buffer.open(QIODevice::WriteOnly) || !image.save(&buffer, "PNG")) {
        return std::nullopt;
    }
    return bytes;
}

}  // namespace

FaviconService::FaviconService(platform::RunLoop& loop, const platform::Clock& clock,
                               FaviconFetcher& fetcher, fs::path cacheFolder, QUrl serviceAddress)
    : loop_(loop),
      clock_(clock),
      fetcher_(fetcher),
      cacheFolder_(std::move(cacheFolder)),
      serviceAddress_(std::move(serviceAddress)),
      self_(std::make_shared<FaviconService*>(this)) {
    (void)platform::ensurePrivateFolder(cacheFolder_);
}

fs::path FaviconService::cacheFolderIn(const platform::Paths& paths) {
    return paths.cachesFolder() / "favicons";
}

std::string FaviconService::keyFor(std::string_view domain) {
    return SiteNormalizer::normalizeForMatching(domain);
}

QUrl FaviconService::requestUrl(const std::string& key) const {
    // The whole key is one query value: "&", "=", "+" and ";" in it are encoded, so a stored
    // site can never add parameters of its own.
    const QByteArray value = QUrl::toPercentEncoding(QString::fromStdString(key));
    QUrlQuery query;
    query.addQueryItem(QStringLiteral("domain"), QString::fromLatin1(value));
    query.addQueryItem(QStringLiteral("sz"), QString::number(kRequestedSize));
    QUrl url = serviceAddress_;
    url.setQuery(query);
    return url;
}

platform::Handle FaviconService::observeUpdates(std::function<void()> onChange) {
    return updateTrigger_.observe([onChange = std::move(onChange)](int) { onChange(); });
}

FaviconService::Lookup FaviconService::favicon(std::string_view domain, Completion completion) {
    const std::string key = keyFor(domain);
    if (key.empty()) {
        return {};
    }
    if (auto icon = fromMemoryOrDisk(key)) {
        return {std::move(icon), {}};
    }
    Lookup lookup{std::nullopt, wait(key, std::move(completion))};
    downloadFavicon(key);
    return lookup;
}

std::optional<QImage> FaviconService::cachedFavicon(std::string_view domain) {
    const std::string key = keyFor(domain);
    if (key.empty()) {
        return std::nullopt;
    }
    if (auto icon = fromMemoryOrDisk(key)) {
        return icon;
    }
    downloadFavicon(key);
    return std::nullopt;
}

void FaviconService::prefetchFavicons(const std::vector<std::string>& domains) {
    for (const auto& domain : domains) {
        (void)cachedFavicon(domain);
    }
}

std::optional<QImage> FaviconService::fromMemoryOrDisk(const std::string& key) {
    if (const auto it = memoryCache_.find(key); it != memoryCache_.end()) {
        return it->second;
    }
    if (auto icon = loadFromDisk(key)) {
        memoryCache_[key] = *icon;
        return icon;
    }
    return std::nullopt;
}

std::optional<QImage> FaviconService::loadFromDisk(const std::string& key) {
    const fs::path file = fileFor(key);
    std::error_code ec;
    if (!fs::exists(file, ec)) {
        return std::nullopt;
    }
    if (const auto modified = platform::modificationTimeNs(file)) {
        const double age = clock_.unixNow() - static_cast<double>(*modified) / 1e9;
        if (age > kMaximumAgeSeconds) {
            fs::remove(file, ec);
            return std::nullopt;
        }
    }
    const auto bytes = platform::readWholeFile(file, nullptr, FaviconFetcher::kMaximumBodyBytes);
    if (!bytes) {
        return std::nullopt;
    }
    QImage icon = IconImage::fromData(QByteArray::fromStdString(*bytes), kIconPoints);
    return icon.isNull() ? std::nullopt : std::optional(std::move(icon));
}

void FaviconService::downloadFavicon(const std::string& key) {
    if (key.empty() || loadingDomains_.contains(key)) {
        return;
    }
    const QUrl url = requestUrl(key);
    if (!url.isValid()) {
        return;
    }
    loadingDomains_.emplace(key, platform::Handle());
    auto download = fetcher_.fetch(
        url, [this, key](const FaviconFetcher::Result& result) { downloadFinished(key, result); });
    if (const auto slot = loadingDomains_.find(key); slot != loadingDomains_.end()) {
        slot->second = std::move(download);
    }
}

void FaviconService::downloadFinished(const std::string& key,
                                      const FaviconFetcher::Result& result) {
    loadingDomains_.erase(key);
    if (result.transportError) {
        // The transport's own words may quote the address, which names the user's site.
        Logger::grayscaleFilter().logError("Erreur favicon " + platform::userData(key),
                                           platform::userData(*result.transportError));
        return;
    }
    const QImage icon = iconIn(result);
    if (icon.isNull()) {
        return;
    }
    memoryCache_[key] = icon;
    store(key, icon);
    const std::weak_ptr<FaviconService*> alive = self_;
    std::vector<std::uint64_t> ids;
    for (const auto& waiting : pendingCallbacks_[key]) {
        ids.push_back(waiting.id);
    }
    for (const auto id : ids) {
        const auto list = pendingCallbacks_.find(key);
        if (list == pendingCallbacks_.end()) {
            break;
        }
        const auto waiting = std::find_if(list->second.begin(), list->second.end(),
                                          [id](const Waiting& w) { return w.id == id; });
        if (waiting == list->second.end()) {
            continue;  // its view went away meanwhile
        }
        const Completion completion = std::move(waiting->completion);
        list->second.erase(waiting);
        completion(icon);
        if (alive.expired()) {
            return;
        }
    }
    pendingCallbacks_.erase(key);
    scheduleUpdate();
    Logger::grayscaleFilter().info("Favicon chargé: %s", key);
}

void FaviconService::store(const std::string& key, const QImage& icon) {
    const auto bytes = pngBytes(icon);
    if (!bytes || !platform::ensurePrivateFolder(cacheFolder_)) {
        return;
    }
    (void)platform::writeFileAtomically(fileFor(key), bytes->toStdString());
}

void FaviconService::scheduleUpdate() {
    updateWorkItem_ = loop_.after(platform::seconds(kUpdateThrottleSeconds),
                                  [this] { updateTrigger_.set(updateTrigger_.get() + 1); });
}

fs::path FaviconService::fileFor(const std::string& key) const {
    return cacheFolder_ / (key + ".png");
}

platform::Handle FaviconService::wait(const std::string& key, Completion completion) {
    const auto id = nextWaitingId_++;
    pendingCallbacks_[key].push_back({id, std::move(completion)});
    return platform::Handle([weak = std::weak_ptr<FaviconService*>(self_), key, id] {
        const auto alive = weak.lock();
        if (!alive) {
            return;
        }
        auto& pending = (*alive)->pendingCallbacks_;
        if (const auto list = pending.find(key); list != pending.end()) {
            std::erase_if(list->second, [id](const Waiting& w) { return w.id == id; });
            if (list->second.empty()) {
                pending.erase(list);
            }
        }
    });
}

}  // namespace olvane::ui
