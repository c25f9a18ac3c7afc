#include "ui/pages/extensions/ExtensionsViewModel.h"

#include "model/Logger.h"
#include "platform/ApplicationAliases.h"
#include "ui/foundation/InstalledAppsService.h"

namespace olvane::ui {
namespace {

// Where Safari's extensions would be managed on the system; Linux has no such pane.
void openSystemExtensionSettings() {
    Logger::app().info("Aucun réglage système des extensions ici — rien n'est ouvert");
}

void showSafariPreferencesFailed(const std::optional<std::string>& error) {
    if (!error) {
        return;
    }
    Logger::app().error("showPreferencesForExtension a échoué: %{public}s", *error);
    openSystemExtensionSettings();
}

}  // namespace

ExtensionsViewModel::ExtensionsViewModel(Collaborators collaborators)
    : collaborators_(collaborators) {}

std::vector<ExtensionsViewModel::InstalledBrowser> ExtensionsViewModel::installedBrowsers() {
    std::vector<InstalledBrowser> browsers;
    for (const auto browser : allCases<BrowserType>()) {
        const std::string_view id = bundleIdentifier(browser);
        std::vector<std::string_view> names{id};
        for (const auto alias : platform::aliasesOfApplication(id)) {
            names.push_back(alias);
        }
        for (const auto name : names) {
            auto info = collaborators_.installedApps.appInfo(std::string(name));
            if (info.name) {
                browsers.push_back({browser, info.icon.value_or(QImage())});
                break;
            }
        }
    }
    return browsers;
}

void ExtensionsViewModel::performPrimaryAction(BrowserType browser) {
    switch (browser) {
        case BrowserType::firefox:
            collaborators_.urls.openUrl(kFirefoxStoreAddress);
            return;
        case BrowserType::chrome:
            collaborators_.urls.openUrl(kChromeStoreAddress);
            return;
        case BrowserType::safari:
            collaborators_.safari.showPreferencesForExtension(kSafariExtensionIdentifier,
                                                              showSafariPreferencesFailed);
            return;
    }
}

platform::Handle ExtensionsViewModel::observeInstalledApps(std::function<void()> onChange) {
    return collaborators_.installedApps.observe(std::move(onChange));
}

}  // namespace olvane::ui
