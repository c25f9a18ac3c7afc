#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "model/Platform.h"
#include "model/PlatformRules.h"
#include "platform/Handle.h"
#include "platform/Observable.h"

namespace olvane {

class RulesFileService;
class SettingsManager;
class WebFeatureUsage;

// The model of the Assainisseur page: the user's rule sets, the page's queries, and the toggle of
// one rule. Every change of the list is saved and published into the rules file at once. Made
// with its page, from the stored settings.
class ContentFilterViewModel {
  public:
    // Warms the favicon cache for the given sites.
    using FaviconPrefetch = std::function<void(const std::vector<std::string>& domains)>;

    struct Collaborators {
        SettingsManager& settings;
        const RulesFileService& rulesFile;
        // Told when a rule is switched on, so that it may ask for the browser extension.
        WebFeatureUsage& featureUsage;
        FaviconPrefetch prefetchFavicons;
    };

    // Reads the stored sets (migrated; the catalogue, saved, when there are none) and prefetches
    // the platforms' favicons. The rules file is not written.
    explicit ContentFilterViewModel(Collaborators collaborators);
    ContentFilterViewModel(const ContentFilterViewModel&) = delete;
    ContentFilterViewModel& operator=(const ContentFilterViewModel&) = delete;

    const std::vector<PlatformRules>& platformRules() const { return platformRules_.get(); }
    // Replaces the list, then saves and publishes it, even when it did not change.
    void setPlatformRules(std::vector<PlatformRules> ruleSets);
    // Called after each real change of the list.
    platform::Handle observe(std::function<void()> onChange);

    // The queries read the first set of the platform; 0, empty or false when it has none.
    int enabledRuleCount(Platform platform) const;
    int ruleCount(Platform platform) const;
    // In catalogue order, the rules the catalogue does not know after the others; the stored
    // order is left as it is.
    std::vector<ContentRule> rules(Platform platform) const;
    bool isRuleEnabled(std::string_view ruleId, Platform platform) const;

    // Sets one rule (of the first set of the platform); switching on one of the two LinkedIn
    // feed rules switches the other off. An unknown platform or rule changes nothing.
    void toggleRule(const std::string& ruleId, Platform platform, bool enabled);

  private:
    const PlatformRules* firstSet(Platform platform) const;
    void saveAndExport();

    Collaborators collaborators_;
    platform::Observable<std::vector<PlatformRules>> platformRules_;
};

}  // namespace olvane
