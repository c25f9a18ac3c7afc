#include "watchdog/WatchdogAgent.h"

#include <fcntl.h>
#include <unistd.h>

#include "platform/FileIO.h"
#include "platform/Paths.h"
#include "watchdog/PidFileParser.h"

namespace olvane {
namespace {

using namespace std::chrono_literals;
using platform::RemapLoadResult;
namespace remap = platform::remap;

// How long before a watch that could not be armed is tried again.
constexpr auto kRetryDelay = 500ms;

void createEmptyFileIfMissing(const std::filesystem::path& path) {
    const int fd =
        ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, platform::kPrivateFileMode);
    if (fd >= 0) {
        ::close(fd);
    }
}

}  // namespace

WatchdogAgent::WatchdogAgent(
    platform::RunLoop& loop, platform::FileWatcher& files, platform::ProcessWatcher& processes,
    std::vector<std::reference_wrapper<platform::ColorRemapDevice>> devices,
    std::filesystem::path pidFile,
    std::vector<std::reference_wrapper<platform::GrayscaleSwitch>> desktopSwitches)
    : loop_(loop),
      files_(files),
      processes_(processes),
      devices_(std::move(devices)),
      pidFile_(std::move(pidFile)),
      desktopSwitches_(std::move(desktopSwitches)) {}

void WatchdogAgent::startWatching() {
    fileWatch_.cancel();
    retry_.cancel();
    const auto folder = pidFile_.parent_path();
    (void)platform::ensurePrivateFolder(folder);
    createEmptyFileIfMissing(pidFile_);
    // The application replaces the file by a rename at each launch, so the watch is on the name
    // in the folder, not on one file. It is armed before the file is read: a launch that writes
    // the file in between is then seen one way or the other.
    fileWatch_ =
        files_.watchName(folder, pidFile_.filename().string(), [this](platform::FileEvents events) {
            if (events.has(platform::FileEvent::Lost)) {
                folderLost();
            } else {
                handlePIDFileEvent();
            }
        });
    if (const auto pid = readPID()) {
        fileWatch_.cancel();
        watchProcess(*pid);
        return;
    }
    if (!fileWatch_) {
        retryLater();
    }
}

std::optional<pid_t> WatchdogAgent::readPID() {
    const auto text = platform::readWholeFile(pidFile_);
    if (!text) {
        return std::nullopt;
    }
    const auto pid = parsePidFileText(*text);
    if (!pid || !processes_.isAlive(*pid)) {
        return std::nullopt;
    }
    return pid;
}

void WatchdogAgent::watchProcess(pid_t pid) {
    processWatch_.cancel();
    // A process that ended since the file was read is reported at once by the watcher.
    processWatch_ = processes_.watchExit(pid, [this] { resetColorRemap(); });
    if (!processWatch_) {
        retryLater();
    }
}

void WatchdogAgent::handlePIDFileEvent() {
    if (const auto pid = readPID()) {
        fileWatch_.cancel();
        watchProcess(*pid);
    }
}

// The folder went (removed or moved away with the file): the next launch would write where
// nothing listens. Made again shortly, as after a replaced file, so that a removal of its parent
// in progress can end first.
void WatchdogAgent::folderLost() {
    fileWatch_.cancel();
    retryLater();
}

void WatchdogAgent::resetColorRemap() {
    for (auto& device : devices_) {
        resetDevice(device.get());
    }
    // The desktop's settings outlive the application as the displays' modes do. Each switch
    // only gives back what the application had changed, so a clean quit leaves nothing to do.
    for (auto& desktopSwitch : desktopSwitches_) {
        if (desktopSwitch.get().load() && desktopSwitch.get().hasSetEnabled()) {
            (void)desktopSwitch.get().setEnabled(false);
        }
    }
    processWatch_.cancel();
    if (afterReset_) {
        afterReset_();
        return;
    }
    startWatching();
}

void WatchdogAgent::guardOnly(pid_t pid, std::function<void()> onDone) {
    afterReset_ = std::move(onDone);
    processWatch_ = processes_.watchExit(pid, [this] { resetColorRemap(); });
    if (!processWatch_) {
        resetColorRemap();  // already gone
    }
}

void WatchdogAgent::resetDevice(platform::ColorRemapDevice& device) {
    const auto loaded = device.load();
    if (loaded.outcome == RemapLoadResult::Outcome::FrameworkMissing) {
        return;
    }
    if (loaded.outcome == RemapLoadResult::Outcome::Loaded) {
        // Every service, built in or external; one that cannot be opened is skipped.
        if (const auto services = device.matchServices()) {
            for (const auto& entry : *services) {
                platform::RemapConnection connection = 0;
                if (device.open(entry.service, connection) == remap::kSuccess) {
                    device.setMode(connection, platform::kRemapModeColour);
                    device.close(connection);
                }
            }
        }
    }
    device.unload();
}

void WatchdogAgent::retryLater() {
    retry_ = loop_.after(kRetryDelay, [this] { startWatching(); });
}

}  // namespace olvane
