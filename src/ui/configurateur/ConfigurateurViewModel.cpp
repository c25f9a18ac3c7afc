#include "ui/configurateur/ConfigurateurViewModel.h"

#include <algorithm>
#include <set>

#include "model/Logger.h"
#include "model/SiteNormalizer.h"

namespace olvane {
namespace {

constexpr std::string_view kLinkedInLimit = "linkedin_limit";
constexpr std::string_view kLinkedInFeed = "linkedin_feed";

bool sameSet(const std::vector<std::string>& a, const std::vector<std::string>& b) {
    return std::set<std::string>(a.begin(), a.end()) == std::set<std::string>(b.begin(), b.end());
}

bool anyRuleEnabled(const std::vector<PlatformRules>& ruleSets) {
    return std::ranges::any_of(ruleSets, [](const PlatformRules& set) {
        return std::ranges::any_of(set.rules, &ContentRule::isEnabled);
    });
}

// "website|youtube.com|serieux": what tells two targets apart on screen.
std::string targetKey(FrictionTargetType type, const std::string& identifier,
                      IntensityLevel level) {
    const std::string_view typeWord = type == FrictionTargetType::website ? "website" : "app";
    return std::string(typeWord) + "|" + identifier + "|" + std::string(rawValue(level));
}

ContentRule* firstRule(PlatformRules& set, std::string_view ruleID) {
    const auto rule = std::ranges::find(set.rules, ruleID, &ContentRule::id);
    return rule == set.rules.end() ? nullptr : &*rule;
}

// Writes a copy of the observed value back after `edit`, so observers hear of real changes only.
template <typename T, typename Edit>
void edit(platform::Observable<T>& observable, Edit&& change) {
    T value = observable.get();
    change(value);
    observable.set(std::move(value));
}

}  // namespace

ConfigurateurViewModel::ConfigurateurViewModel(Collaborators collaborators)
    : settings_(collaborators.settings),
      rules_(collaborators.rules),
      grayscale_(collaborators.grayscale),
      monitoring_(collaborators.monitoring),
      appState_(collaborators.appState),
      initialSnapshot_(InitialSnapshot::of(settings_.settings())) {
    wantsGrayscaleEnabled.set(initialSnapshot_.wantsGrayscaleEnabled);
    grayscaleAllowedAppsDraft.set(initialSnapshot_.grayscaleAllowedApps);
    grayscaleAllowedSitesDraft.set(initialSnapshot_.grayscaleAllowedSites);
    std::vector<ContrepoidsTargetDraft> targets;
    for (const auto& config : initialSnapshot_.redListConfigs) {
        targets.push_back(ContrepoidsTargetDraft::of(config));
    }
    redListTargetsDraft.set(std::move(targets));
    contentFilterRulesDraft.set(initialSnapshot_.contentFilterRules);
    Logger::settings().info("ConfigurateurViewModel initialisé — isFreshConfig: %{bool,private}d",
                            isFreshConfig());
}

bool ConfigurateurViewModel::isFreshConfig() const {
    return !wantsGrayscaleEnabled() && grayscaleAllowedAppsDraft().empty() &&
           grayscaleAllowedSitesDraft().empty() && redListTargetsDraft().empty() &&
           !anyRuleEnabled(contentFilterRulesDraft());
}

std::vector<ContrepoidsTargetDraft> ConfigurateurViewModel::targetsOfType(
    FrictionTargetType type) const {
    std::vector<ContrepoidsTargetDraft> targets;
    std::ranges::copy_if(
        redListTargetsDraft(), std::back_inserter(targets),
        [type](const ContrepoidsTargetDraft& draft) { return draft.targetType == type; });
    return targets;
}

std::vector<ContrepoidsTargetDraft> ConfigurateurViewModel::appTargets() const {
    return targetsOfType(FrictionTargetType::app);
}

std::vector<ContrepoidsTargetDraft> ConfigurateurViewModel::websiteTargets() const {
    return targetsOfType(FrictionTargetType::website);
}

// MARK: drafts

void ConfigurateurViewModel::addGrayscaleAllowedApp(const std::string& bundleID) {
    edit(grayscaleAllowedAppsDraft, [&](std::vector<std::string>& apps) {
        if (std::ranges::find(apps, bundleID) == apps.end()) {
            apps.push_back(bundleID);
        }
    });
}

void ConfigurateurViewModel::removeGrayscaleAllowedApp(const std::string& bundleID) {
    edit(grayscaleAllowedAppsDraft,
         [&](std::vector<std::string>& apps) { std::erase(apps, bundleID); });
}

void ConfigurateurViewModel::addGrayscaleAllowedSite(std::string_view typed) {
    // An entry without a host would match no site, or every one.
    const auto entry = SiteNormalizer::normalize(typed);
    if (entry.empty() || !SiteNormalizer::hasHost(entry)) {
        return;
    }
    edit(grayscaleAllowedSitesDraft, [&](std::vector<std::string>& sites) {
        if (std::ranges::find(sites, entry) == sites.end()) {
            sites.push_back(entry);
        }
    });
}

void ConfigurateurViewModel::removeGrayscaleAllowedSite(const std::string& site) {
    edit(grayscaleAllowedSitesDraft,
         [&](std::vector<std::string>& sites) { std::erase(sites, site); });
}

void ConfigurateurViewModel::addTarget(FrictionTargetType type, const std::string& identifier,
                                       const std::string& displayName) {
    // A website target without a host could never match a page, and its export would leave it
    // out while the wizard still listed it.
    if (type == FrictionTargetType::website && !SiteNormalizer::hasHost(identifier)) {
        return;
    }
    edit(redListTargetsDraft, [&](std::vector<ContrepoidsTargetDraft>& targets) {
        const bool exists = std::ranges::any_of(targets, [&](const ContrepoidsTargetDraft& draft) {
            return draft.targetType == type && draft.targetIdentifier == identifier;
        });
        if (!exists) {
            targets.push_back(
                {Uuid::random(), type, identifier, displayName, IntensityLevel::equilibre});
        }
    });
}

void ConfigurateurViewModel::removeTarget(const Uuid& id) {
    edit(redListTargetsDraft, [&](std::vector<ContrepoidsTargetDraft>& targets) {
        std::erase_if(targets, [&](const ContrepoidsTargetDraft& draft) { return draft.id == id; });
    });
}

void ConfigurateurViewModel::setIntensity(IntensityLevel level, const Uuid& id) {
    edit(redListTargetsDraft, [&](std::vector<ContrepoidsTargetDraft>& targets) {
        const auto draft = std::ranges::find(targets, id, &ContrepoidsTargetDraft::id);
        if (draft != targets.end()) {
            draft->intensityLevel = level;
        }
    });
}

void ConfigurateurViewModel::setRule(Platform platform, std::string_view ruleID, bool enabled) {
    edit(contentFilterRulesDraft, [&](std::vector<PlatformRules>& ruleSets) {
        const auto set = std::ranges::find(ruleSets, platform, &PlatformRules::platform);
        if (set == ruleSets.end()) {
            return;
        }
        ContentRule* rule = firstRule(*set, ruleID);
        if (!rule) {
            return;
        }
        rule->isEnabled = enabled;
        if (platform != Platform::linkedin || !enabled) {
            return;
        }
        const std::string_view other = ruleID == kLinkedInLimit  ? kLinkedInFeed
                                       : ruleID == kLinkedInFeed ? kLinkedInLimit
                                                                 : std::string_view{};
        if (ContentRule* excluded = other.empty() ? nullptr : firstRule(*set, other)) {
            excluded->isEnabled = false;
        }
    });
}

// MARK: navigation

int ConfigurateurViewModel::nextScreen(int screen) const {
    switch (screen) {
        case 2:
            return wantsGrayscaleEnabled() ? 3 : 5;
        case 6:
            return redListTargetsDraft().empty() ? 8 : 7;
        default:
            return screen >= kFirstScreen && screen < kExtensionsScreen ? screen + 1 : screen;
    }
}

void ConfigurateurViewModel::goNext() {
    if (isNavigating_) {
        return;
    }
    isNavigating_ = true;
    const int next = nextScreen(currentScreenIndex());
    navigationHistory_.push_back(next);
    currentScreenIndex.set(next);
    Logger::settings().debug("Configurateur: écran → %{private}ld", next);
    isNavigating_ = false;
}

void ConfigurateurViewModel::goBack() {
    if (navigationHistory_.size() < 2) {
        return;
    }
    navigationHistory_.pop_back();
    const int previous = navigationHistory_.back();
    currentScreenIndex.set(previous);
    Logger::settings().debug("Configurateur: écran ← %{private}ld", previous);
}

// MARK: changes

bool ConfigurateurViewModel::hasChanges() const {
    if (wantsGrayscaleEnabled() != initialSnapshot_.wantsGrayscaleEnabled) {
        return true;
    }
    if (!sameSet(grayscaleAllowedAppsDraft(), initialSnapshot_.grayscaleAllowedApps) ||
        !sameSet(grayscaleAllowedSitesDraft(), initialSnapshot_.grayscaleAllowedSites)) {
        return true;
    }
    std::set<std::string> storedTargets;
    for (const auto& config : initialSnapshot_.redListConfigs) {
        storedTargets.insert(
            targetKey(config.targetType, config.targetIdentifier, intensityLevel(config)));
    }
    std::set<std::string> draftTargets;
    for (const auto& draft : redListTargetsDraft()) {
        draftTargets.insert(
            targetKey(draft.targetType, draft.targetIdentifier, draft.intensityLevel));
    }
    return storedTargets != draftTargets || contentRulesChanged();
}

bool ConfigurateurViewModel::contentRulesChanged() const {
    const auto& stored = initialSnapshot_.contentFilterRules;
    for (const auto& set : contentFilterRulesDraft()) {
        const auto storedSet = std::ranges::find(stored, set.platform, &PlatformRules::platform);
        if (storedSet == stored.end()) {
            return true;
        }
        for (const auto& rule : set.rules) {
            const auto storedRule = std::ranges::find(storedSet->rules, rule.id, &ContentRule::id);
            const bool storedEnabled =
                storedRule != storedSet->rules.end() && storedRule->isEnabled;
            // A rule the snapshot lacks counts as off there.
            if (rule.isEnabled != storedEnabled) {
                return true;
            }
        }
    }
    return false;
}

// MARK: activation

void ConfigurateurViewModel::activateConfiguration() {
    if (isActivating_) {
        return;
    }
    isActivating_ = true;
    const auto targets = rebuiltTargets();
    writeDraftsIntoSettings(targets);
    // A failed save is logged by the store; the rest still applies what the settings now hold.
    (void)settings_.saveSettings(false);
    rules_.exportContentRules(contentFilterRulesDraft());
    std::vector<RedListConfig> websites;
    std::ranges::copy_if(targets, std::back_inserter(websites), [](const RedListConfig& config) {
        return config.targetType == FrictionTargetType::website;
    });
    rules_.exportWebsiteTargets(websites);
    if (wantsGrayscaleEnabled()) {
        grayscale_.enable();
    } else {
        grayscale_.disable();
    }
    // Switching the filter does not publish the sites: without this the browser side would
    // learn of the wizard's exceptions only at the next launch.
    grayscale_.publishAllowedSites();
    applyMonitoring();
    isActivated_ = true;
    leaveAfterActivation();
}

std::vector<RedListConfig> ConfigurateurViewModel::rebuiltTargets() const {
    const auto& stored = initialSnapshot_.redListConfigs;
    std::vector<RedListConfig> targets;
    for (const auto& draft : redListTargetsDraft()) {
        const auto kept = std::ranges::find(stored, draft.id, &RedListConfig::id);
        if (kept != stored.end() && intensityLevel(*kept) == draft.intensityLevel) {
            targets.push_back(*kept);
            continue;
        }
        RedListConfig config;
        config.id = Uuid::random();
        config.targetType = draft.targetType;
        config.targetIdentifier = draft.targetIdentifier;
        config.targetDisplayName = draft.targetDisplayName;
        targets.push_back(withLevelEffects(std::move(config), draft.intensityLevel));
    }
    return targets;
}

void ConfigurateurViewModel::writeDraftsIntoSettings(const std::vector<RedListConfig>& targets) {
    auto& settings = settings_.settings();
    settings.userWantsGrayscaleEnabled = wantsGrayscaleEnabled();
    settings.grayscaleAllowedApps = grayscaleAllowedAppsDraft();
    settings.grayscaleAllowedSites = grayscaleAllowedSitesDraft();
    settings.redListConfigs = targets;
    settings.contentFilterRules = contentFilterRulesDraft();
}

void ConfigurateurViewModel::applyMonitoring() {
    if (redListTargetsDraft().empty()) {
        monitoring_.stopMonitoring();
        return;
    }
    // Starting does nothing when it already runs: the application in front would keep the old
    // targets' effects until the next switch.
    if (!monitoring_.isMonitoring()) {
        monitoring_.startMonitoring();
    }
    monitoring_.reevaluateCurrentApp();
}

void ConfigurateurViewModel::leaveAfterActivation() {
    const auto targetCount = static_cast<long>(redListTargetsDraft().size());
    const bool grayscale = wantsGrayscaleEnabled();
    if (needsExtensionStep()) {
        navigationHistory_.push_back(kExtensionsScreen);
        currentScreenIndex.set(kExtensionsScreen);
    } else {
        // Not through the navigation guard: the activated wizard leaves by itself. The page, and
        // this model with it, may go once the home page is selected.
        appState_.selectedNavigationItem.set(NavigationItem::accueil);
    }
    Logger::settings().info(
        "Configurateur activé : %{private}ld cibles Contrepoids, Monochrome=%{bool,private}d",
        targetCount, grayscale);
}

bool ConfigurateurViewModel::needsExtensionStep() const {
    if (!websiteTargets().empty() || anyRuleEnabled(contentFilterRulesDraft())) {
        return true;
    }
    return wantsGrayscaleEnabled() && !grayscaleAllowedSitesDraft().empty();
}

}  // namespace olvane
