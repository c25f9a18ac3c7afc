#include "platform/linux/XkbKeyboardLayout.h"

#include <xkbcommon/xkbcommon-x11.h>

#include <array>

#include "platform/KeyCodes.h"
#include "platform/linux/XcbXkb.h"

namespace olvane::platform::os {
namespace {

// X key codes are the kernel's evdev codes plus 8.
constexpr std::uint32_t kEvdevOffset = 8;

// What every XKB event starts with.
struct XkbEventHead {
    std::uint8_t responseType;
    std::uint8_t xkbType;
    std::uint16_t sequence;
    xcb_timestamp_t time;
    std::uint8_t deviceID;
};

}  // namespace

void XkbKeyboardLayout::Unref::operator()(xkb_context* context) const {
    xkb_context_unref(context);
}

void XkbKeyboardLayout::Unref::operator()(xkb_keymap* keymap) const {
    xkb_keymap_unref(keymap);
}

void XkbKeyboardLayout::Unref::operator()(xkb_state* state) const {
    xkb_state_unref(state);
}

std::unique_ptr<XkbKeyboardLayout> XkbKeyboardLayout::create(RunLoop& loop,
                                                             const std::string& display) {
    auto x = X11Connection::open(display);
    if (!x) {
        return nullptr;
    }
    std::uint8_t firstEvent = 0;
    if (!xkb_x11_setup_xkb_extension(
            x->get(), XKB_X11_MIN_MAJOR_XKB_VERSION, XKB_X11_MIN_MINOR_XKB_VERSION,
            XKB_X11_SETUP_XKB_EXTENSION_NO_FLAGS, nullptr, nullptr, &firstEvent, nullptr)) {
        return nullptr;
    }
    std::unique_ptr<XkbKeyboardLayout> layout(new XkbKeyboardLayout(std::move(x), firstEvent));
    if (!layout->context_ || !layout->select() || !layout->load()) {
        return nullptr;
    }
    layout->events_ = layout->x_->watchEvents(
        loop,
        [layout = layout.get()](const xcb_generic_event_t& event) { layout->handleEvent(event); });
    return layout;
}

XkbKeyboardLayout::XkbKeyboardLayout(std::unique_ptr<X11Connection> x, std::uint8_t firstEvent)
    : x_(std::move(x)),
      firstEvent_(firstEvent),
      device_(xkb_x11_get_core_keyboard_device_id(x_->get())),
      context_(xkb_context_new(XKB_CONTEXT_NO_FLAGS)) {}

XkbKeyboardLayout::~XkbKeyboardLayout() {
    events_.cancel();
}

bool XkbKeyboardLayout::select() {
    if (device_ < 0) {
        return false;
    }
    const std::uint16_t keymapEvents =
        XCB_XKB_EVENT_TYPE_NEW_KEYBOARD_NOTIFY | XCB_XKB_EVENT_TYPE_MAP_NOTIFY;
    // Of the state, only the group in use changes a caption: clicks and modifier taps, which
    // change the rest, must not wake the program.
    xcb_xkb_select_events_details_t details{};
    details.affectState = XCB_XKB_STATE_PART_GROUP_STATE;
    details.stateDetails = XCB_XKB_STATE_PART_GROUP_STATE;
    const XcbPtr<xcb_generic_error_t> error(xcb_request_check(
        x_->get(),
        xcb_xkb_select_events_aux_checked(x_->get(), static_cast<xcb_xkb_device_spec_t>(device_),
                                          keymapEvents | XCB_XKB_EVENT_TYPE_STATE_NOTIFY, 0,
                                          keymapEvents, 0, 0, &details)));
    return !error;
}

// The keymap and the group in use, as the server has them now.
bool XkbKeyboardLayout::load() {
    std::unique_ptr<xkb_keymap, Unref> keymap(xkb_x11_keymap_new_from_device(
        context_.get(), x_->get(), device_, XKB_KEYMAP_COMPILE_NO_FLAGS));
    if (!keymap) {
        return false;
    }
    std::unique_ptr<xkb_state, Unref> state(
        xkb_x11_state_new_from_device(keymap.get(), x_->get(), device_));
    if (!state) {
        return false;
    }
    keymap_ = std::move(keymap);
    state_ = std::move(state);
    return true;
}

std::optional<std::string> XkbKeyboardLayout::keyLabel(std::uint16_t keyCode) const {
    const auto evdev = evdevCodeForKeyCode(keyCode);
    if (!evdev) {
        return std::nullopt;
    }
    const xkb_keycode_t key = *evdev + kEvdevOffset;
    const xkb_layout_index_t group = xkb_state_key_get_layout(state_.get(), key);
    const xkb_keysym_t* symbols = nullptr;
    if (group == XKB_LAYOUT_INVALID ||
        xkb_keymap_key_get_syms_by_level(keymap_.get(), key, group, 0, &symbols) != 1) {
        return std::nullopt;
    }
    std::array<char, 16> text{};
    const int size = xkb_keysym_to_utf8(xkb_keysym_to_upper(symbols[0]), text.data(), text.size());
    // A dead key or a control key (Tab, Return) has no caption of its own.
    if (size <= 1 || static_cast<unsigned char>(text[0]) < 0x20 || text[0] == 0x7F) {
        return std::nullopt;
    }
    return std::string(text.data(), static_cast<std::size_t>(size - 1));
}

Handle XkbKeyboardLayout::observeChanges(std::function<void()> observer) {
    return changed_.connect([observer = std::move(observer)] { observer(); });
}

void XkbKeyboardLayout::handleEvent(const xcb_generic_event_t& event) {
    if ((event.response_type & 0x7F) != firstEvent_) {
        return;
    }
    const auto& head = reinterpret_cast<const XkbEventHead&>(event);
    if (head.deviceID != device_) {
        return;
    }
    switch (head.xkbType) {
        case XCB_XKB_NEW_KEYBOARD_NOTIFY:
        case XCB_XKB_MAP_NOTIFY:
            if (load()) {
                changed_.emit();
            }
            break;
        case XCB_XKB_STATE_NOTIFY: {
            const auto& state = reinterpret_cast<const xcb_xkb_state_notify_event_t&>(event);
            const xkb_layout_index_t before =
                xkb_state_serialize_layout(state_.get(), XKB_STATE_LAYOUT_EFFECTIVE);
            xkb_state_update_mask(state_.get(), state.baseMods, state.latchedMods, state.lockedMods,
                                  static_cast<xkb_layout_index_t>(state.baseGroup),
                                  static_cast<xkb_layout_index_t>(state.latchedGroup),
                                  state.lockedGroup);
            if (xkb_state_serialize_layout(state_.get(), XKB_STATE_LAYOUT_EFFECTIVE) != before) {
                changed_.emit();
            }
            break;
        }
        default:
            break;
    }
}

}  // namespace olvane::platform::os
