#pragma once

#include <string>

#include "ui/configurateur/ConfiguratorListScreen.h"
#include "ui/configurateur/MonochromeAppRow.h"

namespace olvane::ui {

// The applications that keep their colours, chosen from the installed ones.
class Screen3_MonochromeApps final : public KeyedListScreen<std::string, MonochromeAppRow> {
    Q_OBJECT

  public:
    Screen3_MonochromeApps(ConfigurateurViewModel& viewModel, InstalledAppsService& apps,
                           QWidget* parent = nullptr);

    platform::Observable<bool>& showAppPicker() { return pickerShown(); }

  protected:
    std::unique_ptr<QWidget> makePicker() override;

  private:
    void showApps();

    InstalledAppsService& apps_;
};

}  // namespace olvane::ui
