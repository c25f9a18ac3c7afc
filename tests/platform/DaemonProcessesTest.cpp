#include <gtest/gtest.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <functional>
#include <thread>

#include "platform/FileIO.h"
#include "platform/linux/DaemonProcesses.h"

namespace olvane::platform::os {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

// The parent's number in /proc/<pid>/stat (the field after the state).
pid_t parentOf(pid_t pid) {
    const auto stat = readWholeFile("/proc/" + std::to_string(pid) + "/stat").value_or("");
    const auto close = stat.rfind(')');
    return close == std::string::npos ? -1 : std::atoi(stat.c_str() + close + 4);
}

std::vector<std::string> descriptorsOf(pid_t pid) {
    std::vector<std::string> names;
    std::error_code ec;
    for (const auto& entry : fs::directory_iterator("/proc/" + std::to_string(pid) + "/fd", ec)) {
        names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
}

// Ended: gone, or a zombie that whoever adopted it has yet to reap.
bool hasEnded(pid_t pid) {
    const auto stat = readWholeFile("/proc/" + std::to_string(pid) + "/stat");
    const auto close = stat ? stat->rfind(')') : std::string::npos;
    return close == std::string::npos || stat->compare(close + 2, 1, "Z") == 0;
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

TEST(DaemonProcesses, StartsInASessionOfItsOwnWithNothingOfOursAndStopsOnlyItsOwn) {
    DaemonProcesses processes;
    pid_t pid = 0;
    ASSERT_TRUE(processes.start("/bin/sleep", {"30"}, pid));
    ASSERT_GT(pid, 0);
    EXPECT_TRUE(processes.isRunning(pid));
    EXPECT_NE(::getsid(pid), ::getsid(0)) << "a session of its own";
    EXPECT_NE(parentOf(pid), ::getpid()) << "not a child of ours: nothing to reap";
    // The loader holds the program's libraries open for a moment; a descriptor of ours would stay.
    EXPECT_TRUE(eventually([&] {
        return descriptorsOf(pid) == std::vector<std::string>{"0", "1", "2"};
    })) << testing::PrintToString(descriptorsOf(pid));

    processes.stop(pid);
    EXPECT_TRUE(eventually([&] { return hasEnded(pid); }));
    EXPECT_FALSE(processes.isRunning(pid));
    processes.stop(pid);  // twice, or a number never ours: nothing

    pid_t none = 0;
    const auto missing = processes.start("/nonexistent/OlvaneWatchdog", {}, none);
    EXPECT_FALSE(missing);
    EXPECT_EQ(missing.description().redacted(),
              "Impossible de lancer « <private> » : Aucun fichier ou dossier de ce nom");
}

}  // namespace
}  // namespace olvane::platform::os
