#pragma once

#include <functional>

#include "platform/Handle.h"
#include "platform/KeyEvent.h"

namespace olvane::platform {

// Key-downs seen by the application. Pressing or releasing a modifier key alone is no key-down.
// A key press reaches one monitor only: the global one when another application has the focus,
// the local one when one of our own windows has it. Monitors only observe: the key still goes
// where it was going. Callbacks run on the run loop.
class KeyEventSource {
  public:
    using KeyObserver = std::function<void(const KeyEvent&)>;

    virtual ~KeyEventSource() = default;

    // Keys pressed while another application has the focus. An empty handle when the session
    // refuses to show them.
    virtual Handle addGlobalKeyDownMonitor(KeyObserver observer) = 0;
    // Keys pressed in the application's own windows. An empty handle when refused.
    virtual Handle addLocalKeyDownMonitor(KeyObserver observer) = 0;
};

}  // namespace olvane::platform
