#pragma once

#include <sys/types.h>

#include <filesystem>
#include <optional>
#include <string>

#include "platform/ProcessWatcher.h"
#include "platform/linux/RandrCtmDevice.h"

namespace olvane {

// The X display a process draws on, from its environment.
struct ApplicationDisplay {
    std::string display;
    // The authority file it connects with; empty for the default one.
    std::string authority;
};

// DISPLAY and XAUTHORITY of the process; absent when it has no DISPLAY or its environment
// cannot be read.
std::optional<ApplicationDisplay> applicationDisplayOf(
    pid_t pid, const std::filesystem::path& procRoot = "/proc");

// A process watcher that, whenever it starts watching the application, points the CTM device
// at the application's own display: the user's service manager may not know it, and once the
// application is gone its environment can no longer be read.
class DisplayFollowingProcessWatcher final : public platform::ProcessWatcher {
  public:
    DisplayFollowingProcessWatcher(platform::ProcessWatcher& inner,
                                   platform::os::RandrCtmDevice& device)
        : inner_(inner), device_(device) {}

    bool isAlive(pid_t pid) override { return inner_.isAlive(pid); }
    bool runsProgram(pid_t pid, const std::string& name) override {
        return inner_.runsProgram(pid, name);
    }
    platform::Handle watchExit(pid_t pid, platform::Task onExit) override;

  private:
    platform::ProcessWatcher& inner_;
    platform::os::RandrCtmDevice& device_;
};

}  // namespace olvane
