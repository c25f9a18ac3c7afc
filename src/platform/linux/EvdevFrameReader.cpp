#include "platform/linux/EvdevFrameReader.h"

namespace olvane::platform::os {

bool EvdevFrameReader::add(const input_event& event) {
    if (complete_) {
        frame_.dx = frame_.dy = frame_.wheel = frame_.horizontalWheel = 0;
        frame_.buttons.clear();  // keeps its capacity: no allocation per frame
        complete_ = false;
    }
    if (event.type == EV_SYN && event.code == SYN_DROPPED) {
        dropping_ = true;
        return false;
    }
    if (event.type == EV_SYN && event.code == SYN_REPORT) {
        complete_ = true;
        if (dropping_) {
            dropping_ = false;
            return false;
        }
        return true;
    }
    if (dropping_) {
        return false;
    }
    if (event.type == EV_REL) {
        addRelative(event.code, event.value);
    } else if (event.type == EV_KEY && event.code >= BTN_MOUSE && event.code <= BTN_TASK &&
               event.value != 2) {
        frame_.buttons.push_back({event.code, event.value});
    }
    return false;
}

void EvdevFrameReader::addRelative(std::uint16_t code, std::int32_t value) {
    switch (code) {
        case REL_X:
            frame_.dx += value;
            break;
        case REL_Y:
            frame_.dy += value;
            break;
        case REL_WHEEL_HI_RES:
            frame_.wheel += value;
            break;
        case REL_HWHEEL_HI_RES:
            frame_.horizontalWheel += value;
            break;
        case REL_WHEEL:
            if (!hasHighResolutionWheel_) {
                frame_.wheel += value * kWheelUnitsPerNotch;
            }
            break;
        case REL_HWHEEL:
            if (!hasHighResolutionWheel_) {
                frame_.horizontalWheel += value * kWheelUnitsPerNotch;
            }
            break;
        default:
            break;
    }
}

}  // namespace olvane::platform::os
