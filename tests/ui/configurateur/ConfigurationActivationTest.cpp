#include <gtest/gtest.h>

#include <memory>

#include "model/RulesFileService.h"
#include "model/SettingsManager.h"
#include "platform/FileIO.h"
#include "platform/sim/CaptureLogSink.h"
#include "platform/sim/ManualRunLoop.h"
#include "platform/sim/MemoryKeyValueStore.h"
#include "support/TempHome.h"
#include "ui/configurateur/ConfigurateurViewModel.h"
#include "ui/configurateur/RecordingCollaborators.h"
#include "ui/configurateur/RulesFilePublisher.h"
#include "ui/configurateur/SettingsManagerStore.h"

namespace olvane {
namespace {

using platform::sim::ScopedLogCapture;
using Calls = std::vector<std::string>;

RedListConfig stored(FrictionTargetType type, std::string identifier, IntensityLevel level) {
    RedListConfig config;
    config.id = Uuid::random();
    config.targetType = type;
    config.targetIdentifier = identifier;
    config.targetDisplayName = std::move(identifier);
    return withLevelEffects(std::move(config), level);
}

class ConfigurationActivationTest : public ::testing::Test {
  protected:
    // The wizard is shown on its page.
    void SetUp() override {
        fakes.appState.selectedNavigationItem.set(NavigationItem::configurateur);
        fakes.calls.clear();
    }

    // A fresh run of the wizard over `settings`.
    ConfigurateurViewModel& reopen(UserSettings settings = {}) {
        fakes.current = std::move(settings);
        fakes.monitoring = false;
        fakes.calls.clear();
        return open();
    }

    ConfigurateurViewModel& open() {
        model = std::make_unique<ConfigurateurViewModel>(fakes.collaborators());
        return *model;
    }

