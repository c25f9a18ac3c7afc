#include "ui/configurateur/RecapMonoIcon.h"

#include <QPainter>

#include "model/ContentRuleCatalogue.h"
#include "ui/foundation/FaviconService.h"
#include "ui/foundation/GrayIconView.h"
#include "ui/foundation/InstalledAppsService.h"
#include "ui/foundation/PlatformSymbol.h"

namespace olvane::ui {
namespace {

// The smallest rectangle holding every pixel of `image` whose alpha is above `threshold`; empty
// when there is none.
QRect visibleBox(const QImage& image, int threshold) {
    int left = image.width();
    int right = -1;
    int top = image.height();
    int bottom = -1;
    for (int y = 0; y < image.height(); ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            if (qAlpha(line[x]) > threshold) {
                left = std::min(left, x);
                right = std::max(right, x);
                top = std::min(top, y);
                bottom = std::max(bottom, y);
            }
        }
    }
    return right < 0 ? QRect() : QRect(QPoint(left, top), QPoint(right, bottom));
}

}  // namespace

RecapMonoIcon::RecapMonoIcon(Source source, int size, Services services, QWidget* parent)
    : QWidget(parent), source_(std::move(source)), services_(services) {
    setFixedSize(size, size);
    view_ = new GrayIconView(size, placeholder(source_), size, this);
}

std::string RecapMonoIcon::placeholder(const Source& source) {
    if (std::holds_alternative<App>(source)) {
        return "app.fill";
    }
    if (const auto* platform = std::get_if<Platform>(&source)) {
        return platformSymbol(*platform);
    }
    return "globe";
}

QImage RecapMonoIcon::trimmed(const QImage& image) {
    if (image.isNull()) {
        return image;
    }
    QImage square(kTrimSide, kTrimSide, QImage::Format_ARGB32);
    if (square.isNull()) {
        return image;
    }
    square.fill(Qt::transparent);
    // Fitted with its proportions, so that a wide logo does not come back squeezed.
    QSizeF drawn = image.size();
    drawn.scale(kTrimSide, kTrimSide, Qt::KeepAspectRatio);
    QRectF target(QPointF(), drawn);
    target.moveCenter(QPointF(kTrimSide / 2.0, kTrimSide / 2.0));
    {
        QPainter painter(&square);
        if (!painter.isActive()) {
            return image;
        }
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
        painter.drawImage(target, image);
    }
    const QRect box = visibleBox(square, kVisibleAlpha);
    if (box.isEmpty()) {
        return image;
    }
    QImage cropped = square.copy(box);
    return cropped.isNull() ? image : cropped;
}

void RecapMonoIcon::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (!image_ && !waitingFavicon_) {
        load();
    }
}

void RecapMonoIcon::load() {
    if (const auto* app = std::get_if<App>(&source_)) {
        // An ID no desktop entry has keeps its symbol.
        if (const auto icon = services_.installedApps.appInfo(app->bundleID).icon) {
            setImage(*icon);
        }
        waitingIcon_ = services_.installedApps.whenIconArrives(
            app->bundleID, [this](const QImage& icon) { setImage(icon); });
        return;
    }
    if (const auto* site = std::get_if<Site>(&source_)) {
        loadFavicon(site->domain);
        return;
    }
    loadFavicon(ContentRuleCatalogue::faviconDomain(std::get<Platform>(source_)));
}

void RecapMonoIcon::loadFavicon(std::string_view domain) {
    auto lookup =
        services_.favicons.favicon(domain, [this](const QImage& favicon) { setImage(favicon); });
    if (lookup.icon) {
        setImage(*lookup.icon);
    }
    waitingFavicon_ = std::move(lookup.waiting);
}

void RecapMonoIcon::setImage(const QImage& image) {
    image_ = trimmed(image);
    view_->setImage(image_);
}

}  // namespace olvane::ui
