#pragma once

#include <sys/types.h>

#include <filesystem>
#include <optional>

#include "platform/DetachedProcesses.h"
#include "platform/Paths.h"
#include "platform/ServiceManager.h"
#include "platform/ServiceStatus.h"
#include "platform/Status.h"

namespace olvane {

// Publishes this process's identifier in the PID file and keeps the watchdog agent registered
// as a user service, so that the display returns to colour whenever the application ends. Where
// no user service manager runs, the agent is started as a detached process of its own that
// guards this run only and ends once it has put the colour back; this run starts it again when
// it ends before.
class WatchdogManager {
  public:
    static constexpr const char* agentUnitName = platform::Paths::kWatchdogUnitName;
    // The agent's argument when it guards one process only.
    static constexpr const char* kGuardArgument = "--pid";
    // A detached agent that keeps ending is not started again past this many times.
    static constexpr int kMaxAgentRestarts = 5;

    WatchdogManager(const platform::Paths& paths, platform::ServiceManager& services,
                    platform::DetachedProcesses& detached, std::filesystem::path agentExecutable);

    // "<data folder>/watchdog-pid".
    static std::filesystem::path pidFileURL(const platform::Paths& paths);
    // OlvaneWatchdog beside the running program, or in the build tree's watchdog folder.
    static std::filesystem::path defaultAgentExecutable();

    void writePID();
    void registerAgent();
    void clearPID();
    void unregisterAgent();

    // Enabled while the unit file is current and the user manager runs it at each login.
    platform::ServiceStatus agentStatus();

  private:
    platform::Status installAgent();
    platform::Status startDetachedAgent();
    void restartDetachedAgent();
    platform::Status removeAgent();

    std::filesystem::path pidFile_;
    std::filesystem::path unitFile_;
    std::filesystem::path agentExecutable_;
    platform::Paths paths_;
    platform::ServiceManager& services_;
    platform::DetachedProcesses& detached_;
    std::optional<pid_t> detachedAgent_;
    platform::Handle detachedAgentEnd_;
    int agentRestarts_ = 0;
};

}  // namespace olvane
