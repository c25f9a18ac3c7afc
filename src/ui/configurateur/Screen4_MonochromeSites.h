#pragma once

#include <string>

#include "platform/Handle.h"
#include "ui/configurateur/ConfiguratorListScreen.h"
#include "ui/configurateur/ConfiguratorSiteRow.h"
#include "ui/foundation/KeyedRows.h"

namespace olvane {
class ConfigurateurViewModel;
}

namespace olvane::ui {

// The websites that keep their colours, typed into the site picker.
class Screen4_MonochromeSites final : public ConfiguratorListScreen {
    Q_OBJECT

  public:
    Screen4_MonochromeSites(ConfigurateurViewModel& viewModel, FaviconService& favicons,
                            QWidget* parent = nullptr);

    platform::Observable<bool>& showSitePicker() { return pickerShown(); }
    std::vector<ConfiguratorSiteRow*> rows() const { return rows_.rows(); }

  protected:
    std::unique_ptr<QWidget> makePicker() override;

  private:
    void showRows();

    ConfigurateurViewModel& viewModel_;
    FaviconService& favicons_;
    KeyedRows<std::string, ConfiguratorSiteRow> rows_;
    platform::Handle observation_;
};

}  // namespace olvane::ui
