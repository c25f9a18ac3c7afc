#include <gtest/gtest.h>

#include "friction/TurtleEffectService.h"
#include "platform/sim/CaptureLogSink.h"
#include "platform/sim/ManualRunLoop.h"
#include "platform/sim/SimAccessibilityTrust.h"
#include "platform/sim/SimEventTap.h"
#include "platform/sim/SimKeyEventSource.h"

namespace olvane {
namespace {

using platform::KeyModifier;
using platform::LogLevel;
using platform::Point;
using platform::ScrollPost;
using platform::TapEventType;
using platform::TapVerdict;
using platform::sim::ScopedLogCapture;
using platform::sim::SimEventTap;

class TurtleEffectServiceTest : public ::testing::Test {
  protected:
    TurtleEffectServiceTest() {
        input.setDisplays({{0, 0, 1440, 900}});
        input.setCursor(Point{100, 100});
    }

    bool hasTurtle() const { return effects().contains(FrictionEffectType::turtle); }

    platform::sim::ManualRunLoop loop;
    SimEventTap input;
    platform::sim::SimKeyEventSource keys;
    platform::sim::SimAccessibilityTrust trust{true};
    std::vector<bool> permissionChecks;
    platform::Observable<ActiveEffects::Set> effects;
    TurtleEffectService turtle{{loop, input, keys, trust,
                                [this](bool prompt) {
                                    permissionChecks.push_back(prompt);
                                    return false;
                                },
                                ActiveEffects(effects)}};
};

TEST_F(TurtleEffectServiceTest, MediumSlowsEightPixelsToOneWarpAndPostedEvent) {
    ScopedLogCapture capture;
    ASSERT_TRUE(turtle.activate(TurtleIntensity::medium));
    EXPECT_TRUE(hasTurtle());
    EXPECT_TRUE(input.isTapEnabled());
    EXPECT_TRUE(capture->contains("FrictionEffects", LogLevel::Info,
                                  "Activation de l'effet Tortue (Moyenne)"));
    EXPECT_TRUE(capture->contains("Effet Tortue activé avec facteur ÷8"));

    for (int i = 0; i < 7; ++i) {
        EXPECT_EQ(input.move(1, 0), TapVerdict::swallow);
    }
    EXPECT_TRUE(input.warps().empty());
    EXPECT_EQ(input.move(1, 0, TapEventType::rightMouseDragged), TapVerdict::swallow);
    EXPECT_EQ(input.warps(), (std::vector<Point>{{101, 100}}));
    EXPECT_EQ(input.postedMouseEvents(),
              (std::vector<SimEventTap::PostedMouseEvent>{
                  {TapEventType::rightMouseDragged, {101, 100}, platform::MouseButton::right}}));

    // The pointer stops at the edge of the displays.
    input.setCursor(Point{1440, 900});
    EXPECT_EQ(input.move(80, 80), TapVerdict::swallow);
    EXPECT_EQ(input.warps().back(), (Point{1440, 900}));

    // Without a cursor position the event goes through as it came.
    input.setCursor(std::nullopt);
    EXPECT_EQ(input.move(16, 0), TapVerdict::pass);
}

TEST_F(TurtleEffectServiceTest, ScrollIsPostedOncePerAxisAndItsOwnPostsPassThrough) {
    ASSERT_TRUE(turtle.activate(TurtleIntensity::medium));
    input.echoPostedScrolls(true);
    EXPECT_EQ(input.scroll(0.6, 0), TapVerdict::swallow);
    EXPECT_TRUE(input.postedScrolls().empty());
    EXPECT_EQ(input.scroll(-2.4, 1.4), TapVerdict::swallow);
    EXPECT_EQ(input.postedScrolls(), (std::vector<ScrollPost>{{1, -1, 0}, {2, 0, 1}}));
    EXPECT_EQ(input.echoVerdicts(), (std::vector<TapVerdict>{TapVerdict::pass, TapVerdict::pass}));

    // A failed post still swallows the incoming scroll.
    input.failPosting(true);
    EXPECT_EQ(input.scroll(4, 0), TapVerdict::swallow);
}

TEST_F(TurtleEffectServiceTest, ActivatingAgainChangesFactorsOnlyAndCustomFactorsAreClamped) {
    ASSERT_TRUE(turtle.activate(TurtleIntensity::light, true));
    ASSERT_TRUE(turtle.activate(TurtleIntensity::extreme));
    EXPECT_EQ(input.tapsCreated(), 1);
    EXPECT_EQ(keys.globalMonitorCount(), 1u);
    EXPECT_TRUE(turtle.isTestMode());
    EXPECT_EQ(turtle.factors(), (TurtleFactors{25.0, 5.0}));

    ScopedLogCapture capture;
    turtle.setCustomIntensity(1.0, 50.0);
    EXPECT_EQ(turtle.factors(), (TurtleFactors{2.0, 10.0}));
    EXPECT_TRUE(capture->contains("🐢 setCustomIntensity: input=(1.0, 50.0) → clamped=(2.0, 10.0)"));
    turtle.updateIntensity(TurtleIntensity::strong);
    EXPECT_EQ(turtle.factors(), (TurtleFactors{15.0, 3.0}));

    turtle.deactivate();
    turtle.updateIntensity(TurtleIntensity::light);
    EXPECT_EQ(turtle.factors(), (TurtleFactors{15.0, 3.0}));
}

TEST_F(TurtleEffectServiceTest, DeactivateReleasesEverythingAndIsSilentWhenOff) {
    ASSERT_TRUE(turtle.activate(TurtleIntensity::medium, true));
    turtle.deactivate();
    EXPECT_FALSE(turtle.isActive());
    EXPECT_FALSE(turtle.isTestMode());
    EXPECT_FALSE(input.hasTap());
    EXPECT_EQ(keys.globalMonitorCount(), 0u);
    EXPECT_FALSE(hasTurtle());
    EXPECT_EQ(loop.pendingCount(), 0u);

    ScopedLogCapture capture;
    turtle.deactivate();
    EXPECT_TRUE(capture->lines().empty());
    turtle.forceCleanup();
    EXPECT_TRUE(capture->contains("Nettoyage forcé de l'effet Tortue"));
    EXPECT_FALSE(hasTurtle());
}

TEST_F(TurtleEffectServiceTest, FailsafeKeySwitchesOffWithShiftAndSuperWhateverElseIsHeld) {
    struct Case {
        platform::KeyModifiers modifiers;
        bool switchesOff;
        // Pressed in our own window, as during the page's test.
        bool inOwnWindow = false;
    };
    const Case cases[] = {
        {KeyModifier::Command | KeyModifier::Shift, true},
        {KeyModifier::Command | KeyModifier::Shift | KeyModifier::Option, true},
        {KeyModifier::Command, false},
        {KeyModifier::Command | KeyModifier::Shift, true, true},
    };
    ScopedLogCapture capture;
    for (const auto& c : cases) {
        ASSERT_TRUE(turtle.activate(TurtleIntensity::medium, c.inOwnWindow));
        const platform::KeyEvent key{TurtleEffectService::kEscapeKeyCode, c.modifiers};
        c.inOwnWindow ? keys.pressLocal(key) : keys.pressGlobal(key);
        // Switched off once the key event is done with.
        EXPECT_TRUE(turtle.isActive());
        loop.runPending();
        EXPECT_EQ(turtle.isActive(), !c.switchesOff) << c.modifiers.mask();
        turtle.deactivate();
    }
    EXPECT_EQ(capture->count("👆 Super⇧⎋ détecté - Désactivation d'urgence Tortue"), 3u);
    EXPECT_EQ(keys.localMonitorCount(), 0u);
}

TEST_F(TurtleEffectServiceTest, TapsTheSessionSwitchesOffEndTheTurtle) {
    ScopedLogCapture capture;
    ASSERT_TRUE(turtle.activate(TurtleIntensity::medium));
    input.disableByTimeout();
    EXPECT_TRUE(capture->contains(
        "FrictionEffects", LogLevel::Error,
        "Tortue: tap désactivé par timeout système - récupération via le polling"));
    turtle.watchdogTick();  // a late tick, before the switch-off
    EXPECT_FALSE(capture->contains("Tortue: tap invalide détecté par watchdog"));
    loop.runPending();
    EXPECT_FALSE(turtle.isActive());
    EXPECT_FALSE(hasTurtle());

    // Switched off silently: the watchdog notices within 0.1 s.
    ASSERT_TRUE(turtle.activate(TurtleIntensity::medium));
    input.disableSilently();
    loop.advanceSeconds(0.1);
    EXPECT_TRUE(capture->contains("Tortue: tap invalide détecté par watchdog"));
    EXPECT_FALSE(turtle.isActive());
    EXPECT_FALSE(input.hasTap());
}

TEST_F(TurtleEffectServiceTest, MissingPermissionPromptsOnceAndLogsOnceUntilGranted) {
    ScopedLogCapture capture;
    trust.setTrusted(false);
    EXPECT_FALSE(turtle.activate(TurtleIntensity::medium));
    EXPECT_FALSE(turtle.activate(TurtleIntensity::medium));
    EXPECT_EQ(permissionChecks, (std::vector<bool>{true, false}));
    const std::string missing =
        "Tortue: permissions Accessibilité manquantes - capture du pointeur impossible";
    EXPECT_EQ(capture->count(missing), 1u);
    EXPECT_FALSE(input.hasTap());

    trust.setTrusted(true);
    ASSERT_TRUE(turtle.activate(TurtleIntensity::medium));
    turtle.deactivate();
    trust.setTrusted(false);
    EXPECT_FALSE(turtle.activate(TurtleIntensity::medium));
    EXPECT_EQ(capture->count(missing), 2u);
    EXPECT_EQ(permissionChecks.back(), false);
}

TEST_F(TurtleEffectServiceTest, RefusedTapsLeaveNothingInstalled) {
    ScopedLogCapture capture;
    input.refuseTaps(true);
    EXPECT_FALSE(turtle.activate(TurtleIntensity::medium, true));
    EXPECT_EQ(capture->texts("FrictionEffects"),
              (std::vector<std::string>{
                  "Activation de l'effet Tortue (Moyenne) [TEST MODE]",
                  "La capture du pointeur a échoué - vérifier les permissions Accessibilité",
                  "Échec de création de l'EventTap Tortue"}));
    EXPECT_FALSE(turtle.isTestMode());

    input.refuseTaps(false);
    input.refuseRunLoop(true);
    EXPECT_FALSE(turtle.activate(TurtleIntensity::medium));
    EXPECT_TRUE(capture->contains("Échec création RunLoopSource pour Tortue"));
    EXPECT_FALSE(input.hasTap());
    EXPECT_EQ(keys.globalMonitorCount(), 0u);
    EXPECT_EQ(loop.pendingCount(), 0u);
    EXPECT_FALSE(hasTurtle());
}

TEST_F(TurtleEffectServiceTest, NoDisplayFoundMeansNoClamping) {
    input.setDisplays({});
    ASSERT_TRUE(turtle.activate(TurtleIntensity::light));
    EXPECT_FALSE(turtle.screenBounds());
    input.setCursor(Point{2000, 50});
    (void)input.move(8, -400);
    EXPECT_EQ(input.warps().back(), (Point{2002, -50}));
}

}  // namespace
}  // namespace olvane
