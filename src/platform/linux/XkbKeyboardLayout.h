#pragma once

#include <memory>

#include "platform/KeyboardLayout.h"
#include "platform/RunLoop.h"
#include "platform/Signal.h"
#include "platform/linux/X11Connection.h"

struct xkb_context;
struct xkb_keymap;
struct xkb_state;

namespace olvane::platform::os {

// The X server's keyboard layout, read through XKB and read again when the keyboard, its
// mapping (setxkbmap) or the group in use changes.
class XkbKeyboardLayout final : public KeyboardLayout {
  public:
    // Null when no X server answers or it lacks XKB.
    static std::unique_ptr<XkbKeyboardLayout> create(RunLoop& loop,
                                                     const std::string& display = {});
    ~XkbKeyboardLayout() override;

    std::optional<std::string> keyLabel(std::uint16_t keyCode) const override;
    Handle observeChanges(std::function<void()> observer) override;

  private:
    struct Unref {
        void operator()(xkb_context* context) const;
        void operator()(xkb_keymap* keymap) const;
        void operator()(xkb_state* state) const;
    };

    XkbKeyboardLayout(std::unique_ptr<X11Connection> x, std::uint8_t firstEvent);
    bool select();
    bool load();
    void handleEvent(const xcb_generic_event_t& event);

    std::unique_ptr<X11Connection> x_;
    std::uint8_t firstEvent_;
    std::int32_t device_ = -1;
    std::unique_ptr<xkb_context, Unref> context_;
    std::unique_ptr<xkb_keymap, Unref> keymap_;
    std::unique_ptr<xkb_state, Unref> state_;
    Signal<> changed_;
    Handle events_;
};

}  // namespace olvane::platform::os
