#include "ui/configurateur/Screen5_ContrepoidsApps.h"

#include <set>

#include "ui/configurateur/ConfigurateurViewModel.h"
#include "ui/foundation/AppPickerSheet.h"

namespace olvane::ui {

Screen5_ContrepoidsApps::Screen5_ContrepoidsApps(ConfigurateurViewModel& viewModel,
                                                 InstalledAppsService& apps, QWidget* parent)
    : KeyedListScreen(viewModel,
                      QStringLiteral("Sur quelles applications souhaites-tu appliquer des "
                                     "contrepoids (fonctionnalités ajoutant de la friction) ?"),
                      "scalemass.fill", QStringLiteral("Ajouter une application"), parent),
      apps_(apps) {
    showTargets();
    observation_ = viewModel_.redListTargetsDraft.observe([this](const auto&) { showTargets(); });
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

void Screen5_ContrepoidsApps::showTargets() {
    const auto targets = viewModel_.appTargets();
    showRows(ContrepoidsTargetDraft::idsOf(targets), [&](const Uuid& id) {
        return new ContrepoidsAppRow(
            ContrepoidsTargetDraft::withId(targets, id),
            [this, id] { viewModel_.removeTarget(id); }, apps_);
    });
}

}  // namespace olvane::ui
