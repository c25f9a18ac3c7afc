#include "platform/linux/SystemClock.h"

namespace olvane::platform::os {

double SystemClock::unixNow() const {
    const auto since = std::chrono::system_clock::now().time_since_epoch();
    return std::chrono::duration<double>(since).count();
}

MonotonicTime SystemClock::monotonicNow() const {
    return std::chrono::steady_clock::now();
}

}  // namespace olvane::platform::os
