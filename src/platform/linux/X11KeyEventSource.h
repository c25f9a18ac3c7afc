#pragma once

#include <sys/types.h>

#include <memory>

#include "platform/KeyEventSource.h"
#include "platform/RunLoop.h"
#include "platform/Signal.h"
#include "platform/linux/X11Connection.h"

namespace olvane::platform::os {

// Key-downs from XInput2 raw key events on the root window: every key pressed in the session is
// seen, and none is taken from the window it goes to. The modifiers are those of the keyboard's
// XKB state when the key went down (Super for Command, Alt for Option).
class X11KeyEventSource final : public KeyEventSource {
  public:
    // Null when no X server answers or it lacks XInput 2.2 or XKB.
    static std::unique_ptr<X11KeyEventSource> create(RunLoop& loop,
                                                     const std::string& display = {});
    ~X11KeyEventSource() override;

    Handle addGlobalKeyDownMonitor(KeyObserver observer) override;
    Handle addLocalKeyDownMonitor(KeyObserver observer) override;

  private:
    X11KeyEventSource(std::unique_ptr<X11Connection> x, std::uint8_t xinputOpcode,
                      std::uint8_t xkbFirstEvent);
    bool select();
    void handleEvent(const xcb_generic_event_t& event);
    void keyDown(std::uint32_t keycode, bool isRepeat);
    // Whether the focused window belongs to this process.
    bool ownWindowHasFocus();

    std::unique_ptr<X11Connection> x_;
    std::uint8_t xinputOpcode_;
    std::uint8_t xkbFirstEvent_;
    std::uint8_t modifierState_ = 0;
    pid_t ownPid_;
    Signal<KeyEvent> global_;
    Signal<KeyEvent> local_;
    Handle events_;
};

// The modifiers of an X modifier mask (Shift, Lock, Control, Mod1 = Alt, Mod4 = Super).
KeyModifiers keyModifiersForXMask(std::uint32_t mask);

}  // namespace olvane::platform::os
