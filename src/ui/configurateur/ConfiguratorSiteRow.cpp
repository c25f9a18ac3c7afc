#include "ui/configurateur/ConfiguratorSiteRow.h"

#include "ui/foundation/FaviconService.h"
#include "ui/foundation/GrayIconView.h"

namespace olvane::ui {

ConfiguratorSiteRow::ConfiguratorSiteRow(const std::string& domain, const QString& displayName,
                                         std::function<void()> onRemove, FaviconService& favicons,
                                         QWidget* parent)
    : ConfiguratorListRow("globe", displayName, std::move(onRemove), parent), domain_(domain) {
    auto lookup =
        favicons.favicon(domain_, [this](const QImage& favicon) { icon()->setImage(favicon); });
    if (lookup.icon) {
        icon()->setImage(lookup.icon);
    }
    waitingFavicon_ = std::move(lookup.waiting);
}

}  // namespace olvane::ui
