#pragma once

#include "ui/configurateur/ConfiguratorListScreen.h"
#include "ui/configurateur/ContrepoidsAppRow.h"
#include "ui/configurateur/ContrepoidsTargetDraft.h"

namespace olvane::ui {

// The applications to slow down, chosen from the installed ones.
class Screen5_ContrepoidsApps final : public KeyedListScreen<Uuid, ContrepoidsAppRow> {
    Q_OBJECT

  public:
    Screen5_ContrepoidsApps(ConfigurateurViewModel& viewModel, InstalledAppsService& apps,
                            QWidget* parent = nullptr);

    platform::Observable<bool>& showAppPicker() { return pickerShown(); }

  protected:
    std::unique_ptr<QWidget> makePicker() override;

  private:
    void showTargets();

    InstalledAppsService& apps_;
};

}  // namespace olvane::ui
