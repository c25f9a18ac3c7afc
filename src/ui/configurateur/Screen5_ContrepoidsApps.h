#pragma once

#include "platform/Handle.h"
#include "ui/configurateur/ConfiguratorListScreen.h"
#include "ui/configurateur/ContrepoidsAppRow.h"
#include "ui/configurateur/ContrepoidsTargetDraft.h"
#include "ui/foundation/KeyedRows.h"

namespace olvane {
class ConfigurateurViewModel;
}

namespace olvane::ui {

// The applications to slow down, chosen from the installed ones.
class Screen5_ContrepoidsApps final : public ConfiguratorListScreen {
    Q_OBJECT

  public:
    Screen5_ContrepoidsApps(ConfigurateurViewModel& viewModel, InstalledAppsService& apps,
                            QWidget* parent = nullptr);

    platform::Observable<bool>& showAppPicker() { return pickerShown(); }
    std::vector<ContrepoidsAppRow*> rows() const { return rows_.rows(); }

  protected:
    std::unique_ptr<QWidget> makePicker() override;

  private:
    void showRows();

    ConfigurateurViewModel& viewModel_;
    InstalledAppsService& apps_;
    KeyedRows<Uuid, ContrepoidsAppRow> rows_;
    platform::Handle observation_;
};

}  // namespace olvane::ui
