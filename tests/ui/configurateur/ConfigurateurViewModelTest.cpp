#include <gtest/gtest.h>

#include <memory>

#include "platform/sim/CaptureLogSink.h"
#include "ui/configurateur/ConfigurateurViewModel.h"
#include "ui/configurateur/RecordingCollaborators.h"

namespace olvane {
namespace {

using platform::LogLevel;
using platform::sim::ScopedLogCapture;

RedListConfig storedTarget(FrictionTargetType type, std::string identifier, FogIntensity fog,
                           TurtleIntensity turtle, DelayDuration delay) {
    RedListConfig config;
    config.id = Uuid::random();
    config.targetType = type;
    config.targetIdentifier = identifier;
    config.targetDisplayName = std::move(identifier);
    config.fogIntensity = fog;
    config.turtleIntensity = turtle;
    config.delayDuration = delay;
    return config;
}

RedListConfig serieuxApp(std::string identifier) {
    return storedTarget(FrictionTargetType::app, std::move(identifier), FogIntensity::strong,
                        TurtleIntensity::strong, DelayDuration::preset1min());
}

class ConfigurateurViewModelTest : public ::testing::Test {
  protected:
    // A model over the settings as they stand now.
    ConfigurateurViewModel& open() {
        model = std::make_unique<ConfigurateurViewModel>(fakes.collaborators());
        return *model;
    }

    std::vector<int> walk(std::vector<int> moves) {
        for (const int move : moves) {
            move > 0 ? model->goNext() : model->goBack();
        }
        return model->navigationHistory();
    }

    bool isEnabled(Platform platform, const std::string& ruleID) const {
        for (const auto& set : model->contentFilterRulesDraft()) {
            if (set.platform == platform) {
                for (const auto& rule : set.rules) {
                    if (rule.id == ruleID) {
                        return rule.isEnabled;
                    }
                }
            }
        }
        return false;
    }

