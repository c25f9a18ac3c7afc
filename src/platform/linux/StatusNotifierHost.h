#pragma once

#include <memory>

#include "platform/RunLoop.h"
#include "platform/Signal.h"
#include "platform/SystemTray.h"

namespace olvane::platform::os {

// The StatusNotifier tray on the session bus (KDE, GNOME's AppIndicator extension…): status
// icons show once the watcher org.kde.StatusNotifierWatcher has a host registered. Its name's
// owner changes and the watcher's StatusNotifierHostRegistered signal tell when one comes.
class StatusNotifierHost final : public SystemTray {
  public:
    // Null without a session bus.
    static std::unique_ptr<StatusNotifierHost> create(RunLoop& loop);
    ~StatusNotifierHost() override;
    StatusNotifierHost(const StatusNotifierHost&) = delete;
    StatusNotifierHost& operator=(const StatusNotifierHost&) = delete;

    bool isPresent() override;
    Handle observeArrivals(Observer observer) override;

  private:
    struct Bus;

    explicit StatusNotifierHost(RunLoop& loop);
    bool connect();
    void processMessages();
    void watcherChanged();

    RunLoop& loop_;
    std::unique_ptr<Bus> bus_;
    bool present_ = false;
    Signal<> arrivals_;
    Handle readable_;
    Handle pendingProcess_;
    Handle pendingCheck_;
};

}  // namespace olvane::platform::os
