#pragma once

#include "platform/FrameClock.h"
#include "platform/RunLoop.h"

namespace olvane::platform {

// Frames from a repeating timer of the run loop.
class LoopFrameClock final : public FrameClock {
  public:
    LoopFrameClock(RunLoop& loop, Duration interval) : loop_(loop), interval_(interval) {}

    Handle start(std::function<void()> onFrame) override {
        return loop_.every(interval_, std::move(onFrame));
    }

  private:
    RunLoop& loop_;
    Duration interval_;
};

}  // namespace olvane::platform
