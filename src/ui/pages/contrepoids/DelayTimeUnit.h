#pragma once

#include <cstdint>

#include "model/RawValueEnum.h"

namespace olvane::ui {

// The units in which a custom delay is shown and typed; the raw value is the unit's label.
enum class DelayTimeUnit { seconds, minutes, hours };

std::int64_t secondsPerUnit(DelayTimeUnit unit);
// The longest delay (one day) in the unit: 86400, 1440 or 24.
std::int64_t largestShownValue(DelayTimeUnit unit);

}  // namespace olvane::ui

namespace olvane {

template <>
struct RawValues<ui::DelayTimeUnit> {
    static constexpr std::array<std::string_view, 3> names{"secondes", "minutes", "heures"};
    static constexpr bool listsAllCases = true;
};

}  // namespace olvane
