#include "grayscale/FramebufferService.h"

#include <limits>
#include <string>

#include "grayscale/FramebufferCrashGuard.h"
#include "model/Logger.h"

namespace olvane {
namespace {

using platform::ExternalProperty;
using platform::RemapLoadResult;
namespace remap = platform::remap;

const Logger& log() {
    return Logger::grayscaleFilter();
}

}  // namespace

FramebufferService::FramebufferService(platform::ColorRemapDevice& device) : device_(device) {}

FramebufferService::~FramebufferService() {
    // The handlers must never reach a connection that is gone.
    if (connection_ != 0 && signalConnection.load() == connection_) {
        signalGrayscaleActive.store(false);
        signalSetModeFn.store(nullptr);
        signalConnection.store(0);
    }
    if (connection_ != 0) {
        device_.close(connection_);
    }
    if (driverLoaded_) {
        device_.unload();
    }
}

bool FramebufferService::probe() {
    if (isAvailable_) {
        log().debug("Probe DCP : déjà initialisé");
        return true;
    }
    log().info("Probe DCP : démarrage...");
    const auto loaded = device_.load();
    if (loaded.outcome == RemapLoadResult::Outcome::FrameworkMissing) {
        log().info("Probe DCP : pilote indisponible (%{public}s)", loaded.error);
        isAvailable_ = false;
        return false;
    }
    if (loaded.outcome == RemapLoadResult::Outcome::SymbolsMissing) {
        log().info("Probe DCP : symboles Open/Set introuvables");
        device_.unload();
        isAvailable_ = false;
        return false;
    }
    if (driverLoaded_) {
        device_.unload();  // a probe after a failed one: keep a single load
    }
    driverLoaded_ = true;
    hasGetMode_ = loaded.hasGetMode;
    displayService_ = findBuiltInDisplay();
    if (!displayService_) {
        log().info("Probe DCP : aucun écran intégré trouvé");
        isAvailable_ = false;
        return false;
    }
    if (!openBuiltInDisplay()) {
        displayService_.reset();
        isAvailable_ = false;
        return false;
    }
    std::uint32_t mode = std::numeric_limits<std::uint32_t>::max();
    if (!hasGetMode_ || device_.getMode(connection_, mode) != remap::kSuccess) {
        log().info("Probe DCP : succès (Get indisponible, Set uniquement)");
    } else {
        log().info("Probe DCP : succès — mode actuel = %u", mode);
    }
    signalConnection.store(connection_);
    signalSetModeFn.store(device_.signalSafeSetMode());
    isAvailable_ = true;
    log().info("Probe DCP : API disponible et fonctionnelle");
    return true;
}

bool FramebufferService::openBuiltInDisplay() {
    platform::RemapConnection connection = 0;
    const auto status = device_.open(*displayService_, connection);
    if (status != remap::kSuccess) {
        log().info("Probe DCP : échec ouverture connexion (code: %d)", status);
        return false;
    }
    connection_ = connection;
    return true;
}

std::optional<std::string> FramebufferService::findBuiltInDisplay() {
    const auto services = device_.matchServices();
    if (!services) {
        return std::nullopt;
    }
    for (const auto& entry : *services) {
        if (entry.external != ExternalProperty::True) {
            return entry.service;
        }
    }
    return std::nullopt;
}

bool FramebufferService::enableGrayscale() {
    return writeMode(platform::kRemapModeGrayscale);
}

bool FramebufferService::disableGrayscale() {
    return writeMode(platform::kRemapModeColour);
}

bool FramebufferService::writeMode(std::uint32_t mode) {
    if (!isAvailable_ || !driverLoaded_) {
        return false;
    }
    const bool enabling = mode == platform::kRemapModeGrayscale;
    const auto status = device_.setMode(connection_, mode);
    if (status != remap::kSuccess) {
        log().logError(
            platform::ComposedText(enabling ? "DCP enableGrayscale" : "DCP disableGrayscale") +
            " échec (code: " + platform::ComposedText(std::to_string(status)) + ")");
        return false;
    }
    signalGrayscaleActive.store(enabling);
    refreshDisplay();
    log().logStateChange(enabling ? "Filtre N&B activé via DCP" : "Filtre N&B désactivé via DCP");
    return true;
}

void FramebufferService::forceDisable() {
    if (!driverLoaded_) {
        return;
    }
    const auto services = device_.matchServices();
    if (!services) {
        return;
    }
    // After grey this run wrote itself, mode 0 whatever the display holds, as the crash handlers
    // write it. Otherwise (a start after a crash, a quit with the filter suspended) mode 0 could
    // overwrite the user's own setting, a CTM say: only our own grayscale goes.
    const bool oursOnScreen = signalGrayscaleActive.load();
    long restored = 0;
    for (const auto& entry : *services) {
        platform::RemapConnection connection = 0;
        if (device_.open(entry.service, connection) != remap::kSuccess) {
            continue;
        }
        long reset = 0;
        (void)device_.resetToColour(connection, hasGetMode_ && !oursOnScreen, reset);
        restored += reset;
        device_.close(connection);
    }
    signalGrayscaleActive.store(false);
    if (restored > 0) {
        log().info("DCP forceDisable : %ld écran(s) restauré(s)", restored);
    }
}

void FramebufferService::resetLeftoverGrayscale() {
    if (!canReadMode()) {
        return;
    }
    long reset = 0;
    const auto status = device_.resetOwnGrayscale(connection_, reset);
    if (reset > 0) {
        refreshDisplay();
        log().info("DCP : N&B laissé par une exécution précédente, %ld écran(s) remis en couleur",
                   reset);
    }
    if (status != remap::kSuccess) {
        log().logError("DCP resetLeftoverGrayscale échec (code: " +
                       platform::ComposedText(std::to_string(status)) + ")");
    }
}

void FramebufferService::refreshDisplay() {
    if (const auto table = device_.readMainDisplayTransfer()) {
        device_.writeMainDisplayTransfer(*table);
    }
}

std::optional<std::uint32_t> FramebufferService::readMode() {
    std::uint32_t mode = 0;
    if (!canReadMode() || device_.getMode(connection_, mode) != remap::kSuccess) {
        return std::nullopt;
    }
    return mode;
}

void FramebufferService::installSignalHandlers() {
    installFramebufferSignalHandlers();
    log().debug("Signal handlers DCP installés");
}

}  // namespace olvane
