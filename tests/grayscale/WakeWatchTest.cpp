#include <gtest/gtest.h>

#include <vector>

#include "grayscale/WakeRechecks.h"
#include "grayscale/WakeWatch.h"
#include "platform/sim/CaptureLogSink.h"
#include "platform/sim/ManualRunLoop.h"
#include "platform/sim/ScriptedSystemEvents.h"

namespace olvane {
namespace {

using platform::SystemEvent;

TEST(WakeWatch, WakeScreensAndUnlockCountAsWakesAndSessionEventsDoNot) {
    platform::sim::ScopedLogCapture log;
    platform::sim::ManualRunLoop loop;
    platform::sim::ScriptedSystemEvents events;
    int wakes = 0;
    {
        WakeWatch watch(loop, events, [&] { ++wakes; });
        watch.start();
        EXPECT_TRUE(log->contains("GrayscaleFilter", platform::LogLevel::Debug,
                                  "Watchdog sleep/wake configuré"));
        events.send(SystemEvent::DidWake);
        events.send(SystemEvent::ScreensDidWake);
        events.send(SystemEvent::ScreenUnlocked);
        events.send(SystemEvent::SessionDidBecomeActive);
        events.send(SystemEvent::SessionDidResignActive);
        EXPECT_EQ(wakes, 3);
    }
    // Gone with its owner.
    EXPECT_EQ(events.observerCount(SystemEvent::DidWake), 0u);
    EXPECT_EQ(events.displayObserverCount(), 0u);
    events.send(SystemEvent::DidWake);
    EXPECT_EQ(wakes, 3);
}

TEST(WakeWatch, OnlyAFinishedAdditionOrEnablingOfADisplayCountsAndIsHandledLater) {
    namespace change = platform::display_change;
    platform::sim::ManualRunLoop loop;
    platform::sim::ScriptedSystemEvents events;
    int wakes = 0;
    WakeWatch watch(loop, events, [&] { ++wakes; });
    watch.start();

    for (const std::uint32_t ignored :
         {change::kBeginConfiguration, change::kBeginConfiguration | change::kAdded,
          change::kBeginConfiguration | change::kEnabled, change::kRemoved, change::kMoved,
          change::kSetMode, change::kMirror, change::kDisabled}) {
        events.reconfigureDisplay(1, ignored);
        loop.runPending();
        EXPECT_EQ(wakes, 0) << ignored;
    }

    events.reconfigureDisplay(1, change::kAdded);
    EXPECT_EQ(wakes, 0);  // not from inside the display server's report
    loop.runPending();
    EXPECT_EQ(wakes, 1);
    events.reconfigureDisplay(2, change::kEnabled | change::kSetMode);
    loop.runPending();
    EXPECT_EQ(wakes, 2);

    // One report for several displays at once is one wake.
    events.reconfigureDisplay(1, change::kAdded);
    events.reconfigureDisplay(2, change::kAdded | change::kEnabled);
    loop.runPending();
    EXPECT_EQ(wakes, 3);
}

TEST(WakeRechecks, TwoWakesOneSecondApartRunTheFirstsEarliestCheckThenOnlyTheSeconds) {
    platform::sim::ManualRunLoop loop;
    std::vector<double> checkedAt;
    const auto t0 = loop.now();
    WakeRechecks rechecks(loop, [&] { checkedAt.push_back(platform::toSeconds(loop.now() - t0)); });
    EXPECT_EQ(rechecks.wakeID(), 0);

    rechecks.schedule();
    loop.advanceSeconds(1.0);
    rechecks.schedule();
    loop.advanceSeconds(10.0);
    EXPECT_EQ(checkedAt, (std::vector<double>{0.5, 1.5, 2.5, 4.0, 6.0}));
    EXPECT_EQ(rechecks.wakeID(), 2);

    // Three wakes at the same moment: only the last one's four checks run.
    checkedAt.clear();
    rechecks.schedule();
    rechecks.schedule();
    rechecks.schedule();
    loop.advanceSeconds(10.0);
    EXPECT_EQ(checkedAt.size(), 4u);
    EXPECT_EQ(rechecks.wakeID(), 5);
}

}  // namespace
}  // namespace olvane
