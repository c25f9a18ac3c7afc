#include "ui/pages/contrepoids/QtDelayTestPanel.h"

#include <memory>

#include "friction/DelayPanelState.h"
#include "ui/effects/DelayAccessOverlayView.h"
#include "ui/effects/X11EffectWindows.h"
#include "ui/foundation/WindowCompositing.h"

namespace olvane::ui {

// The top-level window: the panel's state and the view that draws it.
class QtDelayTestPanel::Window final : public QWidget {
  public:
    Window(std::int64_t seconds, std::function<void()> onClose, std::function<void()> onContinue)
        : QWidget(nullptr, Qt::Window | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint |
                               Qt::WindowDoesNotAcceptFocus),
          state_(std::make_unique<DelayPanelState>("Olvane", seconds, kCornerRadius,
                                                   armed(std::move(onClose)),
                                                   armed(std::move(onContinue)))),
          view_(new DelayAccessOverlayView(*state_, this)) {
        setObjectName(QStringLiteral("delayOverlay"));
        setWindowTitle(QStringLiteral("Olvane"));
        setAttribute(Qt::WA_ShowWithoutActivating);
        composited_ = translucentWindowsAreComposited();
        setAttribute(Qt::WA_TranslucentBackground, composited_);
    }
    ~Window() override { delete view_; }

    DelayPanelState& state() { return *state_; }
    // A press already on its way when the panel closes does nothing.
    void disarm() { *armed_ = false; }

  protected:
    void resizeEvent(QResizeEvent*) override {
        view_->setGeometry(rect());
        if (!composited_) {
            cutShapeToRoundedCard(*this, rect(), kCornerRadius);
        }
    }

  private:
    std::function<void()> armed(std::function<void()> action) {
        return [armed = armed_, action = std::move(action)] {
            if (*armed && action) {
                action();
            }
        };
    }

    std::shared_ptr<bool> armed_ = std::make_shared<bool>(true);
    std::unique_ptr<DelayPanelState> state_;
    DelayAccessOverlayView* view_;
    bool composited_ = false;
};

QtDelayTestPanel::QtDelayTestPanel(QWidget& anchor, X11EffectWindows* x11)
    : anchor_(&anchor), x11_(x11) {}

QtDelayTestPanel::~QtDelayTestPanel() {
    close();
}

bool QtDelayTestPanel::show(std::int64_t remainingSeconds, std::function<void()> onClose,
                            std::function<void()> onContinue) {
    close();
    QWidget* mainWindow = anchor_ ? anchor_->window() : nullptr;
    if (!mainWindow || !mainWindow->isVisible()) {
        return false;
    }
    window_ = new Window(remainingSeconds, std::move(onClose), std::move(onContinue));
    window_->setGeometry(mainWindow->geometry());
    if (x11_) {
        x11_->dressAsPanel(*window_);
        // To the device pixel, which Qt's whole logical pixels miss at 200 %.
        if (const auto frame = x11_->frameOf(*mainWindow)) {
            x11_->place(*window_, *frame);
        }
    }
    window_->show();
    window_->raise();
    if (x11_) {
        stacking_ = x11_->keepOnTop(*window_);
    }
    return true;
}

void QtDelayTestPanel::update(std::int64_t remainingSeconds) {
    if (window_) {
        window_->state().remainingSeconds.set(remainingSeconds);
    }
}

void QtDelayTestPanel::close() {
    stacking_.cancel();
    if (window_) {
        // Possibly from the panel's own button: the window goes once the click is handled.
        window_->disarm();
        window_->hide();
        window_->deleteLater();
        window_ = nullptr;
    }
}

QWidget* QtDelayTestPanel::window() const {
    return window_;
}

}  // namespace olvane::ui
