#include "ui/effects/QtDelayPanels.h"

#include <memory>

#include "ui/effects/DelayAccessOverlayView.h"
#include "ui/effects/QtOverlayGeometry.h"
#include "ui/effects/X11EffectWindows.h"

namespace olvane::ui {
namespace {

class QtDelayPanel final : public platform::OverlayWindow {
  public:
    QtDelayPanel(const platform::Rect& frame, DelayPanelState& state, X11EffectWindows* x11)
        : view_(std::make_unique<DelayAccessOverlayView>(state)), x11_(x11) {
        view_->setWindowFlags(Qt::Window | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint |
                              Qt::WindowDoesNotAcceptFocus);
        view_->setAttribute(Qt::WA_ShowWithoutActivating);
        view_->setWindowTitle(QStringLiteral("Olvane"));
        view_->setGeometry(toQRect(frame));
        if (x11_) {
            x11_->dressAsPanel(*view_);
        }
    }

    platform::Rect frame() const override { return toRect(view_->geometry()); }
    void setFrame(const platform::Rect& frame) override {
        view_->setGeometry(toQRect(frame));
        view_->repaint();
    }
    void orderFront() override {
        view_->show();
        view_->raise();
        if (x11_ && !stacking_) {
            stacking_ = x11_->keepOnTop(*view_);
        }
    }
    void orderOut() override {
        stacking_.cancel();
        view_->hide();
    }

  private:
    std::unique_ptr<DelayAccessOverlayView> view_;
    X11EffectWindows* x11_;
    platform::Handle stacking_;
};

}  // namespace

std::unique_ptr<platform::OverlayWindow> QtDelayPanels::createOverlay(const platform::Rect& frame,
                                                                      DelayPanelState& state) {
    return std::make_unique<QtDelayPanel>(frame, state, x11_);
}

}  // namespace olvane::ui
