#include "ui/shell/EventMonitor.h"

#include <QCursor>
#include <QGuiApplication>
#include <QMouseEvent>
#include <QWindow>

namespace olvane::ui {

EventMonitor::EventMonitor(platform::PointerPresses* sessionPresses, Handler handler)
    : sessionPresses_(sessionPresses), handler_(std::move(handler)) {}

EventMonitor::~EventMonitor() {
    stop();
}

void EventMonitor::start() {
    stop();
    running_ = true;
    qApp->installEventFilter(this);
    if (sessionPresses_) {
        sessionObservation_ = sessionPresses_->observePresses([this](auto) { sessionPress(); });
    }
}

void EventMonitor::stop() {
    if (!running_) {
        return;
    }
    running_ = false;
    qApp->removeEventFilter(this);
    sessionObservation_.cancel();
}

bool EventMonitor::eventFilter(QObject* watched, QEvent* event) {
    // Each press reaches the window first, then its widget: the window's copy is the one counted.
    if (event->type() == QEvent::MouseButtonPress && watched->isWindowType()) {
        const auto* press = static_cast<QMouseEvent*>(event);
        if (press->button() == Qt::LeftButton || press->button() == Qt::RightButton) {
            handler_(static_cast<QWindow*>(watched), press->globalPosition().toPoint());
        }
    }
    return false;
}

// The session shows every press, ours included: those over one of our windows are left to the
// application's own events.
void EventMonitor::sessionPress() {
    const QPoint position = QCursor::pos();
    if (QGuiApplication::topLevelAt(position)) {
        return;
    }
    handler_(nullptr, position);
}

}  // namespace olvane::ui
