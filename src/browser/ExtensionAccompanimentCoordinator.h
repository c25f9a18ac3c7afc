#pragma once

#include <functional>
#include <map>
#include <set>

#include "browser/WebFeatureUsage.h"
#include "model/BrowserType.h"
#include "model/ExtensionStatus.h"
#include "platform/Observable.h"

namespace olvane {

class SettingsManager;

// Decides when the user is reminded that the browser extension is missing: once per module and
// run, the web-extension prompt when a web feature is set up before any extension was ever seen;
// and the warning panel when a launched browser turns out to have none while the application is
// in the background, one browser at a time, Firefox first.
class ExtensionAccompanimentCoordinator final : public WebFeatureUsage {
  public:
    struct Collaborators {
        const SettingsManager& settings;
        platform::Observable<bool>& showWebExtensionPrompt;
        const platform::Observable<std::map<BrowserType, ExtensionStatus>>& extensionStatus;
        // Whether the guided configuration is the page on screen.
        std::function<bool()> isGuidedConfigurationShown;
        // Whether the user is working in this application.
        std::function<bool()> isApplicationActive;
    };

    explicit ExtensionAccompanimentCoordinator(Collaborators collaborators);

    void featureUsed(WebFeatureCategory category) override;
    // Reviews the launched browsers not judged yet: drops the connected ones and presents the
    // warning for the first without its extension, in the order Firefox, Safari, Chrome.
    void browserLaunched();
    // The panel went through its manage action, or the popover opened: nothing is pending.
    void resetPendingWarnings();

    // Browsers launched and not judged yet.
    std::set<BrowserType> pendingLaunch;
    // From the moment a warning is presented until it is dismissed or managed.
    bool isWarningPanelShown = false;
    // Shows the panel; set by the interface once it has a place for it.
    std::function<void(BrowserType)> presentWarning;

    const std::set<WebFeatureCategory>& promptedCategoriesThisSession() const {
        return promptedCategories_;
    }

  private:
    bool mayPresentWarning() const;

    Collaborators c_;
    std::set<WebFeatureCategory> promptedCategories_;
};

}  // namespace olvane
