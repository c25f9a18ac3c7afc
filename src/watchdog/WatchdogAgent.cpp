#include "watchdog/WatchdogAgent.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>

#include "model/Logger.h"
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

const Logger& log() {
    return Logger::grayscaleFilter();
}

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
      desktopSwitches_(std::move(desktopSwitches)),
      giveBacks_(desktopSwitches_.size()) {}

WatchdogAgent::~WatchdogAgent() {
    releasePreparation();
}

void WatchdogAgent::start() {
    if (const auto pid = namedPID(); pid && !isApplication(*pid)) {
        resetColorRemap();  // then watches
        return;
    }
    startWatching();
}

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
    if (!fileWatch_) {
        retryLater();
    }
    handlePIDFileEvent();
}

std::optional<pid_t> WatchdogAgent::namedPID() const {
    const auto text = platform::readWholeFile(pidFile_, nullptr, kMaxPidFileBytes);
    return text ? parsePidFileText(*text) : std::nullopt;
}

// After a power cut the number may have gone to any process of the new boot.
bool WatchdogAgent::isApplication(pid_t pid) {
    return processes_.isAlive(pid) && processes_.runsProgram(pid, kApplicationProgram);
}

std::optional<pid_t> WatchdogAgent::readPID() {
    const auto pid = namedPID();
    if (!pid || !isApplication(*pid)) {
        return std::nullopt;
    }
    return pid;
}

void WatchdogAgent::watchProcess(pid_t pid) {
    leaveGiveBacksToANewRun();
    processWatch_.cancel();
    watched_.reset();
    // Before the watch: it may point a device elsewhere (another display).
    releasePreparation();
    // A process that ended since the file was read is reported at once by the watcher.
    processWatch_ = processes_.watchExit(pid, [this] { resetColorRemap(); });
    if (!processWatch_) {
        retryLater();
        return;
    }
    watched_ = pid;
    prepareReset();
}

