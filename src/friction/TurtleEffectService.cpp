#include "friction/TurtleEffectService.h"

#include <cstdint>

#include "friction/EffectLabels.h"
#include "model/Logger.h"

namespace olvane {

using platform::TapEventType;
using platform::TapVerdict;

TurtleEffectService::TurtleEffectService(Collaborators collaborators)
    : loop_(collaborators.loop),
      input_(collaborators.input),
      keys_(collaborators.keys),
      trust_(collaborators.trust),
      checkAccessibilityPermissions_(std::move(collaborators.checkAccessibilityPermissions)),
      activeEffects_(collaborators.activeEffects) {}

bool TurtleEffectService::activate(TurtleIntensity intensity, bool testMode) {
    if (isActive_) {
        factors_ = TurtleFactors::preset(intensity);
        frictionLogger().info("Tortue: intensité mise à jour → %{public}s", label(intensity));
        return true;
    }
    if (!trust_.isProcessTrusted()) {
        if (!didLogAccessibilityError_) {
            frictionLogger().error(
                "Tortue: permissions Accessibilité manquantes - capture du pointeur impossible");
            didLogAccessibilityError_ = true;
        }
        if (checkAccessibilityPermissions_) {
            (void)checkAccessibilityPermissions_(!didPromptForAccessibility_);
        }
        didPromptForAccessibility_ = true;
        return false;
    }
    didLogAccessibilityError_ = false;
    frictionLogger().info("Activation de l'effet Tortue (%{public}s)%{public}s", label(intensity),
                          testMode ? " [TEST MODE]" : "");
    factors_ = TurtleFactors::preset(intensity);
    pointerRemainder_ = {};
    scrollRemainder_ = {};
    isPostingSyntheticScroll_ = false;
    isTestMode_ = testMode;
    updateScreenBounds();
    if (!createEventTap()) {
        frictionLogger().error("Échec de création de l'EventTap Tortue");
        isTestMode_ = false;
        return false;
    }
    installFailsafeMonitor();
    startWatchdog();
    isActive_ = true;
    activeEffects_.insert(FrictionEffectType::turtle);
    frictionLogger().info("Effet Tortue activé avec facteur ÷%ld",
                          static_cast<long>(factors_.mouse));
    return true;
}

void TurtleEffectService::setCustomIntensity(double mouseFactor, double scrollFactor) {
    factors_ = TurtleFactors::custom(mouseFactor, scrollFactor);
    frictionLogger().debug("🐢 setCustomIntensity: input=(%.1f, %.1f) → clamped=(%.1f, %.1f)",
                           mouseFactor, scrollFactor, factors_.mouse, factors_.scroll);
}

void TurtleEffectService::updateIntensity(TurtleIntensity intensity) {
    if (!isActive_) {
        return;
    }
    factors_ = TurtleFactors::preset(intensity);
    frictionLogger().debug("Tortue: intensité mise à jour → %{public}s", label(intensity));
}

void TurtleEffectService::deactivate() {
    if (!isActive_) {
        return;
    }
    frictionLogger().info("Désactivation de l'effet Tortue");
    isActive_ = false;
    isTestMode_ = false;
    releaseEverything();
    frictionLogger().info("Effet Tortue désactivé");
}

void TurtleEffectService::forceCleanup() {
    frictionLogger().info("Nettoyage forcé de l'effet Tortue");
    isActive_ = false;
    releaseEverything();
}

void TurtleEffectService::releaseEverything() {
    watchdogTimer_.cancel();
    failsafeKeyboardMonitor_.cancel();
    failsafeLocalKeyboardMonitor_.cancel();
    pendingDeactivation_.cancel();
    if (tap_) {
        tap_->setEnabled(false);
        tap_.reset();
    }
    pointerRemainder_ = {};
    scrollRemainder_ = {};
    isPostingSyntheticScroll_ = false;
    activeEffects_.remove(FrictionEffectType::turtle);
}

// Displays that appear while the turtle is on stay out of reach until the next activation.
void TurtleEffectService::updateScreenBounds() {
    if (auto bounds = turtle::unionOfDisplays(input_.activeDisplayBounds())) {
        screenBounds_ = bounds;
    }
}

bool TurtleEffectService::createEventTap() {
    auto tap = input_.createTap([this](const auto& event) { return handleTapEvent(event); });
    if (!tap) {
        frictionLogger().error(
            "La capture du pointeur a échoué - vérifier les permissions Accessibilité");
        return false;
    }
    if (!tap->addToRunLoop()) {
        frictionLogger().error("Échec création RunLoopSource pour Tortue");
        return false;
    }
    tap->setEnabled(true);
    tap_ = std::move(tap);
    return true;
}

// A global monitor sees key presses only while another application is in front: the page's own
// test runs with ours in front, so ours are watched too.
void TurtleEffectService::installFailsafeMonitor() {
    const auto onKey = [this](const auto& event) { handleFailsafeKey(event); };
    failsafeKeyboardMonitor_ = keys_.addGlobalKeyDownMonitor(onKey);
    failsafeLocalKeyboardMonitor_ = keys_.addLocalKeyDownMonitor(onKey);
}

void TurtleEffectService::startWatchdog() {
    watchdogTimer_ =
        loop_.every(platform::seconds(kWatchdogIntervalSeconds), [this] { watchdogTick(); });
}

void TurtleEffectService::handleFailsafeKey(const platform::KeyEvent& event) {
    using platform::KeyModifier;
    if (event.keyCode == kEscapeKeyCode &&
        event.modifiers.containsAll(KeyModifier::Command | KeyModifier::Shift)) {
        frictionLogger().logUserAction("Super⇧⎋ détecté - Désactivation d'urgence Tortue");
        deactivateSoon();
    }
}

void TurtleEffectService::watchdogTick() {
    // Ticks missed while the loop was held come late, after the switch-off already asked for.
    if (!isActive_ || pendingDeactivation_) {
        return;
    }
    if (!tap_) {
        frictionLogger().error("Tortue: état incohérent détecté - désactivation");
        pendingDeactivation_ = loop_.post([this] {
            isActive_ = false;
            isTestMode_ = false;
            releaseEverything();
        });
        return;
    }
    if (!tap_->isEnabled()) {
        frictionLogger().error("Tortue: tap invalide détecté par watchdog");
        deactivateSoon();
    }
}

void TurtleEffectService::deactivateSoon() {
    pendingDeactivation_ = loop_.post([this] { deactivate(); });
}

TapVerdict TurtleEffectService::handleTapEvent(const platform::TapEvent& event) {
    if (event.type == TapEventType::tapDisabledByTimeout) {
        frictionLogger().error(
            "Tortue: tap désactivé par timeout système - récupération via le polling");
        deactivateSoon();
        return TapVerdict::swallow;
    }
    if (!isActive_) {
        return TapVerdict::pass;
    }
    switch (event.type) {
        case TapEventType::scrollWheel:
            return slowScroll(event);
        case TapEventType::mouseMoved:
        case TapEventType::leftMouseDragged:
        case TapEventType::rightMouseDragged:
            return slowPointer(event);
        default:
            return TapVerdict::pass;
    }
}

TapVerdict TurtleEffectService::slowScroll(const platform::TapEvent& event) {
    if (isPostingSyntheticScroll_) {
        return TapVerdict::pass;
    }
    const auto slowed = turtle::slowScroll(scrollRemainder_, event.scrollVertical,
                                           event.scrollHorizontal, factors_.scroll);
    scrollRemainder_ = slowed.remainder;
    if (!slowed.vertical && !slowed.horizontal) {
        return TapVerdict::swallow;
    }
    isPostingSyntheticScroll_ = true;
    if (slowed.vertical) {
        (void)input_.postScroll({.wheelCount = 1, .wheel1 = *slowed.vertical});
    }
    if (slowed.horizontal) {
        (void)input_.postScroll({.wheelCount = 2, .wheel1 = 0, .wheel2 = *slowed.horizontal});
    }
    isPostingSyntheticScroll_ = false;
    return TapVerdict::swallow;
}

TapVerdict TurtleEffectService::slowPointer(const platform::TapEvent& event) {
    const auto slowed = turtle::slowPointer(pointerRemainder_, static_cast<double>(event.deltaX),
                                            static_cast<double>(event.deltaY), factors_.mouse);
    pointerRemainder_ = slowed.remainder;
    if (!slowed.moves()) {
        return TapVerdict::swallow;
    }
    const auto cursor = input_.pointerLocation();
    if (!cursor) {
        return TapVerdict::pass;
    }
    const auto target = turtle::clampedToBounds(
        {cursor->x + slowed.stepX, cursor->y + slowed.stepY}, screenBounds_);
    input_.warpCursor(target);
    const auto button = event.type == TapEventType::rightMouseDragged ? platform::MouseButton::right
                                                                      : platform::MouseButton::left;
    (void)input_.postMouseEvent(event.type, target, button);
    return TapVerdict::swallow;
}

}  // namespace olvane
