#include "browser/ExtensionAccompanimentCoordinator.h"

#include "model/SettingsManager.h"

namespace olvane {

ExtensionAccompanimentCoordinator::ExtensionAccompanimentCoordinator(Collaborators collaborators)
    : c_(std::move(collaborators)) {}

void ExtensionAccompanimentCoordinator::featureUsed(WebFeatureCategory category) {
    if (c_.isGuidedConfigurationShown() || c_.settings.settings().extensionEverDetected ||
        c_.showWebExtensionPrompt() || promptedCategories_.contains(category)) {
        return;
    }
    promptedCategories_.insert(category);
    c_.showWebExtensionPrompt.set(true);
    pendingLaunch.clear();
}

bool ExtensionAccompanimentCoordinator::mayPresentWarning() const {
    return !isWarningPanelShown && !c_.showWebExtensionPrompt() && !c_.isApplicationActive() &&
           presentWarning && c_.settings.settings().hasActiveWebFeatures();
}

void ExtensionAccompanimentCoordinator::browserLaunched() {
    if (!mayPresentWarning()) {
        return;
    }
    const auto& statuses = c_.extensionStatus.get();
    for (const auto browser : allCases<BrowserType>()) {
        const auto status = statuses.find(browser);
        if (!pendingLaunch.contains(browser) || status == statuses.end()) {
            continue;
        }
        if (status->second == ExtensionStatus::connected) {
            pendingLaunch.erase(browser);
        } else if (status->second == ExtensionStatus::notDetected) {
            pendingLaunch.erase(browser);
            isWarningPanelShown = true;
            presentWarning(browser);
            return;
        }
    }
}

void ExtensionAccompanimentCoordinator::resetPendingWarnings() {
    isWarningPanelShown = false;
    pendingLaunch.clear();
}

}  // namespace olvane
