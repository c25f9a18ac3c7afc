#pragma once

#include <cstdint>
#include <string>

#include "model/DelayDuration.h"

namespace olvane {

// The longest wait the interface lets the user choose: a day.
inline constexpr std::int64_t kMaxDelaySeconds = 86'400;

// How long the waiting screen counts down: the stored length, held within 1 second to a day
// (the stored value is not checked when read).
std::int64_t delayLengthSeconds(const DelayDuration& duration);

// The time left as the waiting screen writes it: "01:05" above 59 seconds (one hour is
// "60:00"), "59 secondes" … "2 secondes", "1 seconde", "0 seconde".
std::string delayTimeText(std::int64_t seconds);

}  // namespace olvane
