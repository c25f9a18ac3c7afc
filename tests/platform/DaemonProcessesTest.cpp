#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <functional>
#include <thread>

#include "platform/FileIO.h"
#include "platform/linux/DaemonProcesses.h"
#include "platform/linux/EpollRunLoop.h"

namespace olvane::platform::os {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

std::vector<std::string> descriptorsOf(pid_t pid) {
    std::vector<std::string> names;
    std::error_code ec;
    for (const auto& entry : fs::directory_iterator("/proc/" + std::to_string(pid) + "/fd", ec)) {
        names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
}

// Asked again for up to ten seconds: the condition waits on a real process.
bool eventually(const std::function<bool()>& condition) {
    for (int i = 0; i < 1000; ++i) {
        if (condition()) {
            return true;
        }
        std::this_thread::sleep_for(10ms);
    }
    return condition();
}

// Gone altogether: no zombie left behind.
bool isGone(pid_t pid) {
    return !fs::exists("/proc/" + std::to_string(pid));
}

TEST(DaemonProcesses, StartsInASessionOfItsOwnWithNothingOfOursAndStopsOnlyItsOwn) {
    EpollRunLoop loop;
    DaemonProcesses processes(loop);
    pid_t pid = 0;
    ASSERT_TRUE(processes.start("/bin/sleep", {"30"}, pid));
    ASSERT_GT(pid, 0);
    EXPECT_TRUE(processes.isRunning(pid));
    EXPECT_NE(::getsid(pid), ::getsid(0)) << "a session of its own";
    // The loader holds the program's libraries open for a moment; a descriptor of ours would stay.
    EXPECT_TRUE(eventually([&] {
        return descriptorsOf(pid) == std::vector<std::string>{"0", "1", "2"};
    })) << testing::PrintToString(descriptorsOf(pid));

    bool reported = false;
    auto watch = processes.watchEnd(pid, [&] { reported = true; });
    processes.stop(pid);
    EXPECT_FALSE(processes.isRunning(pid));
    EXPECT_TRUE(loop.runUntil([&] { return isGone(pid); }, 10s)) << "reaped";
    EXPECT_FALSE(reported) << "a stop is not news";
    processes.stop(pid);  // twice, or a number never ours: nothing
    EXPECT_FALSE(processes.watchEnd(pid, [] {}));

    pid_t none = 0;
    const auto missing = processes.start("/nonexistent/OlvaneWatchdog", {}, none);
    EXPECT_FALSE(missing);
    EXPECT_EQ(missing.description().redacted(),
              "Impossible de lancer « <private> » : Aucun fichier ou dossier de ce nom");
}

// Also run where the kernel gives no pidfd; a child of other code is left for it to reap.
TEST(DaemonProcesses, AnEndWithoutAStopIsReportedAndReaped) {
    EpollRunLoop loop;
    DaemonProcesses processes(loop);
    const pid_t others = ::fork();
    if (others == 0) {
        ::_exit(0);
    }
    pid_t pid = 0;
    ASSERT_TRUE(processes.start("/bin/sleep", {"30"}, pid));
    if (const auto reason = processes.endPollingReason(pid)) {
        EXPECT_EQ(reason->text(),
                  "pidfd_open refusé (Fonction non implantée) : fin cherchée toutes les 500 ms");
    }
    int reports = 0;
    auto watch = processes.watchEnd(pid, [&] { ++reports; });
    ::kill(pid, SIGKILL);
    EXPECT_TRUE(loop.runUntil([&] { return reports == 1 && isGone(pid); }, 10s));
    EXPECT_FALSE(processes.isRunning(pid));
    EXPECT_EQ(::waitpid(others, nullptr, 0), others);
}

}  // namespace
}  // namespace olvane::platform::os
