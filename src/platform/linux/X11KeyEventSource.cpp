#include "platform/linux/X11KeyEventSource.h"

#include <unistd.h>
#include <xcb/xinput.h>

#include "platform/KeyCodes.h"
#include "platform/linux/Ewmh.h"
#include "platform/linux/X11Input.h"
#include "platform/linux/XcbXkb.h"

namespace olvane::platform::os {
namespace {

// X key codes are the kernel's evdev codes plus 8.
constexpr std::uint32_t kEvdevOffset = 8;

}  // namespace

KeyModifiers keyModifiersForXMask(std::uint32_t mask) {
    KeyModifiers modifiers;
    const std::pair<std::uint32_t, KeyModifier> table[] = {
        {XCB_MOD_MASK_SHIFT, KeyModifier::Shift},     {XCB_MOD_MASK_LOCK, KeyModifier::CapsLock},
        {XCB_MOD_MASK_CONTROL, KeyModifier::Control}, {XCB_MOD_MASK_1, KeyModifier::Option},
        {XCB_MOD_MASK_4, KeyModifier::Command},
    };
    for (const auto& [bit, modifier] : table) {
        if ((mask & bit) != 0) {
            modifiers = modifiers | modifier;
        }
    }
    return modifiers;
}

std::unique_ptr<X11KeyEventSource> X11KeyEventSource::create(RunLoop& loop,
                                                             const std::string& display) {
    auto x = X11Connection::open(display);
    if (!x) {
        return nullptr;
    }
    const auto xinput = x->xinput2Opcode(2);
    const auto xkb = x->extensionFirstEvent(xcb_xkb_id);
    if (!xinput || !xkb) {
        return nullptr;
    }
    const XcbPtr<xcb_xkb_use_extension_reply_t> xkbVersion(
        xcb_xkb_use_extension_reply(x->get(), xcb_xkb_use_extension(x->get(), 1, 0), nullptr));
    if (!xkbVersion || !xkbVersion->supported) {
        return nullptr;
    }
    std::unique_ptr<X11KeyEventSource> source(new X11KeyEventSource(std::move(x), *xinput, *xkb));
    if (!source->select()) {
        return nullptr;
    }
    source->events_ = source->x_->watchEvents(
        loop,
        [source = source.get()](const xcb_generic_event_t& event) { source->handleEvent(event); });
    return source;
}

X11KeyEventSource::X11KeyEventSource(std::unique_ptr<X11Connection> x, std::uint8_t xinputOpcode,
                                     std::uint8_t xkbFirstEvent)
    : x_(std::move(x)),
      xinputOpcode_(xinputOpcode),
      xkbFirstEvent_(xkbFirstEvent),
      ownPid_(::getpid()) {}

X11KeyEventSource::~X11KeyEventSource() {
    events_.cancel();
}

bool X11KeyEventSource::select() {
    const bool rawSelected = selectRootInputEvents(*x_, XCB_INPUT_XI_EVENT_MASK_RAW_KEY_PRESS);
    // Only the effective modifiers are read: a click, which changes the pointer buttons of the
    // state, must not wake the program.
    xcb_xkb_select_events_details_t details{};
    details.affectState = XCB_XKB_STATE_PART_MODIFIER_STATE;
    details.stateDetails = XCB_XKB_STATE_PART_MODIFIER_STATE;
    const XcbPtr<xcb_generic_error_t> xkbError(xcb_request_check(
        x_->get(),
        xcb_xkb_select_events_aux_checked(x_->get(), XCB_XKB_ID_USE_CORE_KBD,
                                          XCB_XKB_EVENT_TYPE_STATE_NOTIFY, 0, 0, 0, 0, &details)));
    const XcbPtr<xcb_xkb_get_state_reply_t> state(xcb_xkb_get_state_reply(
        x_->get(), xcb_xkb_get_state(x_->get(), XCB_XKB_ID_USE_CORE_KBD), nullptr));
    if (!rawSelected || xkbError || !state) {
        return false;
    }
    modifierState_ = state->mods;
    return true;
}

Handle X11KeyEventSource::addGlobalKeyDownMonitor(KeyObserver observer) {
    return global_.connect(std::move(observer));
}

Handle X11KeyEventSource::addLocalKeyDownMonitor(KeyObserver observer) {
    return local_.connect(std::move(observer));
}

void X11KeyEventSource::handleEvent(const xcb_generic_event_t& event) {
    const auto type = static_cast<std::uint8_t>(event.response_type & 0x7F);
    if (type == xkbFirstEvent_) {
        const auto& xkb = reinterpret_cast<const xcb_xkb_state_notify_event_t&>(event);
        if (xkb.xkbType == XCB_XKB_STATE_NOTIFY) {
            modifierState_ = xkb.mods;
        }
        return;
    }
    if (xinputEventType(event, xinputOpcode_) != XCB_INPUT_RAW_KEY_PRESS) {
        return;
    }
    const auto& raw = reinterpret_cast<const xcb_input_raw_key_press_event_t&>(event);
    keyDown(raw.detail, (raw.flags & XCB_INPUT_KEY_EVENT_FLAGS_KEY_REPEAT) != 0);
}

void X11KeyEventSource::keyDown(std::uint32_t keycode, bool isRepeat) {
    if (keycode < kEvdevOffset || isModifierKey(keycode - kEvdevOffset)) {
        return;
    }
    const auto keyCode = keyCodeForEvdev(keycode - kEvdevOffset);
    if (!keyCode) {
        return;
    }
    const KeyEvent event{*keyCode, keyModifiersForXMask(modifierState_), isRepeat};
    if (ownWindowHasFocus()) {
        local_.emit(event);
    } else {
        global_.emit(event);
    }
}

bool X11KeyEventSource::ownWindowHasFocus() {
    const auto active = ewmh::activeWindow(*x_);
    const bool own = active && ewmh::windowPid(*x_, *active) == ownPid_;
    x_->deliverQueuedEventsSoon();
    return own;
}

}  // namespace olvane::platform::os
