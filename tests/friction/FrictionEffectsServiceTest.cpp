#include <gtest/gtest.h>

#include "friction/FrictionEffectsService.h"
#include "platform/LoopFrameClock.h"
#include "platform/sim/CaptureLogSink.h"
#include "platform/sim/ManualRunLoop.h"
#include "platform/sim/SimAccessibilityTrust.h"
#include "platform/sim/SimEventTap.h"
#include "platform/sim/SimKeyEventSource.h"
#include "platform/sim/SimOverlayWindows.h"
#include "platform/sim/SimWindowServer.h"
#include "platform/sim/SimWorkspace.h"

namespace olvane {
namespace {

using platform::Rect;
using platform::sim::ScopedLogCapture;
using Effects = ActiveEffects::Set;

constexpr const char* kEditor = "org.gnome.TextEditor";
constexpr const char* kBrowser = "org.mozilla.firefox";

RedListConfig fogTarget(const std::string& id, FogIntensity intensity) {
    RedListConfig config;
    config.targetIdentifier = id;
    config.isFogEnabled = true;
    config.fogIntensity = intensity;
    return config;
}

class FrictionEffectsServiceTest : public ::testing::Test {
  protected:
    FrictionEffectsServiceTest() {
        workspace.launch({kEditor, "Éditeur", 100, 0.0});
        workspace.launch({kBrowser, "Firefox", 200, 0.0});
        windowServer.setWindows({{1, 100, Rect{0, 0, 800, 600}}, {2, 200, Rect{0, 0, 1200, 900}}});
        input.setDisplays({{0, 0, 1440, 900}});
    }

    platform::sim::ManualRunLoop loop;
    platform::sim::SimWorkspace workspace;
    platform::sim::SimWindowServer windowServer;
    platform::Observable<std::optional<std::string>> frontID, frontName;
    WindowMonitorService monitor{workspace, windowServer, {frontID, frontName}};
    platform::sim::SimEventTap input;
    platform::sim::SimKeyEventSource keys;
    platform::sim::SimAccessibilityTrust trust{true};
    platform::Observable<Effects> effects;
    TurtleEffectService turtle{{loop, input, keys, trust, {}, ActiveEffects(effects)}};
    platform::sim::SimOverlayWindows<FogEffectState> windows;
    platform::LoopFrameClock frames{loop, FogEffectService::kMinFrameInterval};
    FrictionEffectsService service{
        {monitor, turtle, ActiveEffects(effects), {windows, frames, input, loop.clock()}}};
};

TEST_F(FrictionEffectsServiceTest, AFogMovesFromOneTargetToTheNext) {
    ScopedLogCapture capture;
    EXPECT_FALSE(service.activateFog("org.example.Absent", fogTarget("x", FogIntensity::light)));
    EXPECT_TRUE(capture->contains(
        "⚠️ Échec activation Buée: aucune fenêtre trouvée pour org.example.Absent"));
    EXPECT_TRUE(effects().empty());
    EXPECT_FALSE(service.targetBundleID());

    ASSERT_TRUE(service.activateFog(kEditor, fogTarget(kEditor, FogIntensity::strong)));
    EXPECT_TRUE(
        capture->contains("👆 Activation Buée pour org.gnome.TextEditor: 1 fenêtre(s) (Forte)"));
    ASSERT_TRUE(service.activateFog(kBrowser, fogTarget(kBrowser, FogIntensity::light)));
    EXPECT_EQ(capture->count("Effet Buée terminé"), 1u);
    EXPECT_EQ(effects(), Effects{FrictionEffectType::fog});
    EXPECT_EQ(service.targetBundleID(), kBrowser);
    ASSERT_EQ(windows.open().size(), 1u);
    EXPECT_EQ(windows.open()[0].record->frame, (Rect{0, 0, 1200, 900}));
    EXPECT_EQ(service.fogEffect().settings(), FogSettings::preset(FogIntensity::light));
}

TEST_F(FrictionEffectsServiceTest, ACustomTargetWithoutValuesGetsTheDefaults) {
    ASSERT_TRUE(service.activateFog(kEditor, fogTarget(kEditor, FogIntensity::custom)));
    EXPECT_EQ(service.fogEffect().settings(), (FogSettings{50, 1.0, 0.99}));
    auto withValues = fogTarget(kEditor, FogIntensity::custom);
    withValues.customFogClearRadius = 200;
    ASSERT_TRUE(service.activateFog(kEditor, withValues));
    EXPECT_EQ(service.fogEffect().settings(), (FogSettings{200, 1.0, 0.99}));
}

TEST_F(FrictionEffectsServiceTest, DeactivateAllRemovesTheFogOnlyForcedCleanupEverything) {
    ASSERT_TRUE(turtle.activate(TurtleIntensity::medium));
    ASSERT_TRUE(service.activateFog(kEditor, fogTarget(kEditor, FogIntensity::medium)));
    service.deactivateAllEffects();
    EXPECT_EQ(effects(), Effects{FrictionEffectType::turtle});
    EXPECT_TRUE(input.isTapEnabled());
    EXPECT_FALSE(service.targetBundleID());

    ASSERT_TRUE(service.activateFog(kEditor, fogTarget(kEditor, FogIntensity::medium)));
    ActiveEffects(effects).insert(FrictionEffectType::delay);
    ScopedLogCapture capture;
    service.forceCleanup();
    EXPECT_TRUE(effects().empty());
    EXPECT_FALSE(turtle.isActive());
    EXPECT_FALSE(input.hasTap());
    EXPECT_TRUE(windows.open().empty());
    EXPECT_FALSE(capture->contains("Effet Buée terminé"));
    EXPECT_EQ(loop.pendingCount(), 0u);
}

TEST_F(FrictionEffectsServiceTest, TheTestFogCoversTheApplicationsOwnWindow) {
    ScopedLogCapture capture;
    service.testFogOnOwnWindow();
    EXPECT_TRUE(capture->contains("Aucune fenêtre Olvane trouvée"));
    EXPECT_TRUE(effects().empty());

    service.findOwnWindow = [] { return OwnWindow{std::int64_t{1} << 40, {300, 200, 970, 670}}; };
    service.testFogOnOwnWindow();
    EXPECT_EQ(service.targetBundleID(), "so.olvane.mac");
    EXPECT_EQ(service.fogEffect().settings(), (FogSettings{125, 2.5, 0.98}));
    ASSERT_EQ(service.fogEffect().overlays().size(), 1u);
    EXPECT_EQ(service.fogEffect().overlays()[0].windowID, 0u);
    EXPECT_EQ(service.fogEffect().overlays()[0].bounds, (Rect{300, 200, 970, 670}));
    EXPECT_EQ(effects(), Effects{FrictionEffectType::fog});
}

}  // namespace
}  // namespace olvane
