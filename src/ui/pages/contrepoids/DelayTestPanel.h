#pragma once

#include <cstdint>
#include <functional>

namespace olvane::ui {

// The panel of the delay test: the delay's waiting view over the application's main window,
// for "Olvane", with a count and its two buttons. A seam, so that the page's model holds no
// widget.
class DelayTestPanel {
  public:
    virtual ~DelayTestPanel() = default;

    // Shows the panel in front; false, with nothing shown, when there is no main window to
    // cover. The actions run after the click has been handled: they may close the panel.
    virtual bool show(std::int64_t remainingSeconds, std::function<void()> onClose,
                      std::function<void()> onContinue) = 0;
    virtual void update(std::int64_t remainingSeconds) = 0;
    // Nothing when it does not show.
    virtual void close() = 0;
};

}  // namespace olvane::ui
