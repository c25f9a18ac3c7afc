#pragma once

#include <string>

#include "platform/Handle.h"
#include "ui/configurateur/ConfiguratorListScreen.h"
#include "ui/configurateur/MonochromeAppRow.h"
#include "ui/foundation/KeyedRows.h"

namespace olvane {
class ConfigurateurViewModel;
}

namespace olvane::ui {

class InstalledAppsService;

// The applications that keep their colours, chosen from the installed ones.
class Screen3_MonochromeApps final : public ConfiguratorListScreen {
    Q_OBJECT

  public:
    Screen3_MonochromeApps(ConfigurateurViewModel& viewModel, InstalledAppsService& apps,
                           QWidget* parent = nullptr);

    platform::Observable<bool>& showAppPicker() { return pickerShown(); }
    std::vector<MonochromeAppRow*> rows() const { return rows_.rows(); }

  protected:
    std::unique_ptr<QWidget> makePicker() override;

  private:
    void showRows();

    ConfigurateurViewModel& viewModel_;
    InstalledAppsService& apps_;
    KeyedRows<std::string, MonochromeAppRow> rows_;
    platform::Handle observation_;
};

}  // namespace olvane::ui