    test::RecordingCollaborators fakes;
    std::unique_ptr<ConfigurateurViewModel> model;
};

TEST_F(ConfigurateurViewModelTest, StartsFromTheSettingsAndSaysWhetherTheyAreFresh) {
    {
        ScopedLogCapture log;
        auto& fresh = open();
        EXPECT_EQ(fresh.currentScreenIndex(), 1);
        EXPECT_EQ(fresh.navigationHistory(), std::vector<int>{1});
        EXPECT_FALSE(fresh.hasChanges());
        EXPECT_EQ(log->texts("Settings"),
                  std::vector<std::string>{"ConfigurateurViewModel initialisé — isFreshConfig: "
                                           "true"});
        EXPECT_EQ(log->lines().front().redacted,
                  "ConfigurateurViewModel initialisé — isFreshConfig: <private>");
    }
    RedListConfig site = storedTarget(FrictionTargetType::website, "site.test", FogIntensity::light,
                                      TurtleIntensity::light, DelayDuration::preset10s());
    fakes.current.redListConfigs = {serieuxApp("org.example.app"), site};
    fakes.current.grayscaleAllowedSites = {"news.test"};
    ScopedLogCapture log;
    auto& configured = open();
    EXPECT_TRUE(log->contains("ConfigurateurViewModel initialisé — isFreshConfig: false"));
    ASSERT_EQ(configured.redListTargetsDraft().size(), 2u);
    EXPECT_EQ(configured.redListTargetsDraft()[1],
              (ContrepoidsTargetDraft{site.id, FrictionTargetType::website, "site.test",
                                      "site.test", IntensityLevel::doux}));
    EXPECT_EQ(configured.appTargets().front().intensityLevel, IntensityLevel::serieux);
    EXPECT_EQ(configured.websiteTargets().size(), 1u);
    EXPECT_EQ(configured.grayscaleAllowedSitesDraft(), std::vector<std::string>{"news.test"});
    EXPECT_FALSE(configured.hasChanges());
}

TEST_F(ConfigurateurViewModelTest, ScreenOrderFollowsTheWishAndTheTargets) {
    auto& wizard = open();
    const std::vector<std::pair<int, int>> withoutWishOrTargets = {
        {1, 2},  {2, 5},   {3, 4},   {4, 5},   {5, 6},   {6, 8}, {7, 8},   {8, 9},
        {9, 10}, {10, 11}, {11, 12}, {12, 13}, {13, 13}, {0, 0}, {-4, -4}, {14, 14}};
    for (const auto& [from, to] : withoutWishOrTargets) {
        EXPECT_EQ(wizard.nextScreen(from), to) << from;
    }
    wizard.wantsGrayscaleEnabled.set(true);
    wizard.addTarget(FrictionTargetType::app, "org.example.app", "App");
    EXPECT_EQ(wizard.nextScreen(2), 3);
    EXPECT_EQ(wizard.nextScreen(6), 7);
}

TEST_F(ConfigurateurViewModelTest, BackRetracesTheScreensActuallyVisited) {
    ScopedLogCapture log;
    auto& wizard = open();
    wizard.goBack();
    EXPECT_EQ(wizard.navigationHistory(), std::vector<int>{1});
    EXPECT_TRUE(log->texts("Settings").size() == 1) << "goBack on screen 1 logs nothing";

    EXPECT_EQ(walk({+1, +1, -1}), (std::vector<int>{1, 2}));
    EXPECT_EQ(wizard.currentScreenIndex(), 2);
    EXPECT_EQ(walk({+1, +1, +1}), (std::vector<int>{1, 2, 5, 6, 8}));
    EXPECT_EQ(walk({-1, -1, -1}), (std::vector<int>{1, 2}));
    wizard.addTarget(FrictionTargetType::app, "org.example.app", "App");
    EXPECT_EQ(walk({+1, +1, +1}), (std::vector<int>{1, 2, 5, 6, 7}));
    EXPECT_EQ(wizard.currentScreenIndex(), 7);
    EXPECT_TRUE(log->contains("Settings", LogLevel::Debug, "Configurateur: écran → 5"));
    EXPECT_TRUE(log->contains("Settings", LogLevel::Debug, "Configurateur: écran ← 2"));
}

TEST_F(ConfigurateurViewModelTest, AMoveAskedWhileTheFirstIsAnnouncedIsTurnedAway) {
    auto& wizard = open();
    std::vector<int> announced;
    auto observer = wizard.currentScreenIndex.observe([&](int screen) {
        announced.push_back(screen);
        wizard.goNext();
    });
    wizard.goNext();
    EXPECT_EQ(announced, std::vector<int>{2});
    EXPECT_EQ(wizard.navigationHistory(), (std::vector<int>{1, 2}));
    wizard.goNext();
    EXPECT_EQ(wizard.currentScreenIndex(), 5);
}

TEST_F(ConfigurateurViewModelTest, SitesAndTargetsAreAddedOnce) {
    auto& wizard = open();
    for (const auto* typed : {"  HTTPS://www.News.test/Politique/x?y", "news.test/politique", "",
                              "   ", "https://", "=", "=https://"}) {
        wizard.addGrayscaleAllowedSite(typed);
    }
    EXPECT_EQ(wizard.grayscaleAllowedSitesDraft(), std::vector<std::string>{"news.test/politique"});
    wizard.addGrayscaleAllowedApp("org.example.app");
    wizard.addGrayscaleAllowedApp("org.example.app");
    EXPECT_EQ(wizard.grayscaleAllowedAppsDraft().size(), 1u);

    wizard.addTarget(FrictionTargetType::app, "site.test", "App");
    wizard.addTarget(FrictionTargetType::app, "site.test", "Autre nom");
    wizard.addTarget(FrictionTargetType::website, "site.test", "site.test");
    wizard.addTarget(FrictionTargetType::website, "Site.test", "Site.test");
    wizard.addTarget(FrictionTargetType::website, "https://", "https://");
    wizard.addTarget(FrictionTargetType::website, "=", "=");
    const auto& targets = wizard.redListTargetsDraft();
    ASSERT_EQ(targets.size(), 3u);
    EXPECT_EQ(targets[0].targetDisplayName, "App");
    EXPECT_EQ(targets[0].intensityLevel, IntensityLevel::equilibre);
    EXPECT_NE(targets[1].id, targets[0].id);

    const Uuid second = targets[1].id;
    wizard.setIntensity(IntensityLevel::doux, second);
    wizard.setIntensity(IntensityLevel::serieux, Uuid::random());
    EXPECT_EQ(wizard.redListTargetsDraft()[1].intensityLevel, IntensityLevel::doux);
    wizard.removeTarget(second);
    EXPECT_EQ(wizard.websiteTargets().size(), 1u);
}

TEST_F(ConfigurateurViewModelTest, LinkedInFeedRulesExcludeEachOtherOnlyOnLinkedIn) {
    fakes.current.contentFilterRules = {
        {Platform::youtube, false, {{"linkedin_limit", false}, {"linkedin_feed", true}}},
        {Platform::linkedin,
         false,
         {{"linkedin_limit", false}, {"linkedin_feed", false}, {"linkedin_news", false}}},
    };
    auto& wizard = open();
    wizard.setRule(Platform::linkedin, "linkedin_feed", true);
    wizard.setRule(Platform::linkedin, "linkedin_limit", true);
    EXPECT_TRUE(isEnabled(Platform::linkedin, "linkedin_limit"));
    EXPECT_FALSE(isEnabled(Platform::linkedin, "linkedin_feed"));
    wizard.setRule(Platform::linkedin, "linkedin_limit", false);
    EXPECT_FALSE(isEnabled(Platform::linkedin, "linkedin_feed"));
    wizard.setRule(Platform::linkedin, "linkedin_feed", true);
    wizard.setRule(Platform::linkedin, "linkedin_news", true);
    EXPECT_TRUE(isEnabled(Platform::linkedin, "linkedin_feed"));

    wizard.setRule(Platform::youtube, "linkedin_limit", true);
    EXPECT_TRUE(isEnabled(Platform::youtube, "linkedin_feed"));
    wizard.setRule(Platform::facebook, "fb_feed", true);
    wizard.setRule(Platform::linkedin, "unknown_rule", true);
    EXPECT_EQ(wizard.contentFilterRulesDraft().size(), 2u);
    EXPECT_FALSE(wizard.contentFilterRulesDraft()[1].isEnabled);
}

TEST_F(ConfigurateurViewModelTest, ChangesAreWhatTheUserCouldSee) {
    const RedListConfig app = serieuxApp("org.example.app");
    RedListConfig intense = serieuxApp("org.example.other");
    intense.fogIntensity = FogIntensity::intense;
    fakes.current.redListConfigs = {app, intense};
    fakes.current.grayscaleAllowedApps = {"a", "b"};
    fakes.current.contentFilterRules = {{Platform::youtube, false, {{"yt_shorts", true}}}};
    auto& wizard = open();

    wizard.setIntensity(IntensityLevel::doux, app.id);
    EXPECT_TRUE(wizard.hasChanges());
    wizard.setIntensity(IntensityLevel::serieux, app.id);
    EXPECT_FALSE(wizard.hasChanges());

    wizard.grayscaleAllowedAppsDraft.set({"b", "a", "b"});
    auto targets = wizard.redListTargetsDraft();
    std::swap(targets[0], targets[1]);
    targets[0].targetDisplayName = "Renamed";
    wizard.redListTargetsDraft.set(targets);
    EXPECT_FALSE(wizard.hasChanges()) << "order, repetitions and names";

    wizard.removeTarget(app.id);
    EXPECT_TRUE(wizard.hasChanges());
    wizard.addTarget(FrictionTargetType::app, "org.example.app", "App");
    wizard.setIntensity(IntensityLevel::serieux, wizard.redListTargetsDraft().back().id);
    EXPECT_FALSE(wizard.hasChanges()) << "removed and added again at its level";

    wizard.contentFilterRulesDraft.set({{Platform::youtube, true, {{"yt_new", false}}}});
    EXPECT_FALSE(wizard.hasChanges()) << "platform switch and a new rule off";
    wizard.setRule(Platform::youtube, "yt_new", true);
    EXPECT_TRUE(wizard.hasChanges());
    wizard.contentFilterRulesDraft.set({{Platform::youtube, false, {{"yt_shorts", false}}}});
    EXPECT_TRUE(wizard.hasChanges());
    wizard.contentFilterRulesDraft.set({});
    EXPECT_FALSE(wizard.hasChanges());
    wizard.contentFilterRulesDraft.set({{Platform::facebook, false, {}}});
    EXPECT_TRUE(wizard.hasChanges()) << "a platform the snapshot lacks";
    wizard.contentFilterRulesDraft.set({});

    wizard.addGrayscaleAllowedSite("site.test");
    EXPECT_TRUE(wizard.hasChanges());
    wizard.removeGrayscaleAllowedSite("site.test");
    wizard.wantsGrayscaleEnabled.set(true);
    EXPECT_TRUE(wizard.hasChanges());
}

}  // namespace
}  // namespace olvane
