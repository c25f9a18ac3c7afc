#include "app/UninstallService.h"

#include <utility>

#include "app/CrashRecoveryService.h"
#include "app/ServiceControls.h"
#include "model/Logger.h"
#include "model/RulesFileService.h"
#include "model/UserSettings.h"
#include "model/exchange/ExchangeFiles.h"
#include "model/exchange/RulesFileFormat.h"
#include "platform/FileIO.h"

namespace olvane {
namespace {

namespace fs = std::filesystem;

const Logger& log() {
    return Logger::app();
}

long long stepNumber(UninstallStep step) {
    return static_cast<long long>(step) + 1;
}

// Folders are removed whole; a missing one is reported as such, like a failed removal.
void removeFolder(const fs::path& folder) {
    std::error_code ec;
    const bool present = fs::exists(fs::symlink_status(folder, ec));
    if (present) {
        fs::remove_all(folder, ec);
    }
    if (!present || ec) {
        log().debug("Dossier non supprimé (probablement absent): %{private}s", folder);
        return;
    }
    log().info("Dossier supprimé: %{private}s", folder);
}

}  // namespace

UninstallService::UninstallService(Collaborators collaborators) : c_(std::move(collaborators)) {}

Json UninstallService::neutralRules() {
    Json rules = Json::object();
    for (const auto& set : UserSettings::defaultContentFilterRules()) {
        Json section = Json::object();
        for (const auto& rule : set.rules) {
            section[rule.id] = false;
        }
        rules[std::string(set.id())] = section;
    }
    rules[exchange::kGrayscaleSection] = {{exchange::kAllowedAppsKey, Json::array()},
                                          {exchange::kAllowedSitesKey, Json::array()}};
    rules[exchange::kRedListSection] = {{exchange::kSitesKey, Json::array()}};
    return rules;
}

void UninstallService::uninstall() {
    if (isRunning()) {
        log().info("Désinstallation déjà en cours — appel ignoré");
        return;
    }
    isRunning.set(true);
    log().info("=== Désinstallation Olvane démarrée ===");
    runStep(UninstallStep::neutralizeEffects);
}

void UninstallService::runStep(UninstallStep step) {
    currentStepLabel.set(std::string(uninstallStepLabel(step)));
    // The agent and the data folder give the user's desktop settings back should this run end
    // first: they stay until this run has given them back itself.
    if (step == UninstallStep::unregisterWatchdog &&
        c_.services.desktopGivesUserValuesBackLater()) {
        if (!std::exchange(waitLogged_, true)) {
            log().notice(
                "Désinstallation en attente : réglages du bureau de l’utilisateur pas encore "
                "remis, leur fichier tenu par un autre programme");
        }
        pause_ = c_.loop.after(platform::seconds(kDesktopValuesCheckSeconds),
                               [this, step] { runStep(step); });
        return;
    }
    log().info("Désinstallation — début étape %ld/%ld: %{public}s", stepNumber(step),
               static_cast<long long>(kUninstallStepCount), rawValue(step));
    perform(step);
    log().info("Désinstallation — fin étape %ld: %{public}s", stepNumber(step), rawValue(step));
    const auto next = uninstallStepFromRaw(static_cast<int>(step) + 1);
    if (!next) {
        return;
    }
    // The loop stays free meanwhile, so the progress sheet shows the new label.
    pause_ =
        c_.loop.after(platform::seconds(kPauseSeconds), [this, step = *next] { runStep(step); });
}

void UninstallService::perform(UninstallStep step) {
    switch (step) {
        case UninstallStep::neutralizeEffects:
            return neutralizeEffects();
        case UninstallStep::stopWatchers:
            return stopWatchers();
        case UninstallStep::pushNeutralRules:
            return pushNeutralRules();
        case UninstallStep::sendOffCommands:
            return sendOffCommands();
        case UninstallStep::removeNativeManifests:
            return c_.services.uninstallNativeHostManifests();
        case UninstallStep::disableLoginItem:
            return c_.services.disableLoginItem();
        case UninstallStep::unregisterWatchdog:
            return c_.services.unregisterWatchdogAgent();
        case UninstallStep::clearWatchdogPID:
            return clearWatchdogPID();
        case UninstallStep::deleteDataDirectories:
            return deleteDataDirectories();
        case UninstallStep::clearUserDefaults:
            return clearUserDefaults();
        case UninstallStep::recycleAndTerminate:
            return recycleAndTerminate();
    }
}

void UninstallService::neutralizeEffects() {
    if (c_.isGrayscaleFilterEnabled()) {
        c_.services.forceDisableGrayscale();
    }
    c_.services.forceCleanupFrictionEffects();
}

// Every watcher goes before anything is written or removed: a command-file watcher that saw its
// file deleted would otherwise re-arm a moment later and seed the deleted folders again.
void UninstallService::stopWatchers() {
    c_.services.stopAppMonitoring();
    c_.services.stopWindowMonitoring();
    c_.services.stopHotkeyMonitoring();
    c_.services.stopExtensionStatus();
    c_.services.stopGrayscaleCommandWatchers();
}

void UninstallService::pushNeutralRules() {
    c_.rulesFile.ensureDirectoryExists();
    if (c_.rulesFile.writeRules(neutralRules())) {
        log().info("Ruleset neutre écrit dans %{private}s", c_.rulesFile.rulesFile());
    }
    c_.rulesFile.syncToGroupContainer();
}

// These commands lift a site or fullscreen-video suspension. Only this application reads them,
// and by now its filter is off and its watchers are stopped, so they cannot turn anything grey;
// the shared container they land in is deleted a few steps later.
void UninstallService::sendOffCommands() {
    const auto container = c_.paths.sharedContainer();
    if (!platform::ensurePrivateFolder(container)) {
        log().info("Group Container Safari indisponible — commandes off ignorées");
        return;
    }
    const double now = c_.clock.unixNow();
    const Json grayscale = {{"action", exchange::kActionEnable}, {"timestamp", now}};
    const Json fullscreen = {{"action", exchange::kActionFullscreenEnd}, {"timestamp", now}};
    (void)platform::writeFileAtomically(container / exchange::kGrayscaleCommandFile,
                                        json::dumpCompact(grayscale));
    (void)platform::writeFileAtomically(container / exchange::kFullscreenCommandFile,
                                        json::dumpCompact(fullscreen));
}

// The agent writes no log file of its own here (its lines go to the journal), so the PID file
// is all there is to remove.
void UninstallService::clearWatchdogPID() {
    c_.services.clearWatchdogPID();
}

// The runtime folder goes last: it holds the simulated display, which must outlive the filter.
void UninstallService::deleteDataDirectories() {
    for (const auto& folder : {c_.rulesFile.appSupportDirectory(), c_.paths.cachesFolder(),
                               c_.paths.sharedContainer(), c_.paths.runtimeFolder()}) {
        removeFolder(folder);
    }
}

// The user defaults are a file of their own in our configuration folder: both go.
void UninstallService::clearUserDefaults() {
    (void)c_.defaults.removeDomain();
    std::error_code ec;
    fs::remove_all(c_.paths.defaultsFile().parent_path(), ec);
    c_.crashRecovery.recordCleanShutdown();
}

void UninstallService::recycleAndTerminate() {
    log().info("=== Désinstallation : envoi du bundle à la Corbeille ===");
    bool keptInPlace = false;
    if (const auto& tree = c_.bundle.buildTree()) {
        log().info(
            "Lancé depuis l'arbre de compilation %{public}s : rien n'est envoyé à la Corbeille",
            *tree);
    } else {
        if (c_.bundle.gnomeExtension()) {
            c_.services.forgetGnomeExtension();
        }
        keptInPlace = recycleBundle();
    }
    const auto terminate = [this] {
        if (c_.terminate) {
            c_.terminate();
        }
    };
    // Long enough for the progress screen's last line to be read.
    terminateRequest_ = keptInPlace
                            ? c_.loop.after(platform::seconds(kKeptInPlaceNoticeSeconds), terminate)
                            : c_.loop.post(terminate);
}

bool UninstallService::recycleBundle() {
    std::vector<fs::path> movable;
    std::vector<fs::path> kept;
    const auto mayGo = [this](const fs::path& item) {
        return !platform::existsAtPath(item) || c_.trash.mayRecycle(item);
    };
    for (const auto& item : c_.bundle.items()) {
        (mayGo(item) ? movable : kept).push_back(item);
    }
    if (!movable.empty() || kept.empty()) {
        const auto outcome = c_.trash.recycle(movable);
        if (outcome.status) {
            log().info("Bundle envoyé à la Corbeille: %ld élément(s)",
                       static_cast<long long>(outcome.newLocations.size()));
        } else {
            log().error("recycle() a échoué: %s — terminate quand même",
                        outcome.status.description());
        }
    }
    for (const auto& icon : c_.bundle.icons()) {
        std::error_code ec;
        if (!mayGo(icon)) {
            kept.push_back(icon);
        } else if (!fs::remove(icon, ec) && ec) {
            log().debug("Icône non supprimée: %{private}s", icon);
        }
    }
    if (kept.empty()) {
        return false;
    }
    // An installation for every user: only an administrator may take it away.
    log().error(
        "Installation protégée laissée en place: %s (%ld élément(s)) — seul un "
        "administrateur peut la retirer",
        kept.front(), static_cast<long long>(kept.size()));
    currentStepLabel.set("OlvaneMac reste dans " + kept.front().string() +
                         " : seul un administrateur peut l’en retirer");
    return true;
}

}  // namespace olvane
