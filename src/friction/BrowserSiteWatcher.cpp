#include "friction/BrowserSiteWatcher.h"

#include <cmath>

#include "model/Logger.h"
#include "platform/FileIO.h"
#include "platform/Json.h"

namespace olvane {
namespace {

std::string orNil(const std::optional<std::string>& domain) {
    return domain ? *domain : "(nil)";
}

}  // namespace

BrowserSiteWatcher::BrowserSiteWatcher(Collaborators collaborators, std::string browserName,
                                       std::string browserBundleID, std::string fileName,
                                       std::filesystem::path folder)
    : loop_(collaborators.loop),
      files_(collaborators.files),
      workspace_(collaborators.workspace),
      notifications_(collaborators.notifications),
      browserName_(std::move(browserName)),
      browserBundleID_(std::move(browserBundleID)),
      fileName_(std::move(fileName)),
      folder_(std::move(folder)) {}

void BrowserSiteWatcher::start() {
    if (fileWatcher_) {
        return;
    }
    const auto path = file();
    std::error_code ec;
    if (!std::filesystem::exists(path, ec)) {
        // A failure shows in the watch that follows.
        (void)platform::createFileAtomically(path, "{}");
    }
    currentDomain_.reset();
    fileWatcher_ = files_.watchFile(path, [this](platform::FileEvents events) {
        if (events.has(platform::FileEvent::Write) || events.has(platform::FileEvent::Rename)) {
            scheduleProcessing();
        }
    });
    if (!fileWatcher_) {
        frictionLogger().error("Impossible d'ouvrir %{public}s pour surveillance", fileName_);
        return;
    }
    frictionLogger().info("%{public}sSiteWatcher démarré", browserName_);
    processFile();
}

void BrowserSiteWatcher::stop() {
    debounceWorkItem_.cancel();
    fileWatcher_.cancel();
    currentDomain_.reset();
    frictionLogger().info("%{public}sSiteWatcher arrêté", browserName_);
}

void BrowserSiteWatcher::resetState() {
    debounceWorkItem_.cancel();
    currentDomain_.reset();
    lastTimestamp_ = 0;
    frictionLogger().info("%{public}sSiteWatcher: état réinitialisé", browserName_);
}

void BrowserSiteWatcher::scheduleProcessing() {
    debounceWorkItem_ = loop_.after(platform::seconds(kDebounceSeconds), [this] { processFile(); });
}

void BrowserSiteWatcher::processFile() {
    frictionLogger().info("%{public}sSiteWatcher: traitement du fichier %{public}s", browserName_,
                          fileName_);
    const auto content = platform::readWholeFile(file());
    if (!content) {
        frictionLogger().error("%{public}sSiteWatcher: impossible de lire %{public}s", browserName_,
                               fileName_);
        return;
    }
    const auto object = json::parseObject(*content);
    if (!object) {
        frictionLogger().error("%{public}sSiteWatcher: format JSON invalide", browserName_);
        return;
    }
    // A time stamp that is not a finite number would outrank every later report.
    const auto stamp = json::numberMember(*object, "timestamp");
    const double timestamp = stamp && std::isfinite(*stamp) ? *stamp : 0;
    frictionLogger().debug("%{public}sSiteWatcher: timestamp=%f, lastTimestamp=%f", browserName_,
                           timestamp, lastTimestamp_);
    if (!accepts(timestamp)) {
        return;
    }
    lastTimestamp_ = timestamp;
    notifications_.post(kMessageReceivedNotification, {{kBrowserBundleIDKey, browserBundleID_}});

    auto domain = json::stringMember(*object, "domain");
    if (domain && domain->empty()) {
        domain.reset();
    }
    frictionLogger().info("%{public}sSiteWatcher: domaine reçu = '%s'", browserName_,
                          domain ? *domain : "(vide)");
    if (domain == currentDomain_) {
        return;
    }
    const auto previous = std::exchange(currentDomain_, domain);
    frictionLogger().logUserAction(platform::ComposedText(browserName_) +
                                   " site: " + platform::userData(orNil(previous)) + " → " +
                                   platform::userData(orNil(domain)));
    if (onDomainChanged) {
        onDomainChanged(domain);
    }
}

bool BrowserSiteWatcher::accepts(double timestamp) {
    const auto running = workspace_.runningApplications(browserBundleID_);
    if (running.empty()) {
        frictionLogger().info(
            "%{public}sSiteWatcher: navigateur non en cours d'exécution, fichier ignoré",
            browserName_);
        return false;
    }
    // A file written before this browser started belongs to an earlier run of it.
    const auto& launchDate = running.front().launchDate;
    if (launchDate && *launchDate > timestamp) {
        frictionLogger().info(
            "%{public}sSiteWatcher: fichier antérieur au lancement du navigateur (%f > %f), "
            "ignoré",
            browserName_, *launchDate, timestamp);
        return false;
    }
    if (timestamp <= lastTimestamp_) {
        frictionLogger().debug("%{public}sSiteWatcher: contexte déjà traité (timestamp)",
                               browserName_);
        return false;
    }
    return true;
}

}  // namespace olvane