    test::RecordingCollaborators fakes;
    std::unique_ptr<ConfigurateurViewModel> model;
};

TEST_F(ConfigurationActivationTest, WithoutChangesEverythingIsStillWrittenAndApplied) {
    ScopedLogCapture log;
    auto& wizard = open();
    wizard.activateConfiguration();
    EXPECT_EQ(fakes.calls, (Calls{"saveSettings", "exportContentRules", "exportWebsiteTargets 0",
                                  "grayscale.disable", "grayscale.publishAllowedSites",
                                  "monitoring.stop", "page accueil"}));
    EXPECT_TRUE(wizard.isActivated());
    EXPECT_EQ(fakes.firstSaved, UserSettings{});
    EXPECT_EQ(log->texts("Settings").back(),
              "Configurateur activé : 0 cibles Contrepoids, Monochrome=false");

    fakes.calls.clear();
    wizard.activateConfiguration();
    EXPECT_TRUE(fakes.calls.empty());
    EXPECT_EQ(log->count("Configurateur activé : 0 cibles Contrepoids, Monochrome=false"), 1u);
}

TEST_F(ConfigurationActivationTest, AnythingOnlyABrowserExtensionCanDoLeadsToItsScreen) {
    const std::vector<std::pair<std::string, std::function<void(ConfigurateurViewModel&)>>> cases =
        {
            {"a website target",
             [](auto& wizard) {
                 wizard.addTarget(FrictionTargetType::website, "site.test", "site.test");
             }},
            {"an enabled rule",
             [](auto& wizard) { wizard.setRule(Platform::facebook, "fb_feed", true); }},
            {"an exempt site with grayscale wanted",
             [](auto& wizard) {
                 wizard.wantsGrayscaleEnabled.set(true);
                 wizard.addGrayscaleAllowedSite("site.test");
             }},
        };
    for (const auto& [name, change] : cases) {
        auto& wizard = reopen();
        change(wizard);
        wizard.goNext();
        wizard.activateConfiguration();
        EXPECT_EQ(wizard.currentScreenIndex(), 13) << name;
        EXPECT_EQ(wizard.navigationHistory(), (std::vector<int>{1, 2, 13})) << name;
        EXPECT_NE(fakes.calls.back(), "page accueil") << name;
    }

    auto& wizard = reopen();
    wizard.wantsGrayscaleEnabled.set(true);
    wizard.addGrayscaleAllowedApp("org.example.app");
    wizard.addGrayscaleAllowedSite("site.test");
    wizard.grayscaleAllowedSitesDraft.set({});
    wizard.activateConfiguration();
    EXPECT_EQ(fakes.calls, (Calls{"saveSettings", "exportContentRules", "exportWebsiteTargets 0",
                                  "grayscale.enable", "grayscale.publishAllowedSites",
                                  "monitoring.stop", "page accueil"}));
}

TEST_F(ConfigurationActivationTest, TargetsKeepTheirValuesUnlessTheirLevelChanged) {
    RedListConfig intense =
        stored(FrictionTargetType::app, "org.example.kept", IntensityLevel::equilibre);
    intense.fogIntensity = FogIntensity::intense;
    intense.customFogOpacity = 0.8;
    intense.isTurtleEnabled = false;
    const RedListConfig serieux =
        stored(FrictionTargetType::website, "site.test", IntensityLevel::serieux);
    const RedListConfig removed =
        stored(FrictionTargetType::app, "org.example.removed", IntensityLevel::doux);
    fakes.current.redListConfigs = {intense, serieux, removed};
    fakes.current.launchAtLogin = true;
    fakes.monitoring = true;

    auto& wizard = open();
    EXPECT_EQ(wizard.redListTargetsDraft()[0].intensityLevel, IntensityLevel::equilibre);
    wizard.setIntensity(IntensityLevel::doux, serieux.id);
    wizard.removeTarget(removed.id);
    wizard.addTarget(FrictionTargetType::app, "org.example.new", "Nouvelle");
    ScopedLogCapture log;
    wizard.activateConfiguration();

    ASSERT_TRUE(fakes.firstSaved);
    const auto& targets = fakes.firstSaved->redListConfigs;
    ASSERT_EQ(targets.size(), 3u);
    EXPECT_EQ(targets[0], intense);
    RedListConfig doux = withLevelEffects(serieux, IntensityLevel::doux);
    EXPECT_NE(targets[1].id, serieux.id);
    doux.id = targets[1].id;
    EXPECT_EQ(targets[1], doux);
    EXPECT_EQ(targets[1].delayDuration.seconds(), 10);
    EXPECT_EQ(targets[2].targetDisplayName, "Nouvelle");
    EXPECT_EQ(intensityLevel(targets[2]), IntensityLevel::equilibre);
    EXPECT_TRUE(targets[2].isFogEnabled && targets[2].isTurtleEnabled && targets[2].isDelayEnabled);
    EXPECT_TRUE(fakes.firstSaved->launchAtLogin);
    EXPECT_EQ(fakes.exportedTargets, std::vector<RedListConfig>{targets[1]});
    EXPECT_EQ(wizard.initialSnapshot().redListConfigs.size(), 3u);

    // Monitoring already ran: the application in front is judged again, not left as it was.
    EXPECT_EQ(Calls(fakes.calls.end() - 2, fakes.calls.end()),
              (Calls{"grayscale.publishAllowedSites", "monitoring.reevaluate"}));
    EXPECT_TRUE(log->contains("Configurateur activé : 3 cibles Contrepoids, Monochrome=false"));
}

TEST_F(ConfigurationActivationTest, AFailingSaveStopsNothing) {
    fakes.current.redListConfigs = {
        stored(FrictionTargetType::app, "org.example.app", IntensityLevel::doux)};
    fakes.saveFails = true;
    open().activateConfiguration();
    EXPECT_EQ(fakes.calls, (Calls{"saveSettings", "exportContentRules", "exportWebsiteTargets 0",
                                  "grayscale.disable", "grayscale.publishAllowedSites",
                                  "monitoring.start", "monitoring.reevaluate", "page accueil"}));
}

TEST(ConfigurationActivation, WritesTheStoreAndTheRulesFile) {
    test::TempHome home;
    const auto paths = home.paths();
    platform::sim::ManualRunLoop loop;
    platform::sim::MemoryKeyValueStore defaults;
    {
        SettingsManager first(defaults, loop.clock());
        first.settings().showMenuBarIcon = false;
        first.settings().onboardingCompleted = true;
        ASSERT_TRUE(first.saveSettings(false));
    }
    SettingsManager manager(defaults, loop.clock());
    RulesFileService rulesFile(paths);
    ASSERT_TRUE(platform::writeFileAtomically(rulesFile.rulesFile(), R"({"_futur": {"a": 1}})"));
    SettingsManagerStore store(manager);
    RulesFilePublisher publisher(rulesFile);
    test::RecordingCollaborators fakes;

    ScopedLogCapture log;
    ConfigurateurViewModel wizard({store, publisher, fakes, fakes, fakes.appState});
    wizard.wantsGrayscaleEnabled.set(true);
    wizard.addGrayscaleAllowedSite("www.News.test");
    wizard.addTarget(FrictionTargetType::website, "video.test", "video.test");
    wizard.addTarget(FrictionTargetType::app, "org.example.app", "App");
    wizard.setRule(Platform::youtube, "yt_shorts", true);
    wizard.activateConfiguration();

    SettingsManager reloaded(defaults, loop.clock());
    auto expected = UserSettings{};
    expected.showMenuBarIcon = false;
    expected.onboardingCompleted = true;
    expected.userWantsGrayscaleEnabled = true;
    expected.grayscaleAllowedSites = {"news.test"};
    expected.redListConfigs = manager.settings().redListConfigs;
    expected.contentFilterRules = wizard.contentFilterRulesDraft();
    EXPECT_EQ(reloaded.settings(), expected);
    ASSERT_EQ(expected.redListConfigs.size(), 2u);
    EXPECT_EQ(expected.redListConfigs[0].targetIdentifier, "video.test");

    const auto rules = json::parse(*platform::readWholeFile(rulesFile.rulesFile()));
    ASSERT_TRUE(rules);
    EXPECT_EQ(rules->at("youtube"), (Json{{"yt_shorts", true}}));
    EXPECT_EQ(rules->at("_redList").at("sites").size(), 1u);
    EXPECT_EQ(rules->at("_redList").at("sites")[0].at("domain"), "video.test");
    EXPECT_EQ(rules->at("_futur"), (Json{{"a", 1}}));
    EXPECT_EQ(platform::readWholeFile(rulesFile.sharedRulesFile()),
              platform::readWholeFile(rulesFile.rulesFile()));
    EXPECT_TRUE(log->contains("ConfigurateurViewModel initialisé — isFreshConfig: true"));
    EXPECT_TRUE(log->contains("Configurateur activé : 2 cibles Contrepoids, Monochrome=true"));
}

}  // namespace
}  // namespace olvane
