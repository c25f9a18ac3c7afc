#pragma once

#include <optional>

#include "platform/PointerLocation.h"
#include "platform/RunLoop.h"
#include "platform/Signal.h"
#include "platform/linux/compositor/CompanionLink.h"
#include "platform/linux/compositor/CompanionWindows.h"

namespace olvane::platform::os {

// The pointer as the compositor's companion tells it, over native windows too, where the X
// server sees it only over Xwayland's; `fallback` serves while no companion reports. The
// companion is asked to tell it only while someone follows it (asks where it is, or watches it
// move), and is told to stop a moment after the last of them.
class CompanionPointer final : public PointerLocation {
  public:
    CompanionPointer(RunLoop& loop, CompanionLink& link, CompanionWindows& windows,
                     PointerLocation* fallback);
    CompanionPointer(const CompanionPointer&) = delete;
    CompanionPointer& operator=(const CompanionPointer&) = delete;

    std::optional<Point> pointerLocation() override;
    Handle observeMotion(std::function<void()> onMove) override;

  private:
    void follow();
    void stopFollowingUnlessUsed();
    void reported(const Point& at);

    RunLoop& loop_;
    CompanionLink& link_;
    CompanionWindows& windows_;
    PointerLocation* fallback_;
    std::optional<Point> position_;
    bool asked_ = false;
    bool usedSinceCheck_ = false;
    Signal<> moved_;
    Handle reports_;
    Handle companion_;
    Handle idleCheck_;
};

}  // namespace olvane::platform::os
