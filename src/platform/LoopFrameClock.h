#pragma once

#include <memory>

#include "platform/FrameClock.h"
#include "platform/RunLoop.h"

namespace olvane::platform {

// Frames from the run loop's timers, each at least one interval after the previous one ran: a
// timer that fires late never makes the next frame come early, so a user that drops frames
// closer together than the interval drops none.
class LoopFrameClock final : public FrameClock {
  public:
    LoopFrameClock(RunLoop& loop, Duration interval) : loop_(loop), interval_(interval) {}

    Handle start(std::function<void()> onFrame) override {
        auto ticking = std::make_shared<Ticking>(loop_, interval_, std::move(onFrame));
        ticking->arm();
        return Handle([ticking] { ticking->next.cancel(); });
    }

  private:
    struct Ticking : std::enable_shared_from_this<Ticking> {
        Ticking(RunLoop& l, Duration i, std::function<void()> f)
            : loop(l), interval(i), onFrame(std::move(f)) {}

        void arm() {
            next = loop.after(interval, [weak = weak_from_this()] {
                if (const auto self = weak.lock()) {
                    self->arm();
                    // The frame may stop the clock: the handle then cancels the next one.
                    self->onFrame();
                }
            });
        }

        RunLoop& loop;
        Duration interval;
        std::function<void()> onFrame;
        Handle next;
    };

    RunLoop& loop_;
    Duration interval_;
};

}  // namespace olvane::platform
