#pragma once

#include "platform/Handle.h"
#include "ui/configurateur/ConfiguratorListScreen.h"
#include "ui/configurateur/ConfiguratorSiteRow.h"
#include "ui/configurateur/ContrepoidsTargetDraft.h"
#include "ui/foundation/KeyedRows.h"

namespace olvane {
class ConfigurateurViewModel;
}

namespace olvane::ui {

// The websites to slow down, typed into the site picker and kept in their normalised form.
class Screen6_ContrepoidsSites final : public ConfiguratorListScreen {
    Q_OBJECT

  public:
    Screen6_ContrepoidsSites(ConfigurateurViewModel& viewModel, FaviconService& favicons,
                             QWidget* parent = nullptr);

    platform::Observable<bool>& showSitePicker() { return pickerShown(); }
    std::vector<ConfiguratorSiteRow*> rows() const { return rows_.rows(); }

  protected:
    std::unique_ptr<QWidget> makePicker() override;

  private:
    void showRows();

    ConfigurateurViewModel& viewModel_;
    FaviconService& favicons_;
    KeyedRows<Uuid, ConfiguratorSiteRow> rows_;
    platform::Handle observation_;
};

}  // namespace olvane::ui
