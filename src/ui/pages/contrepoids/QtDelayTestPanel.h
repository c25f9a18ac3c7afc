#pragma once

#include <QPointer>
#include <QWidget>

#include "platform/Handle.h"
#include "ui/pages/contrepoids/DelayTestPanel.h"

namespace olvane::ui {

class X11EffectWindows;

// The delay test's panel as a Qt window over the main window: frameless and translucent around
// the rounded view, above the other windows on every desktop, out of the taskbar, never
// focused, and taking its clicks.
class QtDelayTestPanel final : public DelayTestPanel {
  public:
    static constexpr double kCornerRadius = 10;

    // Covers the window that holds `anchor` (the page); `x11` may be null (no X11).
    QtDelayTestPanel(QWidget& anchor, X11EffectWindows* x11);
    ~QtDelayTestPanel() override;

    bool show(std::int64_t remainingSeconds, std::function<void()> onClose,
              std::function<void()> onContinue) override;
    void update(std::int64_t remainingSeconds) override;
    void close() override;

    // The panel's window while it shows.
    QWidget* window() const;

  private:
    class Window;

    QPointer<QWidget> anchor_;
    X11EffectWindows* x11_;
    QPointer<Window> window_;
    platform::Handle stacking_;
};

}  // namespace olvane::ui