// The file changed, or is read afresh: a launch that wrote it takes over the watch, while a
// file emptied or removed leaves the watched process to its end.
void WatchdogAgent::handlePIDFileEvent() {
    if (const auto pid = readPID(); pid && pid != watched_) {
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
    // The displays first: they are what the user sees.
    auto prepared = std::exchange(prepared_, {});
    for (std::size_t i = 0; i < devices_.size(); ++i) {
        if (i < prepared.size()) {
            resetPrepared(devices_[i].get(), prepared[i]);
        } else {
            resetDevice(devices_[i].get());
        }
    }
    // The desktop's settings outlive the application as the displays' modes do.
    for (std::size_t i = 0; i < desktopSwitches_.size(); ++i) {
        switchDesktopOff(i);
    }
    processWatch_.cancel();
    watched_.reset();
    if (afterReset_) {
        if (!waitsToGiveBack()) {
            afterReset_();
        }
        return;
    }
    startWatching();
}

// Each switch only gives back what the application had changed, so a clean quit leaves nothing
// to do, nor to say.
void WatchdogAgent::switchDesktopOff(std::size_t index) {
    auto& desktop = desktopSwitches_[index].get();
    const bool owed = desktop.keepsUserValues();
    const bool loaded = desktop.load();
    if (!loaded || !desktop.hasSetEnabled()) {
        if (owed) {
            log().logError("Fin d’OlvaneMac : réglages du bureau de l’utilisateur non remis",
                           platform::ComposedText(loaded ? desktop.lookUpFailureText()
                                                         : desktop.loadFailureText()));
        }
        return;
    }
    if (const auto status = desktop.setEnabled(false); !status) {
        log().logError("Fin d’OlvaneMac : réglages du bureau de l’utilisateur non remis", status);
        giveBacks_[index] =
            desktop.whenUserValuesMayBeGivenBack([this, index] { retryGiveBack(index); });
        if (giveBacks_[index]) {
            log().info(
                "Fin d’OlvaneMac : réglages du bureau de l’utilisateur remis dès que leur "
                "fichier sera libéré");
        }
        return;
    }
    if (owed) {
        log().info("Fin d’OlvaneMac : réglages du bureau de l’utilisateur remis");
    }
}

void WatchdogAgent::retryGiveBack(std::size_t index) {
    auto& desktop = desktopSwitches_[index].get();
    if (readPID()) {
        leaveGiveBacksToANewRun();
    } else if (desktop.load() && desktop.hasSetEnabled() && desktop.setEnabled(false)) {
        giveBacks_[index].cancel();
        log().info("Réglages du bureau de l’utilisateur remis, leur fichier libéré");
    }
    if (afterReset_ && !waitsToGiveBack()) {
        afterReset_();
    }
}

// Given back by the new run now, or by the agent after it: never over the new run's grey.
void WatchdogAgent::leaveGiveBacksToANewRun() {
    if (!waitsToGiveBack()) {
        return;
    }
    for (auto& giveBack : giveBacks_) {
        giveBack.cancel();
    }
    log().info("OlvaneMac relancé : il remettra lui-même les réglages du bureau de l’utilisateur");
}

bool WatchdogAgent::waitsToGiveBack() const {
    return std::any_of(giveBacks_.begin(), giveBacks_.end(), [](const platform::Handle& giveBack) {
        return static_cast<bool>(giveBack);
    });
}

// A process already gone is reported by the watch itself; one that cannot be watched yet may
// still run, and is tried again.
void WatchdogAgent::guardOnly(pid_t pid, std::function<void()> onDone) {
    afterReset_ = std::move(onDone);
    processWatch_ = processes_.watchExit(pid, [this] { resetColorRemap(); });
    if (!processWatch_) {
        retry_ = loop_.after(kRetryDelay, [this, pid] { guardOnly(pid, std::move(afterReset_)); });
        return;
    }
    prepareReset();
}

void WatchdogAgent::prepareReset() {
    for (auto& device : devices_) {
        auto& prepared = prepared_.emplace_back();
        auto& opened = prepared.opened;
        const auto loaded = device.get().load();
        const auto outcome = loaded.outcome;
        prepared.canReadMode = loaded.hasGetMode;
        if (outcome == RemapLoadResult::Outcome::Loaded) {
            if (const auto services = device.get().matchServices()) {
                for (const auto& entry : *services) {
                    platform::RemapConnection connection = 0;
                    if (device.get().open(entry.service, connection) == remap::kSuccess) {
                        opened.emplace_back(entry.service, connection);
                    }
                }
            }
        }
        // Nothing to hold on to: the device is tried again at the reset.
        if (opened.empty() && outcome != RemapLoadResult::Outcome::FrameworkMissing) {
            device.get().unload();
        }
    }
}

void WatchdogAgent::release(platform::ColorRemapDevice& device, OpenServices& opened) {
    for (const auto& service : opened) {
        device.close(service.second);
    }
    if (!opened.empty()) {
        device.unload();
    }
    opened.clear();
}

void WatchdogAgent::releasePreparation() {
    for (std::size_t i = 0; i < prepared_.size(); ++i) {
        release(devices_[i].get(), prepared_[i].opened);
    }
    prepared_.clear();
}

void WatchdogAgent::resetPrepared(platform::ColorRemapDevice& device, PreparedDevice& prepared) {
    auto& opened = prepared.opened;
    if (opened.empty()) {
        resetDevice(device);
        return;
    }
    bool failed = false;
    for (const auto& service : opened) {
        // A refusal is said by the fresh attempt below.
        failed =
            !resetConnection(device, service.first, service.second, prepared.canReadMode, false) ||
            failed;
    }
    if (!failed) {
        // Services that came while the application ran.
        if (const auto services = device.matchServices()) {
            for (const auto& entry : *services) {
                if (std::none_of(opened.begin(), opened.end(), [&](const auto& service) {
                        return service.first == entry.service;
                    })) {
                    resetService(device, entry.service, prepared.canReadMode);
                }
            }
        }
    }
    release(device, opened);
    // A connection may have broken while the application ran (its X server went, say): the
    // device is loaded afresh, as if nothing had been readied.
    if (failed) {
        resetDevice(device);
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
                resetService(device, entry.service, loaded.hasGetMode);
            }
        }
    }
    device.unload();
}

void WatchdogAgent::resetService(platform::ColorRemapDevice& device, const std::string& service,
                                 bool canReadMode) {
    platform::RemapConnection connection = 0;
    if (const auto opened = device.open(service, connection); opened != remap::kSuccess) {
        log().error("Fin d’OlvaneMac : couleur non remise sur l’affichage %{public}s (code %d)",
                    service, opened);
        return;
    }
    (void)resetConnection(device, service, connection, canReadMode, true);
    device.close(connection);
}

bool WatchdogAgent::resetConnection(platform::ColorRemapDevice& device, const std::string& service,
                                    platform::RemapConnection connection, bool canReadMode,
                                    bool logFailure) {
    long reset = 0;
    const auto status = device.resetToColour(connection, canReadMode, reset);
    if (status != remap::kSuccess) {
        if (logFailure) {
            log().error("Fin d’OlvaneMac : couleur non remise sur l’affichage %{public}s (code %d)",
                        service, status);
        }
        return false;
    }
    if (reset > 0) {
        log().info("Fin d’OlvaneMac : couleur remise sur l’affichage %{public}s", service);
    }
    return true;
}

void WatchdogAgent::retryLater() {
    retry_ = loop_.after(kRetryDelay, [this] { startWatching(); });
}

}  // namespace olvane
