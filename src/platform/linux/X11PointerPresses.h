#pragma once

#include <memory>

#include "platform/PointerPresses.h"
#include "platform/RunLoop.h"
#include "platform/linux/X11Connection.h"
#include "platform/linux/X11Input.h"

namespace olvane::platform::os {

// Mouse-downs from XInput2 raw button events on the root window: every press of the session is
// seen while someone observes them, and none is taken from the window it goes to.
class X11PointerPresses final : public PointerPresses {
  public:
    // Null when no X server answers or it lacks XInput 2.2.
    static std::unique_ptr<X11PointerPresses> create(RunLoop& loop,
                                                     const std::string& display = {});
    ~X11PointerPresses() override;

    Handle observePresses(Observer observer) override;

  private:
    X11PointerPresses(std::unique_ptr<X11Connection> x, std::uint8_t xinputOpcode);
    void handleEvent(const xcb_generic_event_t& event);

    std::unique_ptr<X11Connection> x_;
    std::uint8_t xinputOpcode_;
    RootInputObservers<PointerButton> presses_;
    Handle events_;
};

}  // namespace olvane::platform::os
