#pragma once

#include "friction/DelayPanelState.h"
#include "platform/OverlayWindow.h"

namespace olvane::ui {

class X11EffectWindows;

// The delay's waiting panels as Qt windows: frameless, opaque white, above every other window
// on every desktop, never taking the focus (the target must stay the application in front), and
// taking the clicks that fall on them.
class QtDelayPanels final : public platform::OverlayWindowFactory<DelayPanelState> {
  public:
    // `x11` may be null (no X11): Qt's flags alone then.
    explicit QtDelayPanels(X11EffectWindows* x11) : x11_(x11) {}

    std::unique_ptr<platform::OverlayWindow> createOverlay(const platform::Rect& frame,
                                                           DelayPanelState& state) override;

  private:
    X11EffectWindows* x11_;
};

}  // namespace olvane::ui
