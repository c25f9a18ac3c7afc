// The StatusNotifier tray, from a stand-in watcher on a private session bus.
#include <gtest/gtest.h>

#include <csignal>

#include "platform/linux/EpollRunLoop.h"
#include "platform/linux/StatusNotifierHost.h"
#include "support/DesktopStandIn.h"
#include "support/PrivateSessionBus.h"

namespace olvane::platform::os {
namespace {

using namespace std::chrono_literals;

TEST(StatusNotifierHostTest, AWatcherStartedLaterIsAnArrival) {
    test::PrivateSessionBus bus;
    ASSERT_TRUE(bus.ready());
    EpollRunLoop loop;
    auto host = StatusNotifierHost::create(loop);
    ASSERT_TRUE(host);
    EXPECT_FALSE(host->isPresent());
    int arrivals = 0;
    const auto observation = host->observeArrivals([&] { ++arrivals; });

    auto watcher = test::DesktopStandIn::statusNotifierWatcher();
    ASSERT_TRUE(watcher->ready());
    EXPECT_TRUE(loop.runUntil([&] { return arrivals == 1; }, 10s));
    EXPECT_TRUE(host->isPresent());

    watcher.reset();
    EXPECT_TRUE(loop.runUntil([&] { return !host->isPresent(); }, 10s));
    watcher = test::DesktopStandIn::statusNotifierWatcher();
    ASSERT_TRUE(watcher->ready());
    EXPECT_TRUE(loop.runUntil([&] { return arrivals == 2; }, 10s));

    // The bus itself goes (its daemon killed): once the loop has seen it go, the watcher is gone
    // with it and nothing more is asked of the connection.
    bus.daemon().signal(SIGKILL);
    ASSERT_TRUE(bus.daemon().wait(10s));
    loop.runUntil([] { return false; }, 100ms);
    EXPECT_FALSE(host->isPresent());
}

}  // namespace
}  // namespace olvane::platform::os
