#pragma once

#include "ui/configurateur/ConfiguratorListScreen.h"
#include "ui/configurateur/ConfiguratorSiteRow.h"
#include "ui/configurateur/ContrepoidsTargetDraft.h"

namespace olvane::ui {

// The websites to slow down, typed into the site picker and kept in their normalised form.
class Screen6_ContrepoidsSites final : public KeyedListScreen<Uuid, ConfiguratorSiteRow> {
    Q_OBJECT

  public:
    Screen6_ContrepoidsSites(ConfigurateurViewModel& viewModel, FaviconService& favicons,
                             QWidget* parent = nullptr);

    platform::Observable<bool>& showSitePicker() { return pickerShown(); }

  protected:
    std::unique_ptr<QWidget> makePicker() override;

  private:
    void showTargets();

    FaviconService& favicons_;
};

}  // namespace olvane::ui
