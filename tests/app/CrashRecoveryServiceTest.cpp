#include <gtest/gtest.h>

#include "RecordingServices.h"
#include "app/CrashRecoveryService.h"
#include "model/SettingsManager.h"
#include "platform/sim/CaptureLogSink.h"
#include "platform/sim/ManualRunLoop.h"
#include "platform/sim/MemoryKeyValueStore.h"

namespace olvane {
namespace {

using platform::LogLevel;
using platform::sim::ManualRunLoop;
using platform::sim::MemoryKeyValueStore;
using platform::sim::ScopedLogCapture;
using Entries = std::vector<std::string>;

constexpr const char* kRecord = SettingsManager::kLastKnownStateKey;

struct Fixture {
    ManualRunLoop loop;
    MemoryKeyValueStore store;
    platform::Observable<bool> filterOn{false};
    test::Timeline timeline;
    test::RecordingServices services{timeline, filterOn};
};

TEST(CrashRecoveryService, ARecordThatSaysNothingWasOnStillGetsTheFullReset) {
    Fixture f;
    SettingsManager(f.store, f.loop.clock())
        .saveLastKnownState(false, {FrictionEffectType::fog, FrictionEffectType::turtle});
    SettingsManager settings(f.store, f.loop.clock());
    CrashRecoveryService recovery(settings, f.store, f.filterOn, f.services);
    ScopedLogCapture capture;

    EXPECT_TRUE(recovery.performStartupCleanup());
    EXPECT_TRUE(recovery.crashDetected());
    ASSERT_TRUE(recovery.recoveredState());
    EXPECT_EQ(recovery.recoveredState()->activeEffects, (Entries{"fog", "turtle"}));
    EXPECT_TRUE(capture->contains("CrashRecovery", LogLevel::Info,
                                  "Dernier état: N&B=false, Effets=[\"fog\", \"turtle\"]"));
    EXPECT_EQ(f.timeline.entries,
              (Entries{"forceDisableGrayscale", "forceCleanupFrictionEffects"}));
    EXPECT_FALSE(settings.lastKnownState());
    EXPECT_TRUE(f.store.get(kRecord).isMissing());
}

// A record that cannot be read still shows that the previous run did not end cleanly.
TEST(CrashRecoveryService, AnUnreadableRecordCountsAsACrash) {
    Fixture f;
    f.store.setUndecodable(kRecord);
    SettingsManager settings(f.store, f.loop.clock());
    ASSERT_FALSE(settings.lastKnownState());
    CrashRecoveryService recovery(settings, f.store, f.filterOn, f.services);
    ScopedLogCapture capture;

    EXPECT_TRUE(recovery.performStartupCleanup());
    EXPECT_FALSE(recovery.recoveredState());
    EXPECT_TRUE(
        capture->contains("⚠️ État précédent détecté - fermeture anormale probable"));
    EXPECT_EQ(f.timeline.entries,
              (Entries{"forceDisableGrayscale", "forceCleanupFrictionEffects"}));
    EXPECT_TRUE(f.store.get(kRecord).isMissing());

    // Cleared, the next check is a clean start.
    SettingsManager next(f.store, f.loop.clock());
    CrashRecoveryService again(next, f.store, f.filterOn, f.services);
    EXPECT_FALSE(again.performStartupCleanup());
}

TEST(CrashRecoveryService, TheInitialRecordTakesTheFilterAsItIsAndNoEffect) {
    Fixture f;
    SettingsManager settings(f.store, f.loop.clock());
    CrashRecoveryService recovery(settings, f.store, f.filterOn, f.services);
    f.filterOn.set(true);
    recovery.saveInitialState();
    const auto record = SettingsManager(f.store, f.loop.clock()).lastKnownState();
    ASSERT_TRUE(record);
    EXPECT_TRUE(record->wasGrayscaleEnabled);
    EXPECT_TRUE(record->activeEffects.empty());

    ScopedLogCapture capture;
    recovery.recordCleanShutdown();
    recovery.recordCleanShutdown();
    EXPECT_TRUE(f.store.get(kRecord).isMissing());
    EXPECT_EQ(capture->count("Fermeture propre enregistrée"), 2u);
    EXPECT_TRUE(f.timeline.entries.empty());
}

}  // namespace
}  // namespace olvane
