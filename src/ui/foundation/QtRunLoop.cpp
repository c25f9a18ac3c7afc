#include "ui/foundation/QtRunLoop.h"

#include <QSocketNotifier>
#include <algorithm>
#include <chrono>

namespace olvane::ui {

using platform::Duration;
using platform::Handle;
using platform::MonotonicTime;
using platform::Task;

QtRunLoop::QtRunLoop()
    : context_(std::make_unique<QObject>()),
      timer_(new QTimer(context_.get())),
      watches_(std::make_shared<Watches>()) {
    timer_->setSingleShot(true);
    timer_->setTimerType(Qt::PreciseTimer);
    QObject::connect(timer_, &QTimer::timeout, context_.get(), [this] { runDueWork(); });
}

QtRunLoop::~QtRunLoop() {
    // The notifiers go with their parent; the map must not point at them afterwards.
    watches_->clear();
}

MonotonicTime QtRunLoop::now() const {
    return std::chrono::steady_clock::now();
}

Handle QtRunLoop::watchReadable(int fd, Task onReadable) {
    const auto id = nextWatchId_++;
    auto* notifier = new QSocketNotifier(fd, QSocketNotifier::Read, context_.get());
    auto task = std::make_shared<Task>(std::move(onReadable));
    (*watches_)[id] = Watch{notifier, task};
    // The callback keeps its own copy of the task: it may cancel its own watch while it runs.
    QObject::connect(notifier, &QSocketNotifier::activated, notifier, [task] { (*task)(); });
    return Handle([weak = std::weak_ptr(watches_), id] {
        auto watches = weak.lock();
        if (!watches) {
            return;
        }
        auto it = watches->find(id);
        if (it == watches->end()) {
            return;
        }
        // Deleted later: the watch may be cancelled from inside its own notification.
        it->second.notifier->setEnabled(false);
        it->second.notifier->deleteLater();
        watches->erase(it);
    });
}

void QtRunLoop::postFromAnyThread(Task task) {
    QMetaObject::invokeMethod(
        context_.get(), [task = std::move(task)] { task(); }, Qt::QueuedConnection);
}

void QtRunLoop::armTimer() {
    if (running_) {
        return;  // runDueWork arms the timer once it has drained the due work
    }
    const auto due = timers().nextDue();
    if (!due) {
        timer_->stop();
        return;
    }
    const auto left = std::chrono::ceil<std::chrono::milliseconds>(*due - now()).count();
    timer_->start(static_cast<int>(std::clamp<long long>(left, 0, 24LL * 3600 * 1000)));
}

void QtRunLoop::runDueWork() {
    running_ = true;
    const auto limit = now();
    while (timers().runNextDue(limit)) {
    }
    running_ = false;
    armTimer();
}

}  // namespace olvane::ui
