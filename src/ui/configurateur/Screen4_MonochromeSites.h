#pragma once

#include <string>

#include "ui/configurateur/ConfiguratorListScreen.h"
#include "ui/configurateur/ConfiguratorSiteRow.h"

namespace olvane::ui {

// The websites that keep their colours, typed into the site picker.
class Screen4_MonochromeSites final : public KeyedListScreen<std::string, ConfiguratorSiteRow> {
    Q_OBJECT

  public:
    Screen4_MonochromeSites(ConfigurateurViewModel& viewModel, FaviconService& favicons,
                            QWidget* parent = nullptr);

    platform::Observable<bool>& showSitePicker() { return pickerShown(); }

  protected:
    std::unique_ptr<QWidget> makePicker() override;

  private:
    void showSites();

    FaviconService& favicons_;
};

}  // namespace olvane::ui
