#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <thread>

#include "platform/linux/EpollRunLoop.h"
#include "platform/linux/PidfdProcessWatcher.h"
#include "support/ChildProcess.h"
#include "support/TempHome.h"

namespace olvane::platform::os {
namespace {

using namespace std::chrono_literals;

pid_t startSleeper() {
    const pid_t pid = ::fork();
    if (pid == 0) {
        ::pause();
        ::_exit(0);
    }
    return pid;
}

void reap(pid_t pid) {
    int status = 0;
    ::waitpid(pid, &status, 0);
}

class PidfdProcessWatcherTest : public ::testing::Test {
  protected:
    EpollRunLoop loop_;
    PidfdProcessWatcher watcher_{loop_};
};

TEST_F(PidfdProcessWatcherTest, ReportsTheExitOnceOnTheLoop) {
    const pid_t pid = startSleeper();
    ASSERT_TRUE(watcher_.isAlive(pid));
    int exits = 0;
    Handle watch;
    watch = watcher_.watchExit(pid, [&] {
        ++exits;
        watch.cancel();  // a callback may drop its own watch
    });
    ASSERT_TRUE(watch);
    loop_.runUntil([] { return false; }, 20ms);
    EXPECT_EQ(exits, 0);

    ::kill(pid, SIGKILL);
    EXPECT_TRUE(loop_.runUntil([&] { return exits > 0; }, 5s));
    // Not yet reaped: a zombie has ended.
    EXPECT_FALSE(watcher_.isAlive(pid));
    loop_.runUntil([] { return false; }, 20ms);
    EXPECT_EQ(exits, 1);
    reap(pid);
}

TEST_F(PidfdProcessWatcherTest, ProcessAlreadyGoneIsReportedAtOnce) {
    const pid_t pid = startSleeper();
    ::kill(pid, SIGKILL);
    reap(pid);
    EXPECT_FALSE(watcher_.isAlive(pid));
    bool exited = false;
    auto watch = watcher_.watchExit(pid, [&] { exited = true; });
    ASSERT_TRUE(watch);
    EXPECT_FALSE(exited) << "reported on the loop, not inside the call";
    EXPECT_TRUE(loop_.runUntil([&] { return exited; }, 1s));
}

TEST_F(PidfdProcessWatcherTest, CancelledWatchStaysSilent) {
    const pid_t pid = startSleeper();
    bool exited = false;
    auto watch = watcher_.watchExit(pid, [&] { exited = true; });
    watch.cancel();
    ::kill(pid, SIGKILL);
    reap(pid);
    loop_.runUntil([] { return false; }, 50ms);
    EXPECT_FALSE(exited);
}

TEST_F(PidfdProcessWatcherTest, LivenessOfOthersAndOfNonsense) {
    EXPECT_TRUE(watcher_.isAlive(::getpid()));
    EXPECT_TRUE(watcher_.isAlive(1)) << "another user's process counts as alive";
    EXPECT_FALSE(watcher_.isAlive(0));
    EXPECT_FALSE(watcher_.isAlive(-1));
    EXPECT_FALSE(watcher_.watchExit(0, [] {}));
}

// Started through a link, a program is known by both names.
TEST_F(PidfdProcessWatcherTest, KnowsAProgramByItsFileAndByTheNameItWasStartedUnder) {
    test::TempHome home;
    const auto link = home.root() / "OlvaneMac";
    std::filesystem::create_symlink("/bin/sleep", link);
    test::ChildProcess child(link, {"600"});
    // Until the child has replaced itself with the program.
    for (int i = 0; i < 2500 && !watcher_.runsProgram(child.pid(), "sleep"); ++i) {
        std::this_thread::sleep_for(2ms);
    }
    EXPECT_TRUE(watcher_.runsProgram(child.pid(), "sleep"));
    EXPECT_TRUE(watcher_.runsProgram(child.pid(), "OlvaneMac"));
    EXPECT_FALSE(watcher_.runsProgram(child.pid(), "Olvane"));
    EXPECT_FALSE(watcher_.runsProgram(-1, "sleep"));
}

}  // namespace
}  // namespace olvane::platform::os
