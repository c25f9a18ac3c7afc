#include "ui/configurateur/ContrepoidsAppRow.h"

#include "ui/foundation/GrayIconView.h"
#include "ui/foundation/InstalledAppsService.h"

namespace olvane::ui {

ContrepoidsAppRow::ContrepoidsAppRow(const ContrepoidsTargetDraft& draft,
                                     std::function<void()> onRemove, InstalledAppsService& apps,
                                     QWidget* parent)
    : ConfiguratorListRow("app.fill", QString::fromStdString(draft.targetDisplayName),
                          std::move(onRemove), parent) {
    showApplicationIcon(apps, draft.targetIdentifier, apps.appInfo(draft.targetIdentifier).icon);
}

}  // namespace olvane::ui
