#include "ui/effects/QtFogWindows.h"

#include <memory>

#include "model/Logger.h"
#include "ui/effects/FogOverlayView.h"
#include "ui/effects/QtOverlayWindow.h"
#include "ui/effects/X11EffectWindows.h"
#include "ui/foundation/WindowCompositing.h"

namespace olvane::ui {
namespace {

// Out of the window manager's hands, so that no frame of its takes the clicks.
class QtFogWindow final : public QtOverlayWindow {
  public:
    QtFogWindow(const platform::Rect& frame, FogEffectState& state, bool translucent,
                X11EffectWindows* x11)
        : QtOverlayWindow(std::make_unique<FogOverlayView>(state, translucent), frame,
                          Qt::X11BypassWindowManagerHint),
          target_(state.targetWindowID),
          x11_(x11) {
        if (x11_) {
            x11_->dressAsFog(view());
            // Qt sends its requests when X events come in, and none may while the pointer
            // rests: the holes would stay open.
            QObject::connect(static_cast<FogOverlayView*>(&view()), &FogOverlayView::shapeChanged,
                             [x11] { x11->sendRequests(); });
        }
    }

    void orderFront() override {
        view().show();
        if (!x11_ || target_ == 0) {
            view().raise();
        } else if (!stacking_) {
            stacking_ = x11_->keepJustAbove(view(), target_);
        }
    }

  private:
    std::uint32_t target_;
    X11EffectWindows* x11_;
};

}  // namespace

bool QtFogWindows::translucentWindowsAreDrawn() {
    const bool translucent = translucentWindowsAreComposited();
    if (translucentBefore_ != translucent) {
        translucentBefore_ = translucent;
        if (translucent) {
            frictionLogger().info(
                "Buée : voiles translucides (un compositeur dessine la "
                "transparence)");
        } else {
            frictionLogger().info(
                "Buée : aucun compositeur, voiles blancs opaques aux trous "
                "découpés dans la forme de la fenêtre");
        }
    }
    return translucent;
}

std::unique_ptr<platform::OverlayWindow> QtFogWindows::createOverlay(const platform::Rect& frame,
                                                                     FogEffectState& state) {
    return std::make_unique<QtFogWindow>(frame, state, translucentWindowsAreDrawn(), x11_);
}

}  // namespace olvane::ui
