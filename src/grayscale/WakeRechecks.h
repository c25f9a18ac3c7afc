#pragma once

#include <array>
#include <cstdint>
#include <functional>

#include "platform/Handle.h"
#include "platform/RunLoop.h"

namespace olvane {

// The checks that follow an accepted wake, each due a fixed time after it. Only the checks of
// the latest wake run: a newer wake takes over from the older one's remaining checks.
class WakeRechecks {
  public:
    static constexpr std::array<double, 4> kDelaysSeconds{0.5, 1.5, 3.0, 5.0};

    WakeRechecks(platform::RunLoop& loop, std::function<void()> check);
    WakeRechecks(const WakeRechecks&) = delete;
    WakeRechecks& operator=(const WakeRechecks&) = delete;

    // A new wake: its generation number grows by one and its checks are scheduled.
    void schedule();

    // The generation of the latest accepted wake; 0 before the first.
    std::int64_t wakeID() const { return wakeID_; }

  private:
    platform::RunLoop& loop_;
    std::function<void()> check_;
    std::int64_t wakeID_ = 0;
    std::array<platform::Handle, kDelaysSeconds.size()> checks_;
};

}  // namespace olvane
