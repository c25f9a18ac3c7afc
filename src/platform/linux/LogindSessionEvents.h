#pragma once

#include <map>
#include <memory>
#include <string>

#include "platform/RunLoop.h"
#include "platform/Signal.h"
#include "platform/SystemEvents.h"

namespace olvane::platform::os {

// Wake, unlock and session switches from systemd-logind over the system bus: PrepareForSleep
// ending is a wake, the session's Unlock signal (or its LockedHint going back to false) an
// unlock, and its Active property the comings and goings of the seat. It has no display events.
class LogindSessionEvents final : public SystemEvents {
  public:
    // Null when there is no system bus, no logind, or no session for this process. `sessionId`
    // names the session; empty: XDG_SESSION_ID, else the session of this process.
    static std::unique_ptr<LogindSessionEvents> create(RunLoop& loop,
                                                       const std::string& sessionId = {});
    ~LogindSessionEvents() override;
    LogindSessionEvents(const LogindSessionEvents&) = delete;
    LogindSessionEvents& operator=(const LogindSessionEvents&) = delete;

    Handle observe(SystemEvent event, std::function<void()> observer) override;
    Handle observeDisplayReconfiguration(DisplayReconfiguration observer) override;

    const std::string& sessionPath() const { return sessionPath_; }

  private:
    struct Bus;

    explicit LogindSessionEvents(RunLoop& loop);
    bool connect(const std::string& sessionId);
    void processMessages();
    void send(SystemEvent event);
    void sessionPropertiesChanged(bool hasLocked, bool locked, bool hasActive, bool active);

    RunLoop& loop_;
    std::unique_ptr<Bus> bus_;
    std::string sessionPath_;
    bool locked_ = false;
    bool active_ = true;
    std::map<SystemEvent, Signal<>> signals_;
    Handle readable_;
    Handle pendingProcess_;
};

}  // namespace olvane::platform::os
