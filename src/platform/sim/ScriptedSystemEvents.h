#pragma once

#include <map>

#include "platform/Signal.h"
#include "platform/SystemEvents.h"

namespace olvane::platform::sim {

// System events that the test (or a session without a real source) sends by hand; each is
// delivered at once, synchronously, to the observers of the moment.
class ScriptedSystemEvents final : public SystemEvents {
  public:
    Handle observe(SystemEvent event, std::function<void()> observer) override;
    Handle observeDisplayReconfiguration(DisplayReconfiguration observer) override;

    void send(SystemEvent event);
    void reconfigureDisplay(DisplayId display, std::uint32_t flags);

    std::size_t observerCount(SystemEvent event) const;
    std::size_t displayObserverCount() const { return displays_.size(); }

  private:
    std::map<SystemEvent, Signal<>> events_;
    Signal<DisplayId, std::uint32_t> displays_;
};

}  // namespace olvane::platform::sim
