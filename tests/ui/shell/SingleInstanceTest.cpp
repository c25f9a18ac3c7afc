#include <gtest/gtest.h>

#include <chrono>

#include "platform/sim/ManualRunLoop.h"
#include "support/TempHome.h"
#include "ui/shell/SingleInstance.h"

namespace olvane::ui {
namespace {

using namespace std::chrono_literals;

TEST(SingleInstance, ALaterLaunchAsksTheFirstToShowItselfAndEnds) {
    test::TempHome home;
    const auto folder = home.paths().runtimeFolder();
    platform::sim::ManualRunLoop loop;
    int shown = 0;
    {
        SingleInstance first(folder);
        ASSERT_EQ(first.role(), SingleInstance::Role::primary);
        first.listen(loop, [&] { ++shown; });

        SingleInstance second(folder);
        EXPECT_EQ(second.role(), SingleInstance::Role::secondary);
        loop.processIo(200ms);
        EXPECT_EQ(shown, 1);
        EXPECT_EQ(test::permissionsOf(folder), 0700u);
    }
    // Once the first has ended, the next launch is the application again, stale socket or not.
    SingleInstance next(folder);
    EXPECT_EQ(next.role(), SingleInstance::Role::primary);
}

TEST(SingleInstance, ARuntimeFolderTooLongForASocketPathStillWorks) {
    test::TempHome home;
    const auto folder = home.paths().runtimeFolder() / std::string(120, 'x');
    platform::sim::ManualRunLoop loop;
    int shown = 0;
    SingleInstance first(folder);
    ASSERT_EQ(first.role(), SingleInstance::Role::primary);
    first.listen(loop, [&] { ++shown; });
    SingleInstance second(folder);
    EXPECT_EQ(second.role(), SingleInstance::Role::secondary);
    loop.processIo(200ms);
    EXPECT_EQ(shown, 1);
}

TEST(SingleInstance, AHeldLockWhoseHolderCannotBeReachedStillMeansACopyRuns) {
    test::TempHome home;
    const auto folder = home.paths().runtimeFolder();
    SingleInstance first(folder);
    ASSERT_EQ(first.role(), SingleInstance::Role::primary);
    // The socket goes (a cleaner of the runtime folder): the lock still holds.
    std::filesystem::remove(folder / "instance.sock");
    SingleInstance second(folder);
    EXPECT_EQ(second.role(), SingleInstance::Role::unreachable);
}

}  // namespace
}  // namespace olvane::ui
