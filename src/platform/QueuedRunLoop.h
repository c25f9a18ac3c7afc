#pragma once

#include "platform/RunLoop.h"
#include "platform/TimerQueue.h"

namespace olvane::platform {

// A run loop whose timed work waits in a TimerQueue: posting and scheduling are the same for
// every such loop; each loop only says what time it is and how it wakes for the next due work.
class QueuedRunLoop : public RunLoop {
  public:
    Handle post(Task task) final;
    Handle after(Duration delay, Task task) final;
    Handle every(Duration interval, Task task) final;

  protected:
    TimerQueue& timers() { return timers_; }
    const TimerQueue& timers() const { return timers_; }
    // New work was queued: wake in time for the earliest.
    virtual void timersChanged() {}

  private:
    Handle scheduled(Handle handle);

    TimerQueue timers_;
};

}  // namespace olvane::platform
