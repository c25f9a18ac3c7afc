#include "ui/shell/AfterFirstFrame.h"

#include <QApplication>
#include <QEvent>
#include <QPointer>
#include <QTimer>

namespace olvane::ui {
namespace {

// Watches every widget's events until the window's first paint: the window itself may not get
// one when its content covers it whole. A child of the window: a quit before that paint takes it
// along.
class FirstPaintWatch final : public QObject {
  public:
    FirstPaintWatch(QWidget& window, std::function<void()> work, int fallbackMs)
        : QObject(&window), window_(&window), work_(std::move(work)) {
        QApplication::instance()->installEventFilter(this);
        QTimer::singleShot(fallbackMs, this, [this] { finish(); });
    }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint && watched->isWidgetType() &&
            static_cast<QWidget*>(watched)->window() == window_) {
            // Queued: the frame is flushed to the screen before the work starts.
            QTimer::singleShot(0, this, [this] { finish(); });
            QApplication::instance()->removeEventFilter(this);
        }
        return false;
    }

  private:
    void finish() {
        if (work_) {
            std::exchange(work_, nullptr)();
        }
        deleteLater();
    }

    QPointer<QWidget> window_;
    std::function<void()> work_;
};

}  // namespace

void afterFirstFrame(QWidget& window, std::function<void()> work, int fallbackMs) {
    new FirstPaintWatch(window, std::move(work), fallbackMs);
}

}  // namespace olvane::ui
