#pragma once

#include <sys/types.h>

#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "platform/ColorRemapDevice.h"
#include "platform/FileWatcher.h"
#include "platform/GrayscaleSwitch.h"
#include "platform/ProcessWatcher.h"
#include "platform/RunLoop.h"

namespace olvane {

// Watches the application named by the PID file and, whenever that process ends, however it
// ends, puts every display of every device back to colour and switches the desktop's own
// grayscale off; then waits for the next run. It logs each display and desktop it puts back, and
// each it could not. The user's desktop settings that another program's lock keeps out are
// given back once it lets go, unless a new run has begun by then.
//
// A display is put back only where it holds our own grayscale, when its mode can be read: here
// mode 0 is the identity on an output's CTM, and written whatever the state it would overwrite
// the user's own colour correction at each end of the application, a clean quit included.
//
// While the application runs, every device is kept loaded with its services open, so that the
// reset after the exit starts with the writes themselves; a device that could not be readied,
// or whose connection broke meanwhile, is loaded afresh at the reset.
class WatchdogAgent {
  public:
    WatchdogAgent(
        platform::RunLoop& loop, platform::FileWatcher& files, platform::ProcessWatcher& processes,
        std::vector<std::reference_wrapper<platform::ColorRemapDevice>> devices,
        std::filesystem::path pidFile,
        std::vector<std::reference_wrapper<platform::GrayscaleSwitch>> desktopSwitches = {});
    ~WatchdogAgent();
    WatchdogAgent(const WatchdogAgent&) = delete;
    WatchdogAgent& operator=(const WatchdogAgent&) = delete;

    // The program whose identifier the PID file holds.
    static constexpr const char* kApplicationProgram = "OlvaneMac";

    // The agent's own start: a file that names a run that ended while no agent watched it (a
    // crash, a power cut) has the colour put back at once; then as startWatching.
    void start();
    // Watches the PID file, and the application it names for as long as that runs: a number
    // written meanwhile (a new launch) is watched instead at once.
    void startWatching();
    // Guards `pid` alone, without the PID file (started by the application itself where no
    // service manager runs): its end, or its absence, resets the displays, then `onDone` runs,
    // once the desktop's settings are given back or a new run has begun.
    void guardOnly(pid_t pid, std::function<void()> onDone);
    // The running application the PID file names; not another program that took its number.
    std::optional<pid_t> readPID();
    void watchProcess(pid_t pid);
    void handlePIDFileEvent();
    void resetColorRemap();

    bool isWatchingProcess() const { return static_cast<bool>(processWatch_); }
    bool isWatchingPIDFile() const { return static_cast<bool>(fileWatch_); }

  private:
    // The services of one device opened while the application runs, by name; the device stays
    // loaded while there are any.
    using OpenServices = std::vector<std::pair<std::string, platform::RemapConnection>>;
    struct PreparedDevice {
        OpenServices opened;
        bool canReadMode = false;
    };

    // The number the PID file holds, whatever runs under it.
    std::optional<pid_t> namedPID() const;
    bool isApplication(pid_t pid);
    void folderLost();
    void prepareReset();
    void release(platform::ColorRemapDevice& device, OpenServices& opened);
    void releasePreparation();
    void resetPrepared(platform::ColorRemapDevice& device, PreparedDevice& prepared);
    void resetDevice(platform::ColorRemapDevice& device);
    void resetService(platform::ColorRemapDevice& device, const std::string& service,
                      bool canReadMode);
    // False when the device refused; logged then only with `logFailure`.
    bool resetConnection(platform::ColorRemapDevice& device, const std::string& service,
                         platform::RemapConnection connection, bool canReadMode, bool logFailure);
    void switchDesktopOff(std::size_t index);
    void retryGiveBack(std::size_t index);
    // The values still saved are the new run's to give back.
    void leaveGiveBacksToANewRun();
    bool waitsToGiveBack() const;
    void retryLater();

    platform::RunLoop& loop_;
    platform::FileWatcher& files_;
    platform::ProcessWatcher& processes_;
    std::vector<std::reference_wrapper<platform::ColorRemapDevice>> devices_;
    std::filesystem::path pidFile_;
    std::vector<std::reference_wrapper<platform::GrayscaleSwitch>> desktopSwitches_;
    // One per desktop switch: its give-back waiting for a lock to go.
    std::vector<platform::Handle> giveBacks_;
    // One per device, in the same order, while a process is watched; empty otherwise.
    std::vector<PreparedDevice> prepared_;
    platform::Handle fileWatch_;
    platform::Handle processWatch_;
    // The process processWatch_ follows.
    std::optional<pid_t> watched_;
    platform::Handle retry_;
    // Set by guardOnly: what follows the reset instead of waiting for the next run.
    std::function<void()> afterReset_;
};

}  // namespace olvane
