#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "app/AppState.h"
#include "app/MonitoringControl.h"
#include "model/FrictionTargetType.h"
#include "model/Platform.h"
#include "model/PlatformRules.h"
#include "model/Uuid.h"
#include "platform/Observable.h"
#include "ui/configurateur/ContrepoidsTargetDraft.h"
#include "ui/configurateur/GrayscaleControl.h"
#include "ui/configurateur/InitialSnapshot.h"
#include "ui/configurateur/IntensityLevel.h"
#include "ui/configurateur/RulesPublisher.h"
#include "ui/configurateur/SettingsStore.h"

namespace olvane {

// One run of the guided configuration: the screen shown and the path that led there, and drafts
// of everything the wizard can change. The drafts start from the settings and reach them only
// through `activateConfiguration()`; leaving the page without it drops them, as the page makes a
// new model each time it opens. The snapshot of the settings at opening tells whether anything
// changed.
//
// Screens are numbered 1 to 13: 1 welcome, 2–4 Monochrome, 5–7 Contrepoids, 8–11 Assainisseur
// (one platform each), 12 the recap, 13 the extensions step.
class ConfigurateurViewModel {
  public:
    struct Collaborators {
        SettingsStore& settings;
        RulesPublisher& rules;
        GrayscaleControl& grayscale;
        MonitoringControl& monitoring;
        AppState& appState;
    };

    static constexpr int kFirstScreen = 1;
    static constexpr int kRecapScreen = 12;
    static constexpr int kExtensionsScreen = 13;

    // Takes the drafts and the snapshot from the current settings.
    explicit ConfigurateurViewModel(Collaborators collaborators);
    ConfigurateurViewModel(const ConfigurateurViewModel&) = delete;
    ConfigurateurViewModel& operator=(const ConfigurateurViewModel&) = delete;

    // The screens read and write these directly.
    platform::Observable<int> currentScreenIndex{kFirstScreen};
    platform::Observable<bool> wantsGrayscaleEnabled{false};
    platform::Observable<std::vector<std::string>> grayscaleAllowedAppsDraft;
    // Stored (normalised) site entries.
    platform::Observable<std::vector<std::string>> grayscaleAllowedSitesDraft;
    platform::Observable<std::vector<ContrepoidsTargetDraft>> redListTargetsDraft;
    platform::Observable<std::vector<PlatformRules>> contentFilterRulesDraft;
    // The page the user tried to reach while changes were pending.
    platform::Observable<std::optional<NavigationItem>> pendingExitTarget;

    const InitialSnapshot& initialSnapshot() const { return initialSnapshot_; }
    // The screens visited, oldest first; the last one is shown.
    const std::vector<int>& navigationHistory() const { return navigationHistory_; }
    bool isActivated() const { return isActivated_; }

    // The targets of one type, in draft order.
    std::vector<ContrepoidsTargetDraft> appTargets() const;
    std::vector<ContrepoidsTargetDraft> websiteTargets() const;

    void addGrayscaleAllowedApp(const std::string& bundleID);
    void removeGrayscaleAllowedApp(const std::string& bundleID);
    // Stored normalised; text that names no host is ignored.
    void addGrayscaleAllowedSite(std::string_view typed);
    void removeGrayscaleAllowedSite(const std::string& site);
    // At the "equilibre" level, unless a target of the type with this exact identifier exists
    // or a website identifier names no host.
    void addTarget(FrictionTargetType type, const std::string& identifier,
                   const std::string& displayName);
    void removeTarget(const Uuid& id);
    void setIntensity(IntensityLevel level, const Uuid& id);
    // Switching a LinkedIn feed rule on switches the other one off: the feed cannot be both
    // limited and hidden.
    void setRule(Platform platform, std::string_view ruleID, bool enabled);

    // The screen after `screen`, skipping the Monochrome exceptions while grayscale is not
    // wanted and the intensities while there is no target. Numbers out of 1…12 stay.
    int nextScreen(int screen) const;
    // Records and shows the next screen. A call made while a previous one announces its screen
    // is turned away.
    void goNext();
    // Back along the screens actually visited.
    void goBack();

    // Whether a draft differs from the snapshot in what the user could see: order, repetitions,
    // identifiers and display names do not count.
    bool hasChanges() const;

    // Writes every draft into the settings, publishes them, applies grayscale and monitoring,
    // then shows the extensions step or the home page. Once per model; later calls do nothing.
    void activateConfiguration();
    // Whether something needs a browser extension: a website target, an enabled rule, or sites
    // exempt from a wanted grayscale.
    bool needsExtensionStep() const;

  private:
    std::vector<ContrepoidsTargetDraft> targetsOfType(FrictionTargetType type) const;
    bool isFreshConfig() const;
    bool contentRulesChanged() const;
    // One configuration per draft: the stored one while its level holds, else a new one.
    std::vector<RedListConfig> rebuiltTargets() const;
    void writeDraftsIntoSettings(const std::vector<RedListConfig>& targets);
    void applyMonitoring();
    void leaveAfterActivation();

    SettingsStore& settings_;
    RulesPublisher& rules_;
    GrayscaleControl& grayscale_;
    MonitoringControl& monitoring_;
    AppState& appState_;

    InitialSnapshot initialSnapshot_;
    std::vector<int> navigationHistory_{kFirstScreen};
    bool isNavigating_ = false;
    bool isActivating_ = false;
    bool isActivated_ = false;
};

}  // namespace olvane
