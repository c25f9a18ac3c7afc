#pragma once

#include <QObject>
#include <QTimer>
#include <cstdint>
#include <map>
#include <memory>

#include "platform/QueuedRunLoop.h"

class QSocketNotifier;

namespace olvane::ui {

// The run loop of the application: every service of the core runs on the Qt event loop of the
// thread that made it. Timed and posted work keep the order of the other loops (one queue, one
// precise timer armed for the earliest due work); descriptors are watched by socket notifiers.
class QtRunLoop final : public platform::QueuedRunLoop {
  public:
    QtRunLoop();
    ~QtRunLoop() override;
    QtRunLoop(const QtRunLoop&) = delete;
    QtRunLoop& operator=(const QtRunLoop&) = delete;

    platform::MonotonicTime now() const override;
    platform::Handle watchReadable(int fd, platform::Task onReadable) override;
    void postFromAnyThread(platform::Task task) override;

  private:
    struct Watch {
        QSocketNotifier* notifier;
        std::shared_ptr<platform::Task> onReadable;
    };
    using Watches = std::map<std::uint64_t, Watch>;

    void timersChanged() override { armTimer(); }
    void armTimer();
    void runDueWork();

    // Parent of the timer and the notifiers; work queued for it dies with it.
    std::unique_ptr<QObject> context_;
    QTimer* timer_;
    std::shared_ptr<Watches> watches_;
    std::uint64_t nextWatchId_ = 1;
    bool running_ = false;
};

}  // namespace olvane::ui
