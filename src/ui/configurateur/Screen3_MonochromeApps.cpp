#include "ui/configurateur/Screen3_MonochromeApps.h"

#include <set>

#include "ui/configurateur/ConfigurateurViewModel.h"
#include "ui/foundation/AppPickerSheet.h"

namespace olvane::ui {

Screen3_MonochromeApps::Screen3_MonochromeApps(ConfigurateurViewModel& viewModel,
                                               InstalledAppsService& apps, QWidget* parent)
    : KeyedListScreen(viewModel,
                      QStringLiteral("Souhaites-tu conserver la couleur dans certaines "
                                     "applications (photo, lecteurs vidéo, …) ?"),
                      "circle.lefthalf.filled", QStringLiteral("Ajouter une application"), parent),
      apps_(apps) {
    showApps();
    observation_ =
        viewModel_.grayscaleAllowedAppsDraft.observe([this](const auto&) { showApps(); });
}

std::unique_ptr<QWidget> Screen3_MonochromeApps::makePicker() {
    const auto& chosen = viewModel_.grayscaleAllowedAppsDraft();
    return std::make_unique<AppPickerSheet>(
        pickerShown(), std::set<std::string>(chosen.begin(), chosen.end()),
        [this](const InstalledApp& app) { viewModel_.addGrayscaleAllowedApp(app.bundleID); },
        apps_);
}

void Screen3_MonochromeApps::showApps() {
    showRows(viewModel_.grayscaleAllowedAppsDraft(), [this](const std::string& bundleID) {
        return new MonochromeAppRow(
            bundleID, [this, bundleID] { viewModel_.removeGrayscaleAllowedApp(bundleID); }, apps_);
    });
}

}  // namespace olvane::ui
