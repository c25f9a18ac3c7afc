#include "ui/configurateur/Screen6_ContrepoidsSites.h"

#include "model/SiteNormalizer.h"
#include "ui/configurateur/ConfigurateurViewModel.h"
#include "ui/foundation/SitePickerSheet.h"

namespace olvane::ui {

Screen6_ContrepoidsSites::Screen6_ContrepoidsSites(ConfigurateurViewModel& viewModel,
                                                   FaviconService& favicons, QWidget* parent)
    : KeyedListScreen(
          viewModel, QStringLiteral("Sur quels sites web souhaites-tu appliquer des contrepoids ?"),
          "scalemass.fill", QStringLiteral("Ajouter un site web"), parent),
      favicons_(favicons) {
    showTargets();
    observation_ = viewModel_.redListTargetsDraft.observe([this](const auto&) { showTargets(); });
}

std::unique_ptr<QWidget> Screen6_ContrepoidsSites::makePicker() {
    return std::make_unique<SitePickerSheet>(pickerShown(), [this](const std::string& typed) {
        const std::string site = SiteNormalizer::normalize(typed);
        viewModel_.addTarget(FrictionTargetType::website, site, site);
    });
}

void Screen6_ContrepoidsSites::showTargets() {
    const auto targets = viewModel_.websiteTargets();
    showRows(ContrepoidsTargetDraft::idsOf(targets), [&](const Uuid& id) {
        const auto& draft = ContrepoidsTargetDraft::withId(targets, id);
        return new ConfiguratorSiteRow(
            draft.targetIdentifier, QString::fromStdString(draft.targetDisplayName),
            [this, id] { viewModel_.removeTarget(id); }, favicons_);
    });
}

}  // namespace olvane::ui
