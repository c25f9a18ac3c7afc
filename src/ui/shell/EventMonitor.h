#pragma once

#include <QObject>
#include <QPoint>
#include <functional>

#include "platform/Handle.h"
#include "platform/PointerPresses.h"

class QWindow;

namespace olvane::ui {

// Left and right mouse-downs while started: in this application's windows (with the window),
// and in other applications' (without one, from the session's presses when it shows them).
// The click still reaches its target. Stopped when destroyed.
class EventMonitor final : public QObject {
    Q_OBJECT

  public:
    // `window` is null for a press in another application.
    using Handler = std::function<void(QWindow* window, QPoint globalPosition)>;

    // `sessionPresses` may be null: then only this application's presses are seen.
    EventMonitor(platform::PointerPresses* sessionPresses, Handler handler);
    ~EventMonitor() override;

    void start();
    void stop();
    bool isRunning() const { return running_; }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void sessionPress();

    platform::PointerPresses* sessionPresses_;
    Handler handler_;
    bool running_ = false;
    platform::Handle sessionObservation_;
};

}  // namespace olvane::ui
