#pragma once

#include <sys/types.h>

#include <filesystem>
#include <optional>

#include "platform/Clock.h"
#include "platform/DetachedProcesses.h"
#include "platform/Paths.h"
#include "platform/RunLoop.h"
#include "platform/ServiceManager.h"
#include "platform/ServiceStatus.h"
#include "platform/Status.h"

namespace olvane {

// Publishes this process's identifier in the PID file and keeps the watchdog agent registered
// as a user service, so that the display returns to colour whenever the application ends. Where
// no user service manager runs, the agent is started as a detached process of its own that
// guards this run only and ends once it has put the colour back; this run starts it again, for as
// long as it goes on, whenever it ends before.
class WatchdogManager {
  public:
    static constexpr const char* agentUnitName = platform::Paths::kWatchdogUnitName;
    // The agent's argument when it guards one process only.
    static constexpr const char* kGuardArgument = "--pid";
    // A detached agent that ended after this long is started again at once; one that keeps
    // ending sooner waits twice as long each time from the first delay, up to the longest.
    static constexpr platform::Duration kSteadyAgentRun = std::chrono::minutes(1);
    static constexpr platform::Duration kFirstRestartDelay = std::chrono::milliseconds(100);
    static constexpr platform::Duration kLongestRestartDelay = std::chrono::seconds(10);
    // A start that keeps failing is logged once in this span.
    static constexpr platform::Duration kStartFailureLogSpan = std::chrono::minutes(1);

    WatchdogManager(const platform::Paths& paths, platform::ServiceManager& services,
                    platform::DetachedProcesses& detached, platform::RunLoop& loop,
                    const platform::Clock& clock, std::filesystem::path agentExecutable);

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
    void setAsideWhatIsNotAFile();
    platform::Status installAgent();
    platform::Status startDetachedAgent();
    void detachedAgentEnded();
    void scheduleRestart();
    // Starts the agent, or has it tried again later.
    void runDetachedAgent();
    void logStartFailure(const platform::Status& failure);
    platform::Status removeAgent();

    std::filesystem::path pidFile_;
    std::filesystem::path unitFile_;
    std::filesystem::path agentExecutable_;
    platform::Paths paths_;
    platform::ServiceManager& services_;
    platform::DetachedProcesses& detached_;
    platform::RunLoop& loop_;
    // Dates what is set aside.
    const platform::Clock& clock_;
    std::optional<pid_t> detachedAgent_;
    platform::Handle detachedAgentEnd_;
    // While no detached agent guards this run: the agent that ended last, the next try.
    std::optional<pid_t> endedAgent_;
    platform::Handle restart_;
    platform::MonotonicTime agentStarted_{};
    platform::Duration nextRestartDelay_{};
    std::optional<platform::MonotonicTime> startFailureLogged_;
    // Said once a run: every agent of the run is followed alike.
    bool pollingLogged_ = false;
};

}  // namespace olvane
