#include <gtest/gtest.h>

#include "friction/FogEffectService.h"
#include "platform/LoopFrameClock.h"
#include "platform/sim/CaptureLogSink.h"
#include "platform/sim/ManualRunLoop.h"
#include "platform/sim/SimEventTap.h"
#include "platform/sim/SimOverlayWindows.h"

namespace olvane {
namespace {

using platform::LogLevel;
using platform::Point;
using platform::Rect;
using platform::sim::ScopedLogCapture;

class NoFrames final : public platform::FrameClock {
  public:
    platform::Handle start(std::function<void()>) override { return {}; }
};

class EndRecorder final : public FrictionEffectDelegate {
  public:
    void effectDidEnd(const FogEffectService& effect) override {
        ended.push_back(effect.effectType());
    }
    std::vector<FrictionEffectType> ended;
};

class FogEffectServiceTest : public ::testing::Test {
  protected:
    FogEffectServiceTest() {
        fog.setDelegate(&delegate);
        fog.setIntensity(FogIntensity::medium);
    }

    const std::vector<TrailPoint>& trailOf(std::size_t overlay) const {
        return fog.overlays().at(overlay).state->trail();
    }
    void pointTo(Point p) {
        pointer.setCursor(p);
        loop.advance(FogEffectService::kMinFrameInterval);
    }

