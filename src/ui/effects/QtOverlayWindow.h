#pragma once

#include <QWidget>
#include <memory>

#include "platform/Handle.h"
#include "platform/OverlayWindow.h"

namespace olvane::ui {

class X11EffectWindows;

// An effect's window: a frameless top-level Qt widget, placed in global display coordinates
// (device pixels) and drawn in Qt's logical pixels, shown without being activated. Each kind
// says where it stacks and how it comes to the front.
class QtOverlayWindow : public platform::OverlayWindow {
  public:
    // `x11` may be null (no X11): Qt's flags alone then.
    QtOverlayWindow(std::unique_ptr<QWidget> view, const platform::Rect& frame,
                    Qt::WindowFlags extraFlags, X11EffectWindows* x11);

    platform::Rect frame() const override;
    void setFrame(const platform::Rect& frame) override;
    platform::Point localPoint(const platform::Point& point) const override;
    void orderOut() override;

  protected:
    QWidget& view() { return *view_; }
    X11EffectWindows* x11() const { return x11_; }
    // Keeps the window in its place in the stacking order while it shows.
    platform::Handle stacking_;

  private:
    void place(const platform::Rect& frame);

    std::unique_ptr<QWidget> view_;
    X11EffectWindows* x11_;
    // The last frame asked for, and the geometry Qt was given for it.
    platform::Rect frame_;
    QRect geometry_;
};

}  // namespace olvane::ui
