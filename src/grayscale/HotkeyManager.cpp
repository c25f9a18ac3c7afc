#include "grayscale/HotkeyManager.h"

#include "model/Logger.h"

namespace olvane {
namespace {

const Logger& log() {
    return Logger::hotkeys();
}

}  // namespace

HotkeyManager::HotkeyManager(platform::RunLoop& loop, platform::KeyEventSource& keys,
                             platform::AccessibilityTrust& trust)
    : loop_(loop), keys_(keys), trust_(trust) {}

// Stopped without a word: the shutdown has already said so when it ran.
HotkeyManager::~HotkeyManager() {
    globalMonitor_.cancel();
    localMonitor_.cancel();
}

void HotkeyManager::startMonitoring() {
    log().notice("🔥 Démarrage de la surveillance des raccourcis");
    log().notice("📋 Raccourcis: Ctrl+Alt+Super+A (3s), Ctrl+Alt+Super+Z puis PMNB (5min)");
    const bool trusted = trust_.isProcessTrusted();
    log().notice("🔑 Permissions Accessibility: %{public}s", trusted ? "OK" : "MANQUANTES");
    if (!trusted) {
        log().error(
            "⚠️ Les raccourcis globaux ne fonctionneront pas sans les permissions "
            "Accessibility");
    }
    // A second start replaces the monitors rather than doubling every key press.
    globalMonitor_ =
        keys_.addGlobalKeyDownMonitor([this](const auto& event) { handleKeyEvent(event); });
    localMonitor_ =
        keys_.addLocalKeyDownMonitor([this](const auto& event) { handleKeyEvent(event); });
    if (globalMonitor_) {
        log().notice("✓ Moniteur global créé");
    } else {
        log().error("❌ Échec création du moniteur global");
    }
    if (localMonitor_) {
        log().notice("✓ Moniteur local créé");
    } else {
        log().error("❌ Échec création du moniteur local");
    }
}

void HotkeyManager::stopMonitoring() {
    globalMonitor_.cancel();
    localMonitor_.cancel();
    resetSequence();
    log().info("Surveillance des raccourcis arrêtée");
}

void HotkeyManager::handleKeyEvent(const platform::KeyEvent& event) {
    const auto flags = event.modifiers;
    // Every key typed in the session passes here, passwords included, and the journal keeps
    // debug lines: which key it was stays out of persistent logs.
    log().debug("keyCode=%{private}hu | Ctrl=%{bool}d Alt=%{bool}d Super=%{bool}d", event.keyCode,
                flags.has(platform::KeyModifier::Control), flags.has(platform::KeyModifier::Option),
                flags.has(platform::KeyModifier::Command));
    // While the sequence runs every key-down is one of its keys, repeats included.
    if (isWaitingForSequence_) {
        handleSequenceKey(event.keyCode);
        return;
    }
    if (!flags.containsAll(requiredModifiers)) {
        return;
    }
    if (event.keyCode == pause5MinStartKey) {
        log().notice("🎹 Ctrl+Alt+Super+Z détecté → En attente de séquence P-M-N-B");
        beginSequence();
    } else if (event.keyCode == pause3SecondsKey) {
        log().logUserAction("🎹 Ctrl+Alt+Super+A détecté → Pause 3 secondes");
        runSoon(&HotkeyManager::onPause3Seconds);
    }
}

void HotkeyManager::beginSequence() {
    isWaitingForSequence_ = true;
    sequenceBuffer_.clear();
    restartSequenceTimer();
}

void HotkeyManager::handleSequenceKey(std::uint16_t keyCode) {
    const auto position = sequenceBuffer_.size();
    if (position >= pause5MinSequence.size()) {
        resetSequence();
        return;
    }
    const auto expected = pause5MinSequence[position];
    if (keyCode != expected) {
        log().notice("✗ Touche incorrecte: %s (attendu: %{public}s), reset séquence",
                     keyName(keyCode), keyName(expected));
        resetSequence();
        return;
    }
    sequenceBuffer_.push_back(keyCode);
    log().notice("✓ Séquence: %ld/4 - Touche %s OK", static_cast<long>(sequenceBuffer_.size()),
                 keyName(keyCode));
    restartSequenceTimer();
    if (sequenceBuffer_.size() == pause5MinSequence.size()) {
        log().logUserAction("🎹 Séquence P-M-N-B complète → Pause 5 minutes");
        runSoon(&HotkeyManager::onPause5Minutes);
        resetSequence();
    }
}

void HotkeyManager::resetSequence() {
    isWaitingForSequence_ = false;
    sequenceBuffer_.clear();
    sequenceTimer_.cancel();
}

void HotkeyManager::restartSequenceTimer() {
    sequenceTimer_ = loop_.after(sequenceStepTimeout, [this] {
        log().notice("⏰ Timeout séquence, reset");
        resetSequence();
    });
}

void HotkeyManager::runSoon(Callback HotkeyManager::*callback) {
    const auto id = nextQueuedId_++;
    queuedCallbacks_[id] = loop_.post([this, callback, id] {
        // Read when the work runs: the callback in place then is the one called.
        const Callback current = this->*callback;
        queuedCallbacks_.erase(id);
        if (current) {
            current();
        }
    });
}

std::string HotkeyManager::keyName(std::uint16_t keyCode) {
    switch (keyCode) {
        case 11:
            return "B";
        case 12:
            return "A";
        case 13:
            return "Z";
        case 35:
            return "P";
        case 41:
            return "M";
        case 45:
            return "N";
        default:
            return "(" + std::to_string(keyCode) + ")";
    }
}

}  // namespace olvane
