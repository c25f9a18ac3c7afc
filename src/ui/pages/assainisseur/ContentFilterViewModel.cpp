#include "ui/pages/assainisseur/ContentFilterViewModel.h"

#include <algorithm>

#include "browser/WebFeatureUsage.h"
#include "model/ContentRuleCatalogue.h"
#include "model/ContentRulesModel.h"
#include "model/Logger.h"
#include "model/RulesFileService.h"
#include "model/SettingsManager.h"

namespace olvane {
namespace {

constexpr std::string_view kLinkedInLimit = "linkedin_limit";
constexpr std::string_view kLinkedInFeed = "linkedin_feed";

std::vector<PlatformRules> initialRules(SettingsManager& settings) {
    if (!settings.settings().contentFilterRules.empty()) {
        return ContentRulesModel::migrateRules(settings.settings().contentFilterRules, settings);
    }
    auto catalogue = ContentRuleCatalogue::rules();
    settings.settings().contentFilterRules = catalogue;
    settings.saveSettings();
    return catalogue;
}

std::vector<std::string> faviconDomains() {
    std::vector<std::string> domains;
    for (const auto platform : allCases<Platform>()) {
        domains.emplace_back(ContentRuleCatalogue::faviconDomain(platform));
    }
    return domains;
}

ContentRule* firstRule(std::vector<ContentRule>& rules, std::string_view id) {
    const auto it = std::ranges::find(rules, id, &ContentRule::id);
    return it == rules.end() ? nullptr : &*it;
}

// The other rule of the LinkedIn pair, when `id` is one of them.
std::string_view linkedInCounterpart(std::string_view id) {
    if (id == kLinkedInLimit) {
        return kLinkedInFeed;
    }
    if (id == kLinkedInFeed) {
        return kLinkedInLimit;
    }
    return {};
}

platform::ComposedText ruleLabel(const std::string& id) {
    const std::string label = ContentRule::displayLabel(id);
    return label == id ? platform::userData(id) : platform::ComposedText(label);
}

}  // namespace

ContentFilterViewModel::ContentFilterViewModel(Collaborators collaborators)
    : collaborators_(std::move(collaborators)),
      platformRules_(initialRules(collaborators_.settings)) {
    if (collaborators_.prefetchFavicons) {
        collaborators_.prefetchFavicons(faviconDomains());
    }
}

void ContentFilterViewModel::setPlatformRules(std::vector<PlatformRules> ruleSets) {
    platformRules_.set(std::move(ruleSets));
    // After the assignment, not on its notification: an unchanged list is saved too.
    saveAndExport();
}

platform::Handle ContentFilterViewModel::observe(std::function<void()> onChange) {
    return platformRules_.observe([onChange = std::move(onChange)](const auto&) { onChange(); });
}

const PlatformRules* ContentFilterViewModel::firstSet(Platform platform) const {
    const auto& sets = platformRules_.get();
    const auto it = std::ranges::find(sets, platform, &PlatformRules::platform);
    return it == sets.end() ? nullptr : &*it;
}

int ContentFilterViewModel::enabledRuleCount(Platform platform) const {
    const auto* set = firstSet(platform);
    return set ? static_cast<int>(std::ranges::count(set->rules, true, &ContentRule::isEnabled))
               : 0;
}

int ContentFilterViewModel::ruleCount(Platform platform) const {
    const auto* set = firstSet(platform);
    return set ? static_cast<int>(set->rules.size()) : 0;
}

std::vector<ContentRule> ContentFilterViewModel::rules(Platform platform) const {
    const auto* set = firstSet(platform);
    if (!set) {
        return {};
    }
    const auto& order = ContentRuleCatalogue::ruleDisplayOrder(platform);
    const auto position = [&order](const ContentRule& rule) {
        return std::ranges::find(order, rule.id) - order.begin();
    };
    auto sorted = set->rules;
    std::ranges::stable_sort(sorted, std::less<>(), position);
    return sorted;
}

bool ContentFilterViewModel::isRuleEnabled(std::string_view ruleId, Platform platform) const {
    const auto* set = firstSet(platform);
    if (!set) {
        return false;
    }
    const auto it = std::ranges::find(set->rules, ruleId, &ContentRule::id);
    return it != set->rules.end() && it->isEnabled;
}

void ContentFilterViewModel::toggleRule(const std::string& ruleId, Platform platform,
                                        bool enabled) {
    auto sets = platformRules_.get();
    const auto set = std::ranges::find(sets, platform, &PlatformRules::platform);
    if (set == sets.end()) {
        return;
    }
    ContentRule* rule = firstRule(set->rules, ruleId);
    if (!rule) {
        return;
    }
    rule->isEnabled = enabled;
    if (const auto counterpart = linkedInCounterpart(ruleId);
        platform == Platform::linkedin && enabled && !counterpart.empty()) {
        if (ContentRule* other = firstRule(set->rules, counterpart)) {
            other->isEnabled = false;
        }
    }
    setPlatformRules(std::move(sets));
    Logger::contentFilter().logUserAction("Règle '" + ruleLabel(ruleId) + "' " +
                                          (enabled ? "activée" : "désactivée"));
    if (enabled) {
        collaborators_.featureUsage.featureUsed(WebFeatureCategory::assainisseur);
    }
}

void ContentFilterViewModel::saveAndExport() {
    auto& settings = collaborators_.settings;
    settings.settings().contentFilterRules = platformRules_.get();
    settings.saveSettings();
    ContentRulesModel::exportRules(platformRules_.get(), collaborators_.rulesFile);
}

}  // namespace olvane
