#include "app/WatchdogManager.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <string>

#include "app/ApplicationBundle.h"
#include "app/WatchdogUnitFile.h"
#include "model/Logger.h"
#include "model/exchange/ExchangeFiles.h"
#include "platform/FileIO.h"

namespace olvane {
namespace {

namespace fs = std::filesystem;
using platform::ServiceStatus;
using platform::Status;

const Logger& log() {
    return Logger::app();
}

}  // namespace

WatchdogManager::WatchdogManager(const platform::Paths& paths, platform::ServiceManager& services,
                                 platform::DetachedProcesses& detached, platform::RunLoop& loop,
                                 const platform::Clock& clock, fs::path agentExecutable)
    : pidFile_(pidFileURL(paths)),
      unitFile_(paths.watchdogUnitFile()),
      agentExecutable_(std::move(agentExecutable)),
      paths_(paths),
      services_(services),
      detached_(detached),
      loop_(loop),
      clock_(clock) {}

fs::path WatchdogManager::pidFileURL(const platform::Paths& paths) {
    return paths.dataFolder() / exchange::kWatchdogPidFile;
}

fs::path WatchdogManager::defaultAgentExecutable() {
    return ApplicationBundle::companionProgram("OlvaneWatchdog", "watchdog");
}

void WatchdogManager::writePID() {
    (void)platform::ensurePrivateFolder(pidFile_.parent_path());
    setAsideWhatIsNotAFile();
    const int pid = static_cast<int>(::getpid());
    // Digits only, no line end; replaced by a rename so the agent never reads half a number.
    if (const auto written = platform::writeFileAtomically(pidFile_, std::to_string(pid));
        !written) {
        log().logError("Échec écriture Watchdog PID", written);
        return;
    }
    log().debug("Watchdog PID écrit: %d", pid);
}

// A folder in the file's place cannot be replaced by a rename, and the agent would follow no
// one; a link is not ours to replace or to write through. Whatever it is, it is kept.
void WatchdogManager::setAsideWhatIsNotAFile() {
    struct stat st {};
    if (::lstat(pidFile_.c_str(), &st) != 0 || S_ISREG(st.st_mode)) {
        return;
    }
    const fs::path base =
        pidFile_.string() + ".aside-" + platform::dateStampForName(clock_.unixNow());
    fs::path placed;
    const auto moved = platform::placeUnderFreeName(
        base,
        [&](const fs::path& name) { return platform::renameWithoutReplacing(pidFile_, name); },
        placed);
    if (!moved) {
        log().logError("Watchdog PID : impossible de mettre de côté ce qui occupe sa place", moved);
        return;
    }
    log().notice(
        "Watchdog PID : ce qui occupait sa place n’était pas un fichier, mis de côté "
        "sous le nom %{public}s",
        placed.filename().string());
}

void WatchdogManager::clearPID() {
    std::error_code ec;
    fs::remove(pidFile_, ec);
    log().debug("Watchdog PID effacé");
}

ServiceStatus WatchdogManager::agentStatus() {
    if (!platform::existsAtPath(agentExecutable_)) {
        return ServiceStatus::NotFound;
    }
    const auto wanted = WatchdogUnitFile::render(agentExecutable_, paths_);
    const auto current = platform::readWholeFile(unitFile_);
    if (!wanted || !current || *current != *wanted || !services_.isRunning()) {
        return ServiceStatus::NotRegistered;
    }
    return services_.isEnabled(agentUnitName) && services_.isActive(agentUnitName)
               ? ServiceStatus::Enabled
               : ServiceStatus::NotRegistered;
}

void WatchdogManager::registerAgent() {
    if (!services_.isRunning()) {
        runDetachedAgent();
        return;
    }
    if (agentStatus() == ServiceStatus::Enabled) {
        log().debug("Watchdog agent déjà enregistré");
        return;
    }
    if (const auto installed = installAgent(); !installed) {
        log().error("Échec enregistrement watchdog agent: %s", installed.description());
        return;
    }
    log().info("Watchdog agent enregistré avec succès");
}

// It guards this process by its number: with no manager to restart it, it has no later run to
// wait for, and ends once it has put the colour back.
Status WatchdogManager::startDetachedAgent() {
    if (!platform::existsAtPath(agentExecutable_)) {
        return Status::failure("OlvaneWatchdog introuvable : " +
                               platform::quotedPath(agentExecutable_));
    }
    pid_t pid = 0;
    if (auto started =
            detached_.start(agentExecutable_, {kGuardArgument, std::to_string(::getpid())}, pid);
        !started) {
        return started;
    }
    detachedAgent_ = pid;
    agentStarted_ = loop_.now();
    detachedAgentEnd_ = detached_.watchEnd(pid, [this] { detachedAgentEnded(); });
    if (const auto reason = detached_.endPollingReason(pid); reason && !pollingLogged_) {
        pollingLogged_ = true;
        log().error("Watchdog agent (%d) suivi sans pidfd : %s", pid, *reason);
    }
    return Status::success();
}

// Killed or out of memory while this run goes on: without it, the run's crash would leave the
// screen grey.
void WatchdogManager::detachedAgentEnded() {
    endedAgent_ = *std::exchange(detachedAgent_, std::nullopt);
    if (loop_.now() - agentStarted_ >= kSteadyAgentRun) {
        nextRestartDelay_ = {};
    }
    scheduleRestart();
}

// An agent that cannot start or keeps dying is tried less and less often, never given up on.
void WatchdogManager::scheduleRestart() {
    const auto delay = nextRestartDelay_;
    nextRestartDelay_ = delay == platform::Duration{} ? kFirstRestartDelay
                                                      : std::min(2 * delay, kLongestRestartDelay);
    restart_ = loop_.after(delay, [this] { runDetachedAgent(); });
}

void WatchdogManager::runDetachedAgent() {
    if (const auto started = startDetachedAgent(); !started) {
        logStartFailure(started);
        scheduleRestart();
        return;
    }
    if (const auto ended = std::exchange(endedAgent_, std::nullopt)) {
        log().notice("Watchdog agent (%d) terminé : relancé en processus détaché (%d)", *ended,
                     *detachedAgent_);
    } else {
        log().info("Watchdog agent démarré en processus détaché (%d) : pas de systemd --user",
                   *detachedAgent_);
    }
}

void WatchdogManager::logStartFailure(const Status& failure) {
    const auto now = loop_.now();
    if (startFailureLogged_ && now - *startFailureLogged_ < kStartFailureLogSpan) {
        return;
    }
    startFailureLogged_ = now;
    if (endedAgent_) {
        log().error("Watchdog agent (%d) terminé, relance impossible: %s", *endedAgent_,
                    failure.description());
    } else {
        log().error("Échec enregistrement watchdog agent: %s", failure.description());
    }
}

Status WatchdogManager::installAgent() {
    if (!platform::existsAtPath(agentExecutable_)) {
        return Status::failure("OlvaneWatchdog introuvable : " +
                               platform::quotedPath(agentExecutable_));
    }
    const auto unit = WatchdogUnitFile::render(agentExecutable_, paths_);
    if (!unit) {
        return Status::failure("Chemin inutilisable dans une unité systemd");
    }
    if (auto folder = platform::ensurePrivateFolder(unitFile_.parent_path()); !folder) {
        return folder;
    }
    if (auto written = platform::writeFileAtomically(unitFile_, *unit); !written) {
        return written;
    }
    if (auto reloaded = services_.reload(); !reloaded) {
        return reloaded;
    }
    if (auto enabled = services_.enable(agentUnitName); !enabled) {
        return enabled;
    }
    // A restart also makes a running agent take a rewritten unit.
    return services_.restart(agentUnitName);
}

void WatchdogManager::unregisterAgent() {
    if (const auto removed = removeAgent(); !removed) {
        log().debug("Watchdog agent désenregistrement: %s", removed.description());
        return;
    }
    log().info("Watchdog agent désenregistré");
}

Status WatchdogManager::removeAgent() {
    const bool stoppedDetached = detachedAgent_.has_value() || restart_;
    restart_.cancel();
    endedAgent_.reset();
    nextRestartDelay_ = {};
    detachedAgentEnd_.cancel();
    if (detachedAgent_) {
        detached_.stop(*std::exchange(detachedAgent_, std::nullopt));
    }
    const bool hadUnit = platform::existsAtPath(unitFile_);
    if (!services_.isRunning()) {
        std::error_code ec;
        fs::remove(unitFile_, ec);
        return hadUnit || stoppedDetached
                   ? Status::success()
                   : Status::failure(
                         "Aucun gestionnaire de services utilisateur (systemd --user) actif");
    }
    const auto disabled = services_.disableAndStop(agentUnitName);
    std::error_code ec;
    fs::remove(unitFile_, ec);
    const auto reloaded = services_.reload();
    if (!disabled) {
        return disabled;
    }
    return reloaded;
}

}  // namespace olvane
