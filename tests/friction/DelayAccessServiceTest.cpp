#include <gtest/gtest.h>

#include "friction/DelayAccessService.h"
#include "platform/sim/CaptureLogSink.h"
#include "platform/sim/ManualRunLoop.h"
#include "platform/sim/MemoryKeyValueStore.h"

namespace olvane {
namespace {

using platform::sim::ScopedLogCapture;

class RecordingOverlay final : public DelayOverlay {
  public:
    void show(const RedListConfig&, const std::string& bundleID, std::optional<pid_t>) override {
        shown = bundleID;
        calls.push_back("show " + bundleID);
    }
    void close() override {
        shown.reset();
        calls.push_back("close");
    }
    std::optional<pid_t> targetProcess() const override { return std::nullopt; }
    std::optional<std::string> shown;
    std::vector<std::string> calls;
};

RedListConfig target(const std::string& id, bool delay,
                     DelayDuration duration = DelayDuration::preset30s(),
                     FrictionTargetType type = FrictionTargetType::app) {
    RedListConfig config;
    config.targetType = type;
    config.targetIdentifier = id;
    config.targetDisplayName = id + " (nom)";
    config.isDelayEnabled = delay;
    config.delayDuration = duration;
    return config;
}

class DelayAccessServiceTest : public ::testing::Test {
  protected:
    DelayAccessServiceTest() {
        settings.settings().redListConfigs = {
            target("org.example.Off", false),
            target("org.example.Site", true, DelayDuration::preset10s(),
                   FrictionTargetType::website),
            target("org.example.A", true, DelayDuration::custom(90)),
            target("org.example.A", true, DelayDuration::preset1h()),
            target("org.example.B", true, DelayDuration::preset1h()),
        };
        completed = notifications.observe(DelayAccessService::kDelayAccessCompletedNotification,
                                          [this](const Json& info) { posted.push_back(info); });
    }

    platform::sim::ManualRunLoop loop;
    platform::sim::MemoryKeyValueStore store;
    SettingsManager settings{store, loop.clock()};
    platform::NotificationCenter notifications;
    RecordingOverlay* overlay = new RecordingOverlay;
    DelayAccessService service{settings, notifications, std::unique_ptr<DelayOverlay>(overlay)};
    std::vector<Json> posted;
    platform::Handle completed;
};

TEST_F(DelayAccessServiceTest, OnlyEnabledApplicationTargetsAreDelayedTheFirstOneWins) {
    EXPECT_FALSE(service.pendingDelayConfig("org.example.Off"));
    EXPECT_FALSE(service.pendingDelayConfig("org.example.Site"));
    EXPECT_FALSE(service.pendingDelayConfig("org.example.a"));
    const auto pending = service.pendingDelayConfig("org.example.A");
    ASSERT_TRUE(pending);
    EXPECT_EQ(pending->delayDuration, DelayDuration::custom(90));
}

TEST_F(DelayAccessServiceTest, StartingAgainChangesNothingAnotherTargetReplacesTheFirst) {
    ScopedLogCapture capture;
    service.startDelay(*service.pendingDelayConfig("org.example.A"), "org.example.A");
    EXPECT_TRUE(capture->contains("👆 Délai d'accès démarré: org.example.A (nom) (90s)"));
    EXPECT_TRUE(service.isDelayOverlayActive());
    capture->clear();
    service.startDelay(*service.pendingDelayConfig("org.example.A"), "org.example.A");
    EXPECT_TRUE(capture->lines().empty());

    service.startDelay(*service.pendingDelayConfig("org.example.B"), "org.example.B");
    EXPECT_EQ(overlay->calls,
              (std::vector<std::string>{"show org.example.A", "close", "show org.example.B"}));
    EXPECT_TRUE(capture->contains("Délai d'accès annulé"));
    EXPECT_TRUE(capture->contains("👆 Délai d'accès démarré: org.example.B (nom) (3600s)"));
    EXPECT_EQ(service.currentTargetBundleID(), "org.example.B");
    EXPECT_TRUE(service.completedDelayBundleIDs().empty());
}

TEST_F(DelayAccessServiceTest, ACompletedDelayHoldsUntilTheAppQuitsOrMonitoringStops) {
    service.startDelay(*service.pendingDelayConfig("org.example.A"), "org.example.A");
    ScopedLogCapture capture;
    overlay->onDelayComplete("org.example.A");
    EXPECT_FALSE(service.isDelayOverlayActive());
    EXPECT_FALSE(service.currentTargetBundleID());
    EXPECT_EQ(posted, (std::vector<Json>{{{"bundleID", "org.example.A"}}}));
    EXPECT_TRUE(capture->contains("Délai d'accès terminé: org.example.A"));
    EXPECT_FALSE(service.pendingDelayConfig("org.example.A"));

    service.resetCompletedDelay("org.example.A");
    EXPECT_TRUE(service.pendingDelayConfig("org.example.A"));

    // A completion for another application records the current target.
    service.startDelay(*service.pendingDelayConfig("org.example.B"), "org.example.B");
    overlay->onDelayComplete("org.example.Other");
    EXPECT_EQ(service.completedDelayBundleIDs(), (std::set<std::string>{"org.example.B"}));
    service.resetCompletedDelays();
    EXPECT_TRUE(service.completedDelayBundleIDs().empty());
}

TEST_F(DelayAccessServiceTest, CancellationsLeaveNoTrace) {
    service.cancelDelay();
    EXPECT_TRUE(overlay->calls.empty());

    service.startDelay(*service.pendingDelayConfig("org.example.A"), "org.example.A");
    ScopedLogCapture capture;
    overlay->onCancel();
    EXPECT_FALSE(service.isDelayOverlayActive());
    EXPECT_TRUE(capture->lines().empty());

    service.startDelay(*service.pendingDelayConfig("org.example.A"), "org.example.A");
    service.cancelDelay();
    EXPECT_EQ(overlay->calls.back(), "close");
    EXPECT_TRUE(service.pendingDelayConfig("org.example.A"));
    EXPECT_TRUE(posted.empty());
}

}  // namespace
}  // namespace olvane
