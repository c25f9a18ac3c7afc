#include "ui/configurateur/Screen4_MonochromeSites.h"

#include "ui/configurateur/ConfigurateurViewModel.h"
#include "ui/foundation/SitePickerSheet.h"

namespace olvane::ui {

Screen4_MonochromeSites::Screen4_MonochromeSites(ConfigurateurViewModel& viewModel,
                                                 FaviconService& favicons, QWidget* parent)
    : KeyedListScreen(viewModel,
                      QStringLiteral("Souhaites-tu conserver la couleur sur certains sites web ?"),
                      "circle.lefthalf.filled", QStringLiteral("Ajouter un site web"), parent),
      favicons_(favicons) {
    showSites();
    observation_ =
        viewModel_.grayscaleAllowedSitesDraft.observe([this](const auto&) { showSites(); });
}

std::unique_ptr<QWidget> Screen4_MonochromeSites::makePicker() {
    return std::make_unique<SitePickerSheet>(pickerShown(), [this](const std::string& typed) {
        viewModel_.addGrayscaleAllowedSite(typed);
    });
}

void Screen4_MonochromeSites::showSites() {
    showRows(viewModel_.grayscaleAllowedSitesDraft(), [this](const std::string& site) {
        return new ConfiguratorSiteRow(
            site, QString::fromStdString(site),
            [this, site] { viewModel_.removeGrayscaleAllowedSite(site); }, favicons_);
    });
}

}  // namespace olvane::ui
