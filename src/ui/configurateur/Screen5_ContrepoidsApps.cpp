#include "ui/configurateur/Screen5_ContrepoidsApps.h"

#include <set>

#include "ui/configurateur/ConfigurateurViewModel.h"
#include "ui/configurateur/ConfiguratorListCard.h"
#include "ui/foundation/AppPickerSheet.h"

namespace olvane::ui {

Screen5_ContrepoidsApps::Screen5_ContrepoidsApps(ConfigurateurViewModel& viewModel,
                                                 InstalledAppsService& apps, QWidget* parent)
    : ConfiguratorListScreen(QStringLiteral("Sur quelles applications souhaites-tu appliquer des "
                                            "contrepoids (fonctionnalités ajoutant de la "
                                            "friction) ?"),
                             "scalemass.fill", QStringLiteral("Ajouter une application"), parent),
      viewModel_(viewModel),
      apps_(apps),
      rows_(list()->rows(), 0) {
    showRows();
    observation_ = viewModel_.redListTargetsDraft.observe([this](const auto&) { showRows(); });
}

std::unique_ptr<QWidget> Screen5_ContrepoidsApps::makePicker() {
    std::set<std::string> chosen;
    for (const auto& target : viewModel_.appTargets()) {
        chosen.insert(target.targetIdentifier);
    }
    return std::make_unique<AppPickerSheet>(
        pickerShown(), std::move(chosen),
        [this](const InstalledApp& app) {
            viewModel_.addTarget(FrictionTargetType::app, app.bundleID, app.name);
        },
        apps_);
}

void Screen5_ContrepoidsApps::showRows() {
    const auto targets = viewModel_.appTargets();
    rows_.show(ContrepoidsTargetDraft::idsOf(targets), [&](const Uuid& id) {
        const auto& draft = *std::ranges::find(targets, id, &ContrepoidsTargetDraft::id);
        return new ContrepoidsAppRow(
            draft, [this, id] { viewModel_.removeTarget(id); }, apps_);
    });
    list()->setHasEntries(!targets.empty());
}

}  // namespace olvane::ui
