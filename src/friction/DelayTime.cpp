#include "friction/DelayTime.h"

#include <algorithm>
#include <cstdio>

namespace olvane {

std::int64_t delayLengthSeconds(const DelayDuration& duration) {
    return std::clamp<std::int64_t>(duration.seconds(), 1, kMaxDelaySeconds);
}

std::string delayTimeText(std::int64_t seconds) {
    if (seconds > 59) {
        char text[32];
        std::snprintf(text, sizeof text, "%02lld:%02lld", static_cast<long long>(seconds / 60),
                      static_cast<long long>(seconds % 60));
        return text;
    }
    return std::to_string(seconds) + " seconde" + (seconds > 1 ? "s" : "");
}

}  // namespace olvane
