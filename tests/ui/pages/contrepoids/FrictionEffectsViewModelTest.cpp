// The Contrepoids page's model without widgets: its five-second tests on the manual loop over
// recording stand-ins of the effects, and its targets over the settings and the real rules file.
#include <gtest/gtest.h>

#include "model/exchange/RulesFileFormat.h"
#include "platform/sim/CaptureLogSink.h"
#include "ui/pages/contrepoids/ContrepoidsFixture.h"

namespace olvane::test {
namespace {

using platform::LogLevel;
using platform::sim::ScopedLogCapture;
using Calls = std::vector<std::string>;

class FrictionEffectsViewModelTest : public ContrepoidsFixture {
  protected:
    FrictionEffectsViewModelTest() : model(makeModel()) {}

    // The calls made since the last look.
    Calls newCalls() {
        Calls calls(engine.calls.begin() + static_cast<std::ptrdiff_t>(seen), engine.calls.end());
        seen = engine.calls.size();
        return calls;
    }

    std::unique_ptr<ui::FrictionEffectsViewModel> model;
    std::size_t seen = 0;
};

TEST_F(FrictionEffectsViewModelTest, AFogTestCountsFiveDownAndEndsAtTheSixthTick) {
    ScopedLogCapture capture;
    model->testFog();
    EXPECT_EQ(newCalls(), (Calls{"deactivateEffectForClosedApp", "testFogOnOwnWindow"}));
    EXPECT_TRUE(capture->contains("👆 Test Buée démarré (5s)"));
    model->testFog();
    EXPECT_TRUE(newCalls().empty()) << "a running test is not started again";

    std::vector<std::int64_t> shown{model->testRemainingSeconds()};
    for (int tick = 0; tick < 5; ++tick) {
        loop.advanceSeconds(1);
        shown.push_back(model->testRemainingSeconds());
    }
    EXPECT_EQ(shown, (std::vector<std::int64_t>{5, 4, 3, 2, 1, 0}));
    EXPECT_TRUE(model->isFogTesting());
    loop.advanceSeconds(1);
    EXPECT_FALSE(model->isFogTesting());
    EXPECT_FALSE(model->isCountingDown());
    EXPECT_EQ(newCalls(), (Calls{"deactivateAllEffects", "reevaluateCurrentApp"}));
}

TEST_F(FrictionEffectsViewModelTest, FogThenDelayBothEndWhenTheCountEnds) {
    model->testFog();
    loop.advanceSeconds(2);
    model->testDelay();
    EXPECT_EQ(model->testRemainingSeconds(), 5);
    EXPECT_TRUE(delayPanel->shown);
    // The panel runs two seconds ahead of the count, down to 0.
    loop.advanceSeconds(5.5);
    EXPECT_EQ(delayPanel->counts, (std::vector<std::int64_t>{3, 2, 1, 0}));
    EXPECT_TRUE(model->isFogTesting());
    EXPECT_TRUE(model->isDelayTesting());
    newCalls();
    loop.advanceSeconds(0.5);
    EXPECT_FALSE(model->isFogTesting());
    EXPECT_FALSE(model->isDelayTesting());
    EXPECT_FALSE(delayPanel->shown);
    EXPECT_EQ(newCalls(), (Calls{"deactivateAllEffects", "reevaluateCurrentApp"}));
    EXPECT_FALSE(model->isShowingDelayTestPanel());
}

TEST_F(FrictionEffectsViewModelTest, CancellingEndsEveryRunningTestFogTurtleThenDelay) {
    {
        ScopedLogCapture capture;
        model->stopTests();
        EXPECT_TRUE(capture->lines().empty()) << "nothing runs: nothing is logged";
    }
    model->testDelay();
    model->testTurtle();
    model->testFog();
    newCalls();
    ScopedLogCapture capture;
    // The panel's own button cancels too.
    delayPanel->onContinue();
    EXPECT_FALSE(model->isFogTesting() || model->isTurtleTesting() || model->isDelayTesting());
    EXPECT_EQ(model->testRemainingSeconds(), 0);
    EXPECT_FALSE(delayPanel->shown);
    EXPECT_EQ(newCalls(),
              (Calls{"deactivateAllEffects", "reevaluateCurrentApp", "deactivateTurtle"}));
    for (const char* line : {"👆 Test Buée annulé", "👆 Test Tortue annulé", "👆 Test Délai annulé"}) {
        EXPECT_TRUE(capture->contains(line)) << line;
    }
    loop.advanceSeconds(10);
    EXPECT_TRUE(newCalls().empty());
}

TEST_F(FrictionEffectsViewModelTest, ATurtleThatCannotStartChangesNothing) {
    engine.turtleAllowed = false;
    ScopedLogCapture capture;
    model->testTurtle();
    EXPECT_EQ(newCalls(), (Calls{"activateTurtle medium test"}));
    EXPECT_TRUE(capture->contains("FrictionEffects", LogLevel::Error,
                                  "Test Tortue: échec d'activation (permissions ou CGEventTap)"));
    EXPECT_FALSE(model->isTurtleTesting());
    EXPECT_FALSE(model->isCountingDown());
    EXPECT_EQ(model->testRemainingSeconds(), 0);
}

TEST_F(FrictionEffectsViewModelTest, ADelayTestWithoutAWindowStillCountsDown) {
    delayPanel->hasWindow = false;
    ScopedLogCapture capture;
    model->testDelay();
    EXPECT_TRUE(capture->contains("FrictionEffects", LogLevel::Error,
                                  "Test Délai: fenêtre OlvaneMac non trouvée"));
    EXPECT_TRUE(model->isDelayTesting());
    loop.advanceSeconds(6);
    EXPECT_FALSE(model->isDelayTesting());
}

TEST_F(FrictionEffectsViewModelTest, LeavingThePageDuringATestRemovesItsEffectAndPanel) {
    const std::vector<std::pair<void (ui::FrictionEffectsViewModel::*)(), Calls>> cases{
        {&ui::FrictionEffectsViewModel::testFog, {"deactivateAllEffects", "reevaluateCurrentApp"}},
        {&ui::FrictionEffectsViewModel::testTurtle, {"deactivateTurtle"}},
        {&ui::FrictionEffectsViewModel::testDelay, {}},
    };
    for (const auto& [start, removal] : cases) {
        model = makeModel();
        (model.get()->*start)();
        loop.advanceSeconds(2);
        newCalls();
        model.reset();
        EXPECT_EQ(newCalls(), removal);
        EXPECT_FALSE(delayPanel->shown);
        loop.advanceSeconds(10);
        EXPECT_TRUE(newCalls().empty()) << "no tick after the model is gone";
    }
}

TEST_F(FrictionEffectsViewModelTest, TargetsAreAddedOnceAndSitesOnlyWithAHost) {
    ScopedLogCapture capture;
    model->addApp("org.gnome.Calculator", "Calculatrice");
    model->addApp("org.gnome.Calculator", "Calculatrice");
    EXPECT_TRUE(capture->contains("FrictionEffects", LogLevel::Error,
                                  "App déjà dans la section Cibles: org.gnome.Calculator"));
    EXPECT_TRUE(capture->contains("👆 App ajoutée à la section Cibles: Calculatrice"));
    EXPECT_TRUE(redListSection().is_null()) << "an application is not exported";

    for (const char* hostless : {"", "   ", "=", "/abc", "https://", "=/x"}) {
        model->addSite(hostless);
    }
    EXPECT_EQ(model->siteTargets().size(), 0u);
    model->addSite("  HTTPS://WWW.YouTube.com/Shorts/abc ");
    model->addSite("youtube.com/shorts");
    EXPECT_TRUE(capture->contains("FrictionEffects", LogLevel::Error,
                                  "Site déjà dans la section Cibles: youtube.com/shorts"));
    model->addSite("org.gnome.Calculator");
    EXPECT_TRUE(
        capture->contains("👆 Site ajouté à la section Cibles (sheet): org.gnome.calculator"));

    ASSERT_EQ(model->redListConfigs().size(), 3u);
    EXPECT_EQ(model->appTargets().size(), 1u);
    const auto site = model->siteTargets().front();
    EXPECT_EQ(site.targetIdentifier, "youtube.com/shorts");
    EXPECT_EQ(site.targetDisplayName, "youtube.com/shorts");
    EXPECT_FALSE(site.hasAnyEffect());
    EXPECT_EQ(site.turtleIntensity, TurtleIntensity::medium);
    EXPECT_EQ(site.delayDuration, DelayDuration::preset30s());
    EXPECT_EQ(settings.settings().redListConfigs, model->redListConfigs());
    EXPECT_EQ(webFeatures.used,
              (std::vector<WebFeatureCategory>(2, WebFeatureCategory::contrepoids)));
    EXPECT_EQ(fetcher.requests.size(), 2u) << "each new site's icon is fetched";
    // Every website target is exported, effects or not, the most specific first.
    const Json sites = redListSection()["sites"];
    ASSERT_EQ(sites.size(), 2u);
    EXPECT_EQ(sites[0]["domain"], "youtube.com/shorts");
    EXPECT_EQ(sites[1]["domain"], "org.gnome.calculator");
    EXPECT_TRUE(engine.calls.empty()) << "adding a target changes no monitoring";
}

TEST_F(FrictionEffectsViewModelTest, UpdatesAndRemovalsSaveExportAndFollowTheEffects) {
    model->addApp("org.gnome.Calculator", "Calculatrice");
    model->addSite("youtube.com");
    auto app = model->appTargets().front();
    auto site = model->siteTargets().front();
    ASSERT_TRUE(rulesFile.writeRules(Json::object()).ok());

    app.isTurtleEnabled = true;
    model->updateConfig(app);
    EXPECT_EQ(newCalls(), (Calls{"startMonitoring", "reevaluateCurrentApp"}));
    EXPECT_TRUE(redListSection().is_null()) << "an application's change is not exported";

    site.isDelayEnabled = true;
    site.delayDuration = DelayDuration::custom(120);
    model->updateConfig(site);
    EXPECT_EQ(newCalls(), (Calls{"reevaluateCurrentApp"}));
    EXPECT_EQ(redListSection()["sites"][0]["delaySeconds"], 120);

    RedListConfig stranger = site;
    stranger.id = Uuid::random();
    model->updateConfig(stranger);
    model->removeTarget(Uuid::random());
    EXPECT_TRUE(newCalls().empty()) << "an unknown target is ignored";

    model->removeTarget(app.id);
    EXPECT_EQ(newCalls(), (Calls{"reevaluateCurrentApp"})) << "the site's delay is still on";
    model->removeTarget(site.id);
    EXPECT_EQ(newCalls(), (Calls{"stopMonitoring"}));
    EXPECT_TRUE(redListSection()["sites"].empty());
    EXPECT_TRUE(settings.settings().redListConfigs.empty());
}

TEST_F(FrictionEffectsViewModelTest, OpeningThePageStartsMonitoringAndFetchesTheSiteIcons) {
    settings.settings().redListConfigs = {makeTarget(FrictionTargetType::website, "a.test", true),
                                          makeTarget(FrictionTargetType::app, "org.b"),
                                          makeTarget(FrictionTargetType::website, "c.test")};
    engine.calls.clear();
    fetcher.requests.clear();
    model = makeModel();
    EXPECT_EQ(engine.calls, (Calls{"startMonitoring"}));
    EXPECT_EQ(fetcher.requests.size(), 2u);
    EXPECT_EQ(model->existingBundleIDs(), (std::set<std::string>{"org.b"}));
}

}  // namespace
}  // namespace olvane::test
