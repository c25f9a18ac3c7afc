#include "ui/effects/QtOverlayWindow.h"

#include "ui/effects/QtDevicePixels.h"
#include "ui/effects/X11EffectWindows.h"

namespace olvane::ui {

QtOverlayWindow::QtOverlayWindow(std::unique_ptr<QWidget> view, const platform::Rect& frame,
                                 Qt::WindowFlags extraFlags, X11EffectWindows* x11)
    : view_(std::move(view)), x11_(x11) {
    view_->setWindowFlags(Qt::Window | Qt::FramelessWindowHint | Qt::WindowDoesNotAcceptFocus |
                          extraFlags);
    view_->setAttribute(Qt::WA_ShowWithoutActivating);
    view_->setWindowTitle(QStringLiteral("Olvane"));
    place(frame);
}

void QtOverlayWindow::place(const platform::Rect& frame) {
    frame_ = frame;
    geometry_ = logicalGeometry(frame);
    view_->setGeometry(geometry_);
    if (x11_) {
        x11_->place(*view_, frame);
    }
}

// At a fractional ratio the window lands within a device pixel of the frame asked for: while it
// stays where it was put, that frame is the answer, so that a target that did not move never
// looks moved.
platform::Rect QtOverlayWindow::frame() const {
    return view_->geometry() == geometry_ ? frame_ : deviceFrame(*view_);
}

void QtOverlayWindow::setFrame(const platform::Rect& frame) {
    place(frame);
    view_->repaint();
}

platform::Point QtOverlayWindow::localPoint(const platform::Point& point) const {
    return windowPoint(*view_, frame(), point);
}

void QtOverlayWindow::orderOut() {
    stacking_.cancel();
    view_->hide();
}

}  // namespace olvane::ui
