#include "ui/configurateur/ContrepoidsAppRow.h"

#include "ui/foundation/GrayIconView.h"
#include "ui/foundation/InstalledAppsService.h"

namespace olvane::ui {

ContrepoidsAppRow::ContrepoidsAppRow(const ContrepoidsTargetDraft& draft,
                                     std::function<void()> onRemove, InstalledAppsService& apps,
                                     QWidget* parent)
    : ConfiguratorListRow("app.fill", QString::fromStdString(draft.targetDisplayName),
                          std::move(onRemove), parent) {
    if (const auto info = apps.appInfo(draft.targetIdentifier); info.icon) {
        icon()->setImage(info.icon);
    }
}

}  // namespace olvane::ui
