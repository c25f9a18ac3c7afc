#pragma once

#include <functional>

#include "platform/Handle.h"

namespace olvane::platform {

enum class PointerButton { left, right };

// Left and right mouse-downs anywhere in the session, in this application's windows and in
// others'. Observers only watch: the click still goes where it was going. Callbacks run on the
// run loop.
class PointerPresses {
  public:
    using Observer = std::function<void(PointerButton)>;

    virtual ~PointerPresses() = default;
    virtual Handle observePresses(Observer observer) = 0;
};

}  // namespace olvane::platform
