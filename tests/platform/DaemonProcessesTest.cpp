#include <gtest/gtest.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
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

TEST(DaemonProcesses, StartsInASessionOfItsOwnWithNothingOfOursAndStopsOnlyItsOwn) {
    DaemonProcesses processes;
    pid_t pid = 0;
    ASSERT_TRUE(processes.start("/bin/sleep", {"30"}, pid));
    ASSERT_GT(pid, 0);
    EXPECT_TRUE(processes.isRunning(pid));
    EXPECT_NE(::getsid(pid), ::getsid(0)) << "a session of its own";
    EXPECT_NE(parentOf(pid), ::getpid()) << "not a child of ours: nothing to reap";
    EXPECT_EQ(descriptorsOf(pid), (std::vector<std::string>{"0", "1", "2"}));

    processes.stop(pid);
    for (int i = 0; i < 500 && ::kill(pid, 0) == 0; ++i) {
        std::this_thread::sleep_for(10ms);
    }
    EXPECT_NE(::kill(pid, 0), 0);
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
