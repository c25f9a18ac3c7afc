#pragma once

#include "ui/configurateur/ConfiguratorListRow.h"
#include "ui/configurateur/ContrepoidsTargetDraft.h"

namespace olvane::ui {

class InstalledAppsService;

// An application chosen as a Contrepoids target: the name the target was given, and the icon
// looked up once when the row is made.
class ContrepoidsAppRow final : public ConfiguratorListRow {
    Q_OBJECT

  public:
    ContrepoidsAppRow(const ContrepoidsTargetDraft& draft, std::function<void()> onRemove,
                      InstalledAppsService& apps, QWidget* parent = nullptr);
};

}  // namespace olvane::ui
