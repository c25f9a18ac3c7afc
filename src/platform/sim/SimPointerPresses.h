#pragma once

#include "platform/PointerPresses.h"
#include "platform/Signal.h"

namespace olvane::platform::sim {

// Presses the test makes, delivered at once; at run time, the stand-in where no X server
// shows them.
class SimPointerPresses final : public PointerPresses {
  public:
    Handle observePresses(Observer observer) override {
        return presses_.connect(std::move(observer));
    }
    void press(PointerButton button) { presses_.emit(button); }

  private:
    Signal<PointerButton> presses_;
};

}  // namespace olvane::platform::sim
