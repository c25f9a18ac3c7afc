#include "ui/configurateur/Screen4_MonochromeSites.h"

#include "ui/configurateur/ConfigurateurViewModel.h"
#include "ui/configurateur/ConfiguratorListCard.h"
#include "ui/foundation/SitePickerSheet.h"

namespace olvane::ui {

Screen4_MonochromeSites::Screen4_MonochromeSites(ConfigurateurViewModel& viewModel,
                                                 FaviconService& favicons, QWidget* parent)
    : ConfiguratorListScreen(
          QStringLiteral("Souhaites-tu conserver la couleur sur certains sites web ?"),
          "circle.lefthalf.filled", QStringLiteral("Ajouter un site web"), parent),
      viewModel_(viewModel),
      favicons_(favicons),
      rows_(list()->rows(), 0) {
    showRows();
    observation_ =
        viewModel_.grayscaleAllowedSitesDraft.observe([this](const auto&) { showRows(); });
}

std::unique_ptr<QWidget> Screen4_MonochromeSites::makePicker() {
    return std::make_unique<SitePickerSheet>(pickerShown(), [this](const std::string& typed) {
        viewModel_.addGrayscaleAllowedSite(typed);
    });
}

void Screen4_MonochromeSites::showRows() {
    const auto& sites = viewModel_.grayscaleAllowedSitesDraft();
    rows_.show(sites, [this](const std::string& site) {
        return new ConfiguratorSiteRow(
            site, QString::fromStdString(site),
            [this, site] { viewModel_.removeGrayscaleAllowedSite(site); }, favicons_);
    });
    list()->setHasEntries(!sites.empty());
}

}  // namespace olvane::ui
