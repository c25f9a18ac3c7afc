#include "grayscale/AccessibilityBridge.h"

#include "model/Logger.h"

namespace olvane {

AccessibilityBridge::AccessibilityBridge(platform::GrayscaleSwitch& grayscaleSwitch,
                                         platform::AccessibilityTrust& trust)
    : switch_(grayscaleSwitch), trust_(trust) {}

bool AccessibilityBridge::setGrayscaleEnabled(bool enabled) {
    used_ = true;
    // Values still waiting stay saved: a switch on keeps them as the user's, a switch off tries
    // again on its own.
    giveBack_.cancel();
    if (library_ == Library::NotLoaded) {
        library_ = switch_.load() ? Library::Loaded : Library::Missing;
    }
    const auto& log = Logger::grayscaleFilter();
    if (library_ == Library::Missing) {
        log.logError(platform::ComposedText(switch_.loadFailureText()));
        return false;
    }
    if (!switch_.hasSetEnabled()) {
        log.logError(platform::ComposedText(switch_.lookUpFailureText()));
        return false;
    }
    // The desktop's switch can fail where the original could not: say so rather than claim it.
    if (const auto status = switch_.setEnabled(enabled); !status) {
        log.logError(enabled ? "Échec de l’activation du filtre N&B du bureau"
                             : "Échec de la désactivation du filtre N&B du bureau",
                     status);
        if (!enabled) {
            giveBackWhenPossible();
        }
        return false;
    }
    log.logStateChange(enabled ? "Filtre N&B activé" : "Filtre N&B désactivé");
    return true;
}

void AccessibilityBridge::giveBackWhenPossible() {
    giveBack_ = switch_.whenUserValuesMayBeGivenBack([this] {
        if (switch_.setEnabled(false)) {
            giveBack_.cancel();
            Logger::grayscaleFilter().info("Réglages du bureau de l’utilisateur remis");
        }
    });
    if (giveBack_) {
        Logger::grayscaleFilter().info(
            "Réglages du bureau de l’utilisateur remis dès que leur fichier sera libéré");
    }
}

void AccessibilityBridge::resetLeftoverGrayscale() {
    if (used_ || !switch_.keepsUserValues()) {
        return;
    }
    if (setGrayscaleEnabled(false)) {
        Logger::grayscaleFilter().info(
            "N&B du bureau laissé par une exécution précédente : réglages de l’utilisateur remis");
    }
}

bool AccessibilityBridge::checkAccessibilityPermissions(bool prompt) {
    return olvane::checkAccessibilityPermissions(trust_, prompt);
}

bool checkAccessibilityPermissions(platform::AccessibilityTrust& trust, bool prompt) {
    const auto& log = Logger::app();
    if (trust.isProcessTrusted()) {
        log.debug("Permissions Accessibility déjà accordées");
        return true;
    }
    if (!prompt) {
        return false;
    }
    if (trust.isProcessTrustedWithPrompt()) {
        log.info("Permissions Accessibility accordées");
        return true;
    }
    log.error("Permissions Accessibility refusées ou en attente");
    return false;
}

}  // namespace olvane
