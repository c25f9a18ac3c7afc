#pragma once

#include "platform/Clock.h"

namespace olvane::platform::os {

class SystemClock final : public Clock {
  public:
    double unixNow() const override;
    MonotonicTime monotonicNow() const override;
};

}  // namespace olvane::platform::os
