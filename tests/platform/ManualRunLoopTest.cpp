#include <gtest/gtest.h>

#include <string>
#include <thread>
#include <vector>

#include "platform/sim/ManualRunLoop.h"

namespace olvane::platform::sim {
namespace {

using namespace std::chrono_literals;

TEST(ManualRunLoop, FiresInDueOrderFifoAmongEqualTimesAndMovesTheClock) {
    ManualRunLoop loop;
    std::vector<std::string> fired;
    std::vector<double> firedAt;
    const double start = loop.clock().unixNow();
    auto record = [&](std::string name) {
        return [&, name] {
            fired.push_back(name);
            firedAt.push_back(loop.clock().unixNow() - start);
        };
    };
    auto c = loop.after(2s, record("c"));
    auto a1 = loop.after(1s, record("a1"));
    auto a2 = loop.after(1s, record("a2"));
    auto p = loop.post(record("posted"));

    loop.advance(500ms);
    EXPECT_EQ(fired, (std::vector<std::string>{"posted"}));
    loop.advance(1500ms);
    EXPECT_EQ(fired, (std::vector<std::string>{"posted", "a1", "a2", "c"}));
    EXPECT_EQ(firedAt, (std::vector<double>{0, 1, 1, 2}));
    EXPECT_DOUBLE_EQ(loop.clock().unixNow() - start, 2.0);
}

TEST(ManualRunLoop, WorkScheduledDuringAdvanceRunsRelativeToItsFiringTime) {
    ManualRunLoop loop;
    std::vector<double> times;
    const auto t0 = loop.now();
    Handle inner;
    auto outer = loop.after(1s, [&] {
        times.push_back(toSeconds(loop.now() - t0));
        inner = loop.after(500ms, [&] { times.push_back(toSeconds(loop.now() - t0)); });
    });
    loop.advance(3s);
    EXPECT_EQ(times, (std::vector<double>{1.0, 1.5}));
}

TEST(ManualRunLoop, DestroyedHandlesCancelEvenFromInsideTheirOwnCallback) {
    ManualRunLoop loop;
    int ticks = 0;
    Handle timer;
    timer = loop.every(1s, [&] {
        ++ticks;
        if (ticks == 2) {
            timer = Handle();  // cancels itself mid-call
        }
    });
    loop.advance(10s);
    EXPECT_EQ(ticks, 2);

    int oneShot = 0;
    {
        auto dropped = loop.after(1s, [&] { ++oneShot; });
    }
    loop.advance(2s);
    EXPECT_EQ(oneShot, 0);
    EXPECT_EQ(loop.pendingCount(), 0u);
}

TEST(ManualRunLoop, ReplacingARepeatingTimerStopsTheOldOne) {
    ManualRunLoop loop;
    std::vector<std::string> fired;
    Handle timer = loop.every(1s, [&] { fired.push_back("old"); });
    loop.advance(1s);
    timer = loop.every(3s, [&] { fired.push_back("new"); });
    loop.advance(6s);
    EXPECT_EQ(fired, (std::vector<std::string>{"old", "new", "new"}));
}

TEST(ManualRunLoop, CallbacksNeverRunAfterTheirOwnerIsGone) {
    ManualRunLoop loop;
    struct Owner {
        explicit Owner(ManualRunLoop& loop, int& hits)
            : timer(loop.every(1s, [&hits] { ++hits; })) {}
        Handle timer;
    };
    int hits = 0;
    auto owner = std::make_unique<Owner>(loop, hits);
    loop.advance(2s);
    owner.reset();
    loop.advance(5s);
    EXPECT_EQ(hits, 2);
}

TEST(ManualRunLoop, WorkPostedFromAnotherThreadRunsOnTheNextAdvance) {
    ManualRunLoop loop;
    int ran = 0;
    std::thread worker([&] { loop.postFromAnyThread([&] { ++ran; }); });
    worker.join();
    EXPECT_EQ(ran, 0);
    loop.runPending();
    EXPECT_EQ(ran, 1);
}

TEST(ManualRunLoop, AHandleOutlivingItsLoopIsHarmless) {
    Handle survivor;
    {
        ManualRunLoop loop;
        survivor = loop.after(1s, [] {});
    }
    survivor.cancel();
    SUCCEED();
}

}  // namespace
}  // namespace olvane::platform::sim
