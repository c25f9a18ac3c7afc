#pragma once

#include <QImage>
#include <QWidget>
#include <optional>
#include <string>
#include <variant>

#include "model/Platform.h"
#include "platform/Handle.h"

namespace olvane::ui {

class FaviconService;
class GrayIconView;
class InstalledAppsService;

// One small logo of the recap: an application's icon, a site's favicon or a platform's, cut to
// its visible part and drawn in grey; a symbol in its place until an image is had.
class RecapMonoIcon final : public QWidget {
    Q_OBJECT

  public:
    struct App {
        std::string bundleID;
        bool operator==(const App&) const = default;
    };
    struct Site {
        std::string domain;
        bool operator==(const Site&) const = default;
    };
    // Two sources are equal when they are of one kind with one payload.
    using Source = std::variant<App, Site, Platform>;

    struct Services {
        FaviconService& favicons;
        InstalledAppsService& installedApps;
    };

    // Alpha above this counts as visible when the margins are cut.
    static constexpr int kVisibleAlpha = 76;
    // The side of the square the image is measured in, whatever its own size.
    static constexpr int kTrimSide = 128;

    RecapMonoIcon(Source source, int size, Services services, QWidget* parent = nullptr);

    const Source& source() const { return source_; }
    // The image shown (before it is greyed); none while the symbol stands in.
    const std::optional<QImage>& image() const { return image_; }
    GrayIconView* view() const { return view_; }

    // The symbol shown while there is no image.
    static std::string placeholder(const Source& source);
    // `image` cut to the box of its visible pixels, measured once drawn into a transparent
    // 128 × 128 square with its proportions kept; unchanged when nothing in it is visible.
    static QImage trimmed(const QImage& image);

  protected:
    void showEvent(QShowEvent* event) override;

  private:
    void load();
    void loadFavicon(std::string_view domain);
    void setImage(const QImage& image);

    Source source_;
    Services services_;
    GrayIconView* view_;
    std::optional<QImage> image_;
    platform::Handle waitingFavicon_;
    platform::Handle waitingIcon_;
};

}  // namespace olvane::ui