    platform::sim::ManualRunLoop loop;
    platform::sim::SimEventTap pointer;
    platform::sim::SimOverlayWindows<FogEffectState> windows;
    platform::LoopFrameClock frames{loop, FogEffectService::kMinFrameInterval};
    EndRecorder delegate;
    FogEffectService fog{{windows, frames, pointer, loop.clock()}};
};

TEST_F(FogEffectServiceTest, OverlaysCoverTheTargetsAndThePointerWipesTheOneItIsOver) {
    ScopedLogCapture capture;
    fog.activate({{11, {0, 0, 800, 600}}, {12, {900, 0, 400, 400}}});
    ASSERT_TRUE(fog.isActive());
    ASSERT_EQ(windows.made().size(), 2u);
    EXPECT_EQ(windows.made()[1].record->frame, (Rect{900, 0, 400, 400}));
    EXPECT_TRUE(windows.made()[1].record->isVisible);
    EXPECT_EQ(windows.made()[0].content->clearRadius(), 150);
    EXPECT_EQ(windows.made()[0].content->fogOpacity(), 0.98);
    EXPECT_TRUE(capture->contains("FrictionEffects", LogLevel::Info,
                                  "Activation de l'effet Buée sur 2 fenêtre(s)"));
    EXPECT_TRUE(capture->contains("Overlay créé à {{900, 0}, {400, 400}}"));

    pointTo({1000, 50});
    EXPECT_TRUE(trailOf(0).empty());
    ASSERT_EQ(trailOf(1).size(), 1u);
    EXPECT_EQ(trailOf(1)[0].position, (Point{100, 50}));
    EXPECT_EQ(fog.overlays()[1].state->mousePosition(), (Point{100, 50}));

    // Under 5 points: no sample. Outside every overlay: none either.
    pointTo({1004, 50});
    pointTo({850, 50});
    EXPECT_EQ(trailOf(1).size(), 1u);
    // The distance still counts from the last sample that touched an overlay.
    pointTo({1003, 53});
    EXPECT_EQ(trailOf(1).size(), 1u);

    // Medium: half faded after 4 s, gone after 8 s.
    loop.advanceSeconds(4 - 3 * platform::toSeconds(FogEffectService::kMinFrameInterval));
    EXPECT_NEAR(trailOf(1)[0].opacity, 0.5, 0.01);
    loop.advanceSeconds(4.05);
    EXPECT_TRUE(trailOf(1).empty());
}

TEST_F(FogEffectServiceTest, FramesComeAtMostSixtyTimesASecond) {
    fog.activate({{11, {0, 0, 800, 600}}});
    pointTo({10, 10});
    int redraws = 0;
    auto watch = fog.overlays()[0].state->observeTrail([&] { ++redraws; });
    loop.advanceSeconds(1);
    EXPECT_EQ(redraws, 60);
    // A frame that comes early is dropped.
    fog.displayLinkFired();
    EXPECT_EQ(redraws, 60);
}

TEST_F(FogEffectServiceTest, AFogAtRestStopsItsFramesUntilThePointerMoves) {
    fog.activate({{11, {0, 0, 800, 600}}});
    pointTo({10, 10});
    loop.advanceSeconds(8.1);
    ASSERT_TRUE(trailOf(0).empty());
    EXPECT_EQ(pointer.motionObservers(), 1u);
    EXPECT_EQ(loop.pendingCount(), 0u) << "no frame while nothing moves";

    pointTo({300, 300});
    EXPECT_EQ(pointer.motionObservers(), 0u);
    EXPECT_EQ(trailOf(0).size(), 1u) << "the first frame after the move samples it";
    EXPECT_EQ(fog.overlays()[0].state->targetWindowID, 11u);

    fog.deactivate();
    EXPECT_EQ(pointer.motionObservers(), 0u);
    EXPECT_EQ(loop.pendingCount(), 0u);
}

TEST_F(FogEffectServiceTest, SyncKeepsMovedWindowsDropsClosedOnesAndCoversNewOnes) {
    ScopedLogCapture capture;
    fog.activate({{11, {0, 0, 800, 600}}, {12, {900, 0, 400, 400}}});
    pointTo({100, 100});
    const auto* movedState = fog.overlays()[0].state.get();

    fog.syncOverlays({{13, {0, 700, 300, 200}}, {11, {50, 50, 800, 600}}});
    ASSERT_EQ(fog.overlays().size(), 2u);
    EXPECT_EQ(fog.overlays()[0].windowID, 13u);
    EXPECT_TRUE(trailOf(0).empty());
    EXPECT_EQ(fog.overlays()[1].state.get(), movedState);
    EXPECT_EQ(trailOf(1).size(), 1u);
    EXPECT_EQ(fog.overlays()[1].window->frame(), (Rect{50, 50, 800, 600}));
    EXPECT_EQ(fog.overlays()[1].bounds, (Rect{50, 50, 800, 600}));
    EXPECT_TRUE(windows.made()[1].record->isClosed);
    EXPECT_FALSE(capture->contains("Overlays synchronisés: 2 overlay(s)"));

    // An unchanged frame is left alone.
    const int changes = windows.made()[0].record->frameChanges;
    fog.syncOverlays({{11, {50, 50, 800, 600}}});
    EXPECT_EQ(windows.made()[0].record->frameChanges, changes);
    EXPECT_TRUE(capture->contains("Overlays synchronisés: 1 overlay(s)"));
    EXPECT_TRUE(fog.isActive());
}

TEST_F(FogEffectServiceTest, DeactivateTellsTheDelegateForceCleanupDoesNot) {
    ScopedLogCapture capture;
    fog.deactivate();
    EXPECT_TRUE(capture->lines().empty());
    fog.forceCleanup();
    EXPECT_TRUE(capture->contains("Nettoyage forcé de l'effet Buée (0 overlay(s))"));

    fog.activate({{11, {0, 0, 800, 600}}});
    fog.deactivate();
    EXPECT_EQ(delegate.ended, (std::vector<FrictionEffectType>{FrictionEffectType::fog}));
    EXPECT_TRUE(capture->contains("Désactivation de l'effet Buée (1 overlay(s))"));
    EXPECT_TRUE(windows.open().empty());
    EXPECT_EQ(loop.pendingCount(), 0u);

    fog.activate({{11, {0, 0, 800, 600}}});
    fog.forceCleanup();
    EXPECT_EQ(delegate.ended.size(), 1u);
    EXPECT_FALSE(fog.isActive());
    EXPECT_TRUE(windows.open().empty());
}

TEST_F(FogEffectServiceTest, IntensityChangesReachTheOverlaysAndAFogWithoutFramesStays) {
    NoFrames noFrames;
    FogEffectService still{{windows, noFrames, pointer, loop.clock()}};
    ScopedLogCapture capture;
    still.activate({{11, {0, 0, 800, 600}}});
    EXPECT_TRUE(
        capture->contains("FrictionEffects", LogLevel::Error, "Impossible de créer CVDisplayLink"));
    EXPECT_TRUE(still.isActive());

    still.setCustomIntensity(10, 100, 2);
    const auto& state = *still.overlays()[0].state;
    EXPECT_EQ(state.clearRadius(), 20);
    EXPECT_EQ(state.fogOpacity(), 1.0);
    EXPECT_EQ(still.maxTrailPoints(), 4000u);
    EXPECT_TRUE(capture->contains(
        "Buée: intensité personnalisée (rayon: 20.000000px, régén: 60.000000s, opacité: "
        "1.000000)"));
}

}  // namespace
}  // namespace olvane
