#pragma once

#include <QImage>
#include <functional>
#include <vector>

#include "model/BrowserType.h"
#include "platform/Handle.h"
#include "platform/SafariApplication.h"
#include "ui/pages/extensions/UrlOpener.h"

namespace olvane::ui {

class InstalledAppsService;

// Behind every list of browser cards: which supported browsers this computer has, in the order
// Firefox, Safari, Chrome, and what each card's link does. The statuses come from AppState.
class ExtensionsViewModel {
  public:
    static constexpr const char* kFirefoxStoreHost = "addons.mozilla.org";
    static constexpr const char* kFirefoxStoreAddress = "https://addons.mozilla.org/";
    static constexpr const char* kChromeStoreAddress = "https://chromewebstore.google.com/";
    static constexpr const char* kSafariExtensionIdentifier = "so.olvane.mac.safari-extension";

    struct Collaborators {
        InstalledAppsService& installedApps;
        UrlOpener& urls;
        platform::SafariApplication& safari;
    };

    struct InstalledBrowser {
        BrowserType browser;
        QImage icon;
    };

    explicit ExtensionsViewModel(Collaborators collaborators);

    // A browser counts when an application is installed under its own ID or under a name the
    // alias table gives it (Chromium as Chrome); the first found gives the icon.
    std::vector<InstalledBrowser> installedBrowsers();
    // Firefox and Chrome: the store's start page in the default browser. Safari: its extension
    // preferences, or, when Safari cannot show them, the system's (there are none here).
    void performPrimaryAction(BrowserType browser);

    // Called whenever the catalogue of installed applications changes.
    platform::Handle observeInstalledApps(std::function<void()> onChange);

  private:
    Collaborators collaborators_;
};

}  // namespace olvane::ui
