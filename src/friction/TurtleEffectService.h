#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>

#include "friction/ActiveEffects.h"
#include "friction/TurtleArithmetic.h"
#include "friction/TurtleFactors.h"
#include "model/TurtleIntensity.h"
#include "platform/AccessibilityTrust.h"
#include "platform/EventTap.h"
#include "platform/Handle.h"
#include "platform/KeyEventSource.h"
#include "platform/RunLoop.h"

namespace olvane {

// The turtle: while it is on, a tap swallows every pointer movement, drag and scroll, divides it
// by a factor, keeps the fractions and replays the slowed movement itself (whole-pixel warps
// with a synthetic event, synthetic scrolls). Super+Shift+Escape, whichever application has the
// keyboard, and a watchdog that notices a tap the session switched off make sure the user is
// never left with a half-working pointer.
class TurtleEffectService {
  public:
    struct Collaborators {
        platform::RunLoop& loop;
        platform::EventTap& input;
        platform::KeyEventSource& keys;
        // Whether this process may tap the session's input.
        platform::AccessibilityTrust& trust;
        // Checks the permission again, asking the desktop to prompt when `prompt`; true when
        // granted.
        std::function<bool(bool prompt)> checkAccessibilityPermissions;
        ActiveEffects activeEffects;
    };

    static constexpr double kWatchdogIntervalSeconds = 0.1;
    static constexpr std::uint16_t kEscapeKeyCode = 53;

    explicit TurtleEffectService(Collaborators collaborators);
    TurtleEffectService(const TurtleEffectService&) = delete;
    TurtleEffectService& operator=(const TurtleEffectService&) = delete;

    // Switches the turtle on, or changes the factors of a turtle already on (which keeps its
    // test-mode flag). True when it is on afterwards.
    bool activate(TurtleIntensity intensity, bool testMode = false);
    // Custom factors, clamped, whether or not the turtle is on.
    void setCustomIntensity(double mouseFactor, double scrollFactor);
    // A preset's factors while the turtle is on; nothing when it is off.
    void updateIntensity(TurtleIntensity intensity);
    // Switches off and releases everything; nothing when already off.
    void deactivate();
    // Releases everything whatever the state (shutdown, after a crash).
    void forceCleanup();

    bool isActive() const { return isActive_; }
    bool isTestMode() const { return isTestMode_; }
    const TurtleFactors& factors() const { return factors_; }
    // The union of the displays found at the last activation; absent while none was found.
    const std::optional<platform::Rect>& screenBounds() const { return screenBounds_; }

    platform::TapVerdict handleTapEvent(const platform::TapEvent& event);
    void handleFailsafeKey(const platform::KeyEvent& event);
    void watchdogTick();

  private:
    void updateScreenBounds();
    bool createEventTap();
    void installFailsafeMonitor();
    void startWatchdog();
    platform::TapVerdict slowScroll(const platform::TapEvent& event);
    platform::TapVerdict slowPointer(const platform::TapEvent& event);
    // Never from inside the tap's callback or a timer of ours: those defer it.
    void deactivateSoon();
    // Timer, key monitor, tap, remainders and the active-effect entry.
    void releaseEverything();

    platform::RunLoop& loop_;
    platform::EventTap& input_;
    platform::KeyEventSource& keys_;
    platform::AccessibilityTrust& trust_;
    std::function<bool(bool)> checkAccessibilityPermissions_;
    ActiveEffects activeEffects_;

    std::unique_ptr<platform::EventTap::Tap> tap_;
    platform::Handle failsafeKeyboardMonitor_;
    platform::Handle failsafeLocalKeyboardMonitor_;
    platform::Handle watchdogTimer_;
    platform::Handle pendingDeactivation_;
    bool didPromptForAccessibility_ = false;
    bool didLogAccessibilityError_ = false;
    bool isActive_ = false;
    bool isTestMode_ = false;
    turtle::PointerRemainder pointerRemainder_;
    turtle::ScrollRemainder scrollRemainder_;
    bool isPostingSyntheticScroll_ = false;
    TurtleFactors factors_;
    std::optional<platform::Rect> screenBounds_;
};

}  // namespace olvane
