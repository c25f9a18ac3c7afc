#include "ui/effects/QtDelayPanels.h"

#include <memory>

#include "ui/effects/DelayAccessOverlayView.h"
#include "ui/effects/QtOverlayWindow.h"
#include "ui/effects/X11EffectWindows.h"

namespace olvane::ui {
namespace {

class QtDelayPanel final : public QtOverlayWindow {
  public:
    QtDelayPanel(const platform::Rect& frame, DelayPanelState& state, X11EffectWindows* x11)
        : QtOverlayWindow(std::make_unique<DelayAccessOverlayView>(state), frame,
                          Qt::WindowStaysOnTopHint, x11) {
        if (x11) {
            x11->dressAsPanel(view());
        }
    }

    void orderFront() override {
        view().show();
        view().raise();
        if (x11() && !stacking_) {
            stacking_ = x11()->keepOnTop(view());
        }
    }
};

}  // namespace

std::unique_ptr<platform::OverlayWindow> QtDelayPanels::createOverlay(const platform::Rect& frame,
                                                                      DelayPanelState& state) {
    return std::make_unique<QtDelayPanel>(frame, state, x11_);
}

}  // namespace olvane::ui
