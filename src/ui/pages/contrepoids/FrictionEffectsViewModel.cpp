#include "ui/pages/contrepoids/FrictionEffectsViewModel.h"

#include <algorithm>

#include "browser/WebFeatureUsage.h"
#include "model/Logger.h"
#include "model/RedListExport.h"
#include "model/RulesFileService.h"
#include "model/SettingsManager.h"
#include "model/SiteNormalizer.h"
#include "model/exchange/RulesFileFormat.h"
#include "ui/foundation/FaviconService.h"
#include "ui/pages/contrepoids/DelayTestPanel.h"
#include "ui/pages/contrepoids/FrictionEngine.h"

namespace olvane::ui {
namespace {

RedListConfig newTarget(FrictionTargetType type, const std::string& identifier,
                        const std::string& displayName) {
    RedListConfig target;
    target.id = Uuid::random();
    target.targetType = type;
    target.targetIdentifier = identifier;
    target.targetDisplayName = displayName;
    return target;
}

std::vector<RedListConfig> ofType(const std::vector<RedListConfig>& targets,
                                  FrictionTargetType type) {
    std::vector<RedListConfig> chosen;
    std::copy_if(targets.begin(), targets.end(), std::back_inserter(chosen),
                 [type](const RedListConfig& target) { return target.targetType == type; });
    return chosen;
}

bool contains(const std::vector<RedListConfig>& targets, FrictionTargetType type,
              const std::string& identifier) {
    return std::any_of(targets.begin(), targets.end(), [&](const RedListConfig& target) {
        return target.targetType == type && target.targetIdentifier == identifier;
    });
}

}  // namespace

FrictionEffectsViewModel::FrictionEffectsViewModel(Collaborators collaborators)
    : redListConfigs(collaborators.settings.settings().redListConfigs),
      loop_(collaborators.loop),
      settings_(collaborators.settings),
      rulesFile_(collaborators.rulesFile),
      engine_(collaborators.engine),
      favicons_(collaborators.favicons),
      webFeatures_(collaborators.webFeatures),
      delayTestPanel_(std::move(collaborators.delayTestPanel)) {
    if (hasAnyEffectEnabled()) {
        engine_.startMonitoring();
    }
    std::vector<std::string> sites;
    for (const auto& site : siteTargets()) {
        sites.push_back(site.targetIdentifier);
    }
    favicons_.prefetchFavicons(sites);
}

FrictionEffectsViewModel::~FrictionEffectsViewModel() {
    stopTests();
}

std::vector<RedListConfig> FrictionEffectsViewModel::appTargets() const {
    return ofType(redListConfigs(), FrictionTargetType::app);
}

std::vector<RedListConfig> FrictionEffectsViewModel::siteTargets() const {
    return ofType(redListConfigs(), FrictionTargetType::website);
}

bool FrictionEffectsViewModel::hasAnyEffectEnabled() const {
    const auto& targets = redListConfigs();
    return std::any_of(targets.begin(), targets.end(),
                       [](const RedListConfig& target) { return target.hasAnyEffect(); });
}

std::optional<RedListConfig> FrictionEffectsViewModel::target(const Uuid& id) const {
    const auto& targets = redListConfigs();
    const auto found = std::find_if(targets.begin(), targets.end(),
                                    [&id](const RedListConfig& target) { return target.id == id; });
    if (found == targets.end()) {
        return std::nullopt;
    }
    return *found;
}

std::set<std::string> FrictionEffectsViewModel::existingBundleIDs() const {
    std::set<std::string> ids;
    for (const auto& app : appTargets()) {
        ids.insert(app.targetIdentifier);
    }
    return ids;
}

void FrictionEffectsViewModel::testFog() {
    if (isFogTesting()) {
        return;
    }
    isFogTesting.set(true);
    testRemainingSeconds.set(kTestSeconds);
    engine_.deactivateEffectForClosedApp();
    engine_.testFogOnOwnWindow();
    startCountdown(EffectTest::fog);
    frictionLogger().logUserAction("Test Buée démarré (5s)");
}

void FrictionEffectsViewModel::testTurtle() {
    if (isTurtleTesting()) {
        return;
    }
    if (!engine_.activateTurtle(TurtleIntensity::medium, true)) {
        frictionLogger().error("Test Tortue: échec d'activation (permissions ou CGEventTap)");
        return;
    }
    isTurtleTesting.set(true);
    testRemainingSeconds.set(kTestSeconds);
    startCountdown(EffectTest::turtle);
    frictionLogger().logUserAction("Test Tortue démarré (5s)");
}

void FrictionEffectsViewModel::testDelay() {
    if (isDelayTesting()) {
        return;
    }
    isDelayTesting.set(true);
    testRemainingSeconds.set(kTestSeconds);
    showDelayPanel();
    startCountdown(EffectTest::delay);
    frictionLogger().logUserAction("Test Délai démarré (5s)");
}

void FrictionEffectsViewModel::stopTests() {
    testTimer_.cancel();
    runningTests_.clear();
    testRemainingSeconds.set(0);
    if (isFogTesting()) {
        isFogTesting.set(false);
        engine_.deactivateAllEffects();
        engine_.reevaluateCurrentApp();
        frictionLogger().logUserAction("Test Buée annulé");
    }
    if (isTurtleTesting()) {
        isTurtleTesting.set(false);
        engine_.deactivateTurtle();
        frictionLogger().logUserAction("Test Tortue annulé");
    }
    if (isDelayTesting()) {
        isDelayTesting.set(false);
        closeDelayPanel();
        frictionLogger().logUserAction("Test Délai annulé");
    }
}

// One countdown for every running test: a new test restarts it, and its end ends them all.
void FrictionEffectsViewModel::startCountdown(EffectTest test) {
    runningTests_.push_back(test);
    testTimer_ = loop_.every(platform::seconds(1.0), [this] { countdownTick(); });
}

void FrictionEffectsViewModel::countdownTick() {
    if (testRemainingSeconds() >= 1) {
        testRemainingSeconds.set(testRemainingSeconds() - 1);
        return;
    }
    testTimer_.cancel();
    for (const EffectTest test : std::exchange(runningTests_, {})) {
        endTest(test);
    }
}

void FrictionEffectsViewModel::endTest(EffectTest test) {
    switch (test) {
        case EffectTest::fog:
            isFogTesting.set(false);
            engine_.deactivateAllEffects();
            engine_.reevaluateCurrentApp();
            break;
        case EffectTest::turtle:
            isTurtleTesting.set(false);
            engine_.deactivateTurtle();
            break;
        case EffectTest::delay:
            isDelayTesting.set(false);
            closeDelayPanel();
            break;
    }
}

std::int64_t FrictionEffectsViewModel::panelSeconds() const {
    return std::max<std::int64_t>(0, testRemainingSeconds() - kPanelHeadStart);
}

void FrictionEffectsViewModel::showDelayPanel() {
    // Both buttons cancel the tests; the panel goes with this model, and its actions with it.
    const auto cancel = [this] { stopTests(); };
    if (!delayTestPanel_ || !delayTestPanel_->show(panelSeconds(), cancel, cancel)) {
        frictionLogger().error("Test Délai: fenêtre OlvaneMac non trouvée");
        return;
    }
    delayPanelShown_ = true;
    delayCountdownTimer_ =
        loop_.every(platform::seconds(kPanelRefreshSeconds), [this] { refreshDelayPanel(); });
}

void FrictionEffectsViewModel::refreshDelayPanel() {
    if (!isDelayTesting()) {
        delayCountdownTimer_.cancel();
        return;
    }
    if (delayPanelShown_) {
        delayTestPanel_->update(panelSeconds());
    }
}

void FrictionEffectsViewModel::closeDelayPanel() {
    delayCountdownTimer_.cancel();
    if (std::exchange(delayPanelShown_, false)) {
        delayTestPanel_->close();
    }
}

void FrictionEffectsViewModel::storeTargets(std::vector<RedListConfig> targets) {
    settings_.settings().redListConfigs = targets;
    settings_.saveSettings(false);
    redListConfigs.set(std::move(targets));
}

void FrictionEffectsViewModel::addApp(const std::string& bundleID, const std::string& displayName) {
    if (contains(redListConfigs(), FrictionTargetType::app, bundleID)) {
        frictionLogger().error("App déjà dans la section Cibles: %s", bundleID);
        return;
    }
    auto targets = redListConfigs();
    targets.push_back(newTarget(FrictionTargetType::app, bundleID, displayName));
    storeTargets(std::move(targets));
    frictionLogger().logUserAction("App ajoutée à la section Cibles: " +
                                   platform::userData(displayName));
}

void FrictionEffectsViewModel::addSite(const std::string& typed) {
    const std::string entry = SiteNormalizer::normalize(typed);
    // A text without a host would be a target that matches nothing and is never exported.
    if (!SiteNormalizer::hasHost(entry)) {
        return;
    }
    if (contains(redListConfigs(), FrictionTargetType::website, entry)) {
        frictionLogger().error("Site déjà dans la section Cibles: %s", entry);
        return;
    }
    auto targets = redListConfigs();
    targets.push_back(newTarget(FrictionTargetType::website, entry, entry));
    storeTargets(std::move(targets));
    syncRedListToExtension(siteTargets());
    // Starts the download when the icon is in neither cache.
    (void)favicons_.cachedFavicon(entry);
    frictionLogger().logUserAction("Site ajouté à la section Cibles (sheet): " +
                                   platform::userData(entry));
    webFeatures_.featureUsed(WebFeatureCategory::contrepoids);
}

void FrictionEffectsViewModel::updateConfig(const RedListConfig& config) {
    auto targets = redListConfigs();
    const auto found =
        std::find_if(targets.begin(), targets.end(),
                     [&config](const RedListConfig& target) { return target.id == config.id; });
    if (found == targets.end()) {
        return;
    }
    *found = config;
    storeTargets(std::move(targets));
    if (config.targetType == FrictionTargetType::website) {
        syncRedListToExtension(siteTargets());
    }
    if (hasAnyEffectEnabled()) {
        if (!engine_.isMonitoring()) {
            engine_.startMonitoring();
        }
        engine_.reevaluateCurrentApp();
    } else {
        engine_.stopMonitoring();
    }
    frictionLogger().logUserAction("Config mise à jour: " +
                                   platform::userData(config.targetDisplayName));
}

void FrictionEffectsViewModel::removeTarget(const Uuid& id) {
    const auto removed = target(id);
    if (!removed) {
        return;
    }
    auto targets = redListConfigs();
    std::erase_if(targets, [&id](const RedListConfig& target) { return target.id == id; });
    storeTargets(std::move(targets));
    if (removed->targetType == FrictionTargetType::website) {
        syncRedListToExtension(siteTargets());
    }
    frictionLogger().logUserAction("Supprimé de la section Cibles: " +
                                   platform::userData(removed->targetDisplayName));
    if (hasAnyEffectEnabled()) {
        engine_.reevaluateCurrentApp();
    } else {
        engine_.stopMonitoring();
    }
}

void FrictionEffectsViewModel::syncRedListToExtension(
    const std::vector<RedListConfig>& targets) const {
    rulesFile_.updateRules(exchange::kRedListSection, RedListExport::section(targets));
}

}  // namespace olvane::ui
