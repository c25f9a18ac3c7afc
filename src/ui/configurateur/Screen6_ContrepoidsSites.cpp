#include "ui/configurateur/Screen6_ContrepoidsSites.h"

#include "model/SiteNormalizer.h"
#include "ui/configurateur/ConfigurateurViewModel.h"
#include "ui/configurateur/ConfiguratorListCard.h"
#include "ui/foundation/SitePickerSheet.h"

namespace olvane::ui {

Screen6_ContrepoidsSites::Screen6_ContrepoidsSites(ConfigurateurViewModel& viewModel,
                                                   FaviconService& favicons, QWidget* parent)
    : ConfiguratorListScreen(
          QStringLiteral("Sur quels sites web souhaites-tu appliquer des contrepoids ?"),
          "scalemass.fill", QStringLiteral("Ajouter un site web"), parent),
      viewModel_(viewModel),
      favicons_(favicons),
      rows_(list()->rows(), 0) {
    showRows();
    observation_ = viewModel_.redListTargetsDraft.observe([this](const auto&) { showRows(); });
}

std::unique_ptr<QWidget> Screen6_ContrepoidsSites::makePicker() {
    return std::make_unique<SitePickerSheet>(pickerShown(), [this](const std::string& typed) {
        const std::string site = SiteNormalizer::normalize(typed);
        viewModel_.addTarget(FrictionTargetType::website, site, site);
    });
}

void Screen6_ContrepoidsSites::showRows() {
    const auto targets = viewModel_.websiteTargets();
    rows_.show(ContrepoidsTargetDraft::idsOf(targets), [&](const Uuid& id) {
        const auto& draft = *std::ranges::find(targets, id, &ContrepoidsTargetDraft::id);
        return new ConfiguratorSiteRow(
            draft.targetIdentifier, QString::fromStdString(draft.targetDisplayName),
            [this, id] { viewModel_.removeTarget(id); }, favicons_);
    });
    list()->setHasEntries(!targets.empty());
}

}  // namespace olvane::ui
