#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "platform/Observable.h"

namespace olvane {

// What one panel of the delay's waiting screen shows: the time left before the target named
// `targetName` may be used, the button that closes the target and, once no time is left, the
// one that continues. The panel's window draws it and redraws when the time changes.
class DelayPanelState {
  public:
    DelayPanelState(std::string name, std::int64_t seconds, double radius,
                    std::function<void()> close, std::function<void()> proceed)
        : targetName(std::move(name)),
          remainingSeconds(seconds),
          cornerRadius(radius),
          onClose_(std::move(close)),
          onContinue_(std::move(proceed)) {}
    DelayPanelState(const DelayPanelState&) = delete;
    DelayPanelState& operator=(const DelayPanelState&) = delete;

    const std::string targetName;
    platform::Observable<std::int64_t> remainingSeconds;
    // Of the panel's white surface.
    const double cornerRadius;

    bool offersContinue() const { return remainingSeconds() == 0; }

    // "Fermer l'application", and "Continuer" (offered only at 0). The action may close the
    // panels, this state with them: it runs from a copy.
    void pressClose() const { run(onClose_); }
    void pressContinue() const { run(onContinue_); }

  private:
    static void run(std::function<void()> action) {
        if (action) {
            action();
        }
    }

    const std::function<void()> onClose_;
    const std::function<void()> onContinue_;
};

}  // namespace olvane
