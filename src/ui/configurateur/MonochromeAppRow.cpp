#include "ui/configurateur/MonochromeAppRow.h"

#include "ui/foundation/GrayIconView.h"
#include "ui/foundation/InstalledAppsService.h"

namespace olvane::ui {

MonochromeAppRow::MonochromeAppRow(const std::string& bundleID, std::function<void()> onRemove,
                                   InstalledAppsService& apps, QWidget* parent)
    : ConfiguratorListRow("app.fill", QString::fromStdString(bundleID), std::move(onRemove),
                          parent),
      bundleID_(bundleID) {
    const auto info = apps.appInfo(bundleID_);
    showApplicationIcon(apps, bundleID_, info.icon);
    if (info.name) {
        setName(QString::fromStdString(*info.name));
    }
}

}  // namespace olvane::ui
