#pragma once

#include <memory>

#include "platform/RunLoop.h"
#include "platform/Signal.h"
#include "platform/SystemEvents.h"
#include "platform/linux/X11Connection.h"

namespace olvane::platform::os {

// The session's events from `session` (logind, or a scripted source), the display
// reconfigurations from RandR's screen and output notifications when an X server answers
// (from `session` otherwise).
class DesktopSystemEvents final : public SystemEvents {
  public:
    DesktopSystemEvents(RunLoop& loop, SystemEvents& session, const std::string& display = {});
    ~DesktopSystemEvents() override;

    // Whether RandR reports the display changes.
    bool followsRandr() const { return static_cast<bool>(x_); }

    Handle observe(SystemEvent event, std::function<void()> observer) override {
        return session_.observe(event, std::move(observer));
    }
    Handle observeDisplayReconfiguration(DisplayReconfiguration observer) override;

  private:
    void handleEvent(const xcb_generic_event_t& event);

    SystemEvents& session_;
    std::unique_ptr<X11Connection> x_;
    std::uint8_t randrFirstEvent_ = 0;
    Signal<DisplayId, std::uint32_t> reconfigured_;
    Handle events_;
};

}  // namespace olvane::platform::os
