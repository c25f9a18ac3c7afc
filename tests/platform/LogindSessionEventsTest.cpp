// Session events from a stand-in logind on a private D-Bus daemon.
#include <gtest/gtest.h>

#include <cstdlib>

#include "platform/linux/EpollRunLoop.h"
#include "platform/linux/LogindSessionEvents.h"
#include "support/ChildProcess.h"

namespace olvane::platform::os {
namespace {

using namespace std::chrono_literals;

TEST(LogindSessionEventsTest, WakeUnlockAndSessionSwitches) {
    test::ChildProcess daemon("/usr/bin/dbus-daemon",
                              {"--session", "--nofork", "--nopidfile", "--print-address=1"});
    std::string address;
    while (address.empty() || address.back() != '\n') {
        const auto byte = daemon.readStdout(1, 10s);
        ASSERT_FALSE(byte.empty()) << "no D-Bus daemon";
        address += byte;
    }
    address.pop_back();
    ::setenv("DBUS_SYSTEM_BUS_ADDRESS", address.c_str(), 1);
    test::ChildProcess logind(test::builtExecutable("tests/platform/olvane-login1-stand-in"));
    ASSERT_EQ(logind.readStdout(6, 10s), "ready\n");

    EpollRunLoop loop;
    auto events = LogindSessionEvents::create(loop, "c1");
    ::unsetenv("DBUS_SYSTEM_BUS_ADDRESS");
    ASSERT_TRUE(events);
    EXPECT_EQ(events->sessionPath(), "/org/freedesktop/login1/session/c1");
    std::vector<SystemEvent> seen;
    std::vector<Handle> observers;
    for (const auto event :
         {SystemEvent::DidWake, SystemEvent::ScreenUnlocked, SystemEvent::SessionDidResignActive,
          SystemEvent::SessionDidBecomeActive}) {
        observers.push_back(events->observe(event, [&seen, event] { seen.push_back(event); }));
    }

    const struct {
        const char* commands;
        std::vector<SystemEvent> expected;
    } cases[] = {
        {"wake\n", {SystemEvent::DidWake}},
        // The Unlock signal and the locker's hint that follows make one unlock.
        {"lock\nlocked 1\nunlock\nlocked 0\n", {SystemEvent::ScreenUnlocked}},
        // A locker that only sets the hint.
        {"locked 1\nlocked 0\n", {SystemEvent::ScreenUnlocked}},
        {"active 0\nactive 1\n",
         {SystemEvent::SessionDidResignActive, SystemEvent::SessionDidBecomeActive}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.commands);
        seen.clear();
        // A wake after the case's commands: once it has come, all they made has come.
        ASSERT_TRUE(logind.writeStdin(std::string(c.commands) + "wake\n"));
        auto expected = c.expected;
        expected.push_back(SystemEvent::DidWake);
        EXPECT_TRUE(loop.runUntil([&] { return seen.size() >= expected.size(); }, 10s));
        EXPECT_EQ(seen, expected);
    }
}

TEST(LogindSessionEventsTest, NoSystemBusGivesNoSource) {
    ::setenv("DBUS_SYSTEM_BUS_ADDRESS", "unix:path=/nonexistent/bus", 1);
    EpollRunLoop loop;
    EXPECT_FALSE(LogindSessionEvents::create(loop));
    ::unsetenv("DBUS_SYSTEM_BUS_ADDRESS");
}

}  // namespace
}  // namespace olvane::platform::os
