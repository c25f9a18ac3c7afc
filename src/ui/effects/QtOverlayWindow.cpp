#include "ui/effects/QtOverlayWindow.h"

#include "ui/effects/QtOverlayGeometry.h"

namespace olvane::ui {

QtOverlayWindow::QtOverlayWindow(std::unique_ptr<QWidget> view, const platform::Rect& frame,
                                 Qt::WindowFlags extraFlags)
    : view_(std::move(view)) {
    view_->setWindowFlags(Qt::Window | Qt::FramelessWindowHint | Qt::WindowDoesNotAcceptFocus |
                          extraFlags);
    view_->setAttribute(Qt::WA_ShowWithoutActivating);
    view_->setWindowTitle(QStringLiteral("Olvane"));
    view_->setGeometry(toQRect(frame));
}

platform::Rect QtOverlayWindow::frame() const {
    return toRect(view_->geometry());
}

void QtOverlayWindow::setFrame(const platform::Rect& frame) {
    view_->setGeometry(toQRect(frame));
    view_->repaint();
}

void QtOverlayWindow::orderOut() {
    stacking_.cancel();
    view_->hide();
}

}  // namespace olvane::ui
