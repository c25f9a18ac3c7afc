#pragma once

#include <filesystem>

#include "platform/Paths.h"
#include "platform/ServiceManager.h"
#include "platform/ServiceStatus.h"
#include "platform/Status.h"

namespace olvane {

// Publishes this process's identifier in the PID file and keeps the watchdog agent registered
// as a user service, so that the display returns to colour whenever the application ends.
class WatchdogManager {
  public:
    static constexpr const char* agentUnitName = platform::Paths::kWatchdogUnitName;

    WatchdogManager(const platform::Paths& paths, platform::ServiceManager& services,
                    std::filesystem::path agentExecutable);

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
    platform::Status removeAgent();

    std::filesystem::path pidFile_;
    std::filesystem::path unitFile_;
    std::filesystem::path agentExecutable_;
    platform::Paths paths_;
    platform::ServiceManager& services_;
};

}  // namespace olvane
