#include "platform/linux/X11PointerPresses.h"

#include <xcb/xinput.h>

namespace olvane::platform::os {
namespace {

constexpr std::uint32_t kLeftButton = 1;
constexpr std::uint32_t kRightButton = 3;

}  // namespace

std::unique_ptr<X11PointerPresses> X11PointerPresses::create(RunLoop& loop,
                                                             const std::string& display) {
    auto x = X11Connection::open(display);
    if (!x) {
        return nullptr;
    }
    const auto xinput = x->xinput2Opcode(2);
    if (!xinput) {
        return nullptr;
    }
    std::unique_ptr<X11PointerPresses> presses(new X11PointerPresses(std::move(x), *xinput));
    presses->events_ = presses->x_->watchEvents(
        loop,
        [source = presses.get()](const xcb_generic_event_t& event) { source->handleEvent(event); });
    return presses;
}

X11PointerPresses::X11PointerPresses(std::unique_ptr<X11Connection> x, std::uint8_t xinputOpcode)
    : x_(std::move(x)),
      xinputOpcode_(xinputOpcode),
      presses_(*x_, XCB_INPUT_XI_EVENT_MASK_RAW_BUTTON_PRESS) {}

X11PointerPresses::~X11PointerPresses() {
    events_.cancel();
}

Handle X11PointerPresses::observePresses(Observer observer) {
    return presses_.observe(std::move(observer));
}

void X11PointerPresses::handleEvent(const xcb_generic_event_t& event) {
    if (xinputEventType(event, xinputOpcode_) != XCB_INPUT_RAW_BUTTON_PRESS) {
        return;
    }
    const auto button = reinterpret_cast<const xcb_input_raw_button_press_event_t&>(event).detail;
    if (button == kLeftButton) {
        presses_.emit(PointerButton::left);
    } else if (button == kRightButton) {
        presses_.emit(PointerButton::right);
    }
}

}  // namespace olvane::platform::os
