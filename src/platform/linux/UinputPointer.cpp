#include "platform/linux/UinputPointer.h"

#include <fcntl.h>
#include <linux/uinput.h>
#include <sys/ioctl.h>

#include <array>
#include <cstring>
#include <string_view>
#include <vector>

#include "platform/Descriptor.h"
#include "platform/linux/EvdevFrameReader.h"

namespace olvane::platform::os {
namespace {

bool declareCapabilities(int fd) {
    bool ok = ::ioctl(fd, UI_SET_EVBIT, EV_KEY) >= 0 && ::ioctl(fd, UI_SET_EVBIT, EV_REL) >= 0 &&
              ::ioctl(fd, UI_SET_PROPBIT, INPUT_PROP_POINTER) >= 0;
    for (int button = BTN_MOUSE; button <= BTN_TASK; ++button) {
        ok = ok && ::ioctl(fd, UI_SET_KEYBIT, button) >= 0;
    }
    for (const int axis :
         {REL_X, REL_Y, REL_WHEEL, REL_HWHEEL, REL_WHEEL_HI_RES, REL_HWHEEL_HI_RES}) {
        ok = ok && ::ioctl(fd, UI_SET_RELBIT, axis) >= 0;
    }
    return ok;
}

// Takes the whole notches out of `remainder`.
std::int32_t wholeNotches(std::int32_t& remainder) {
    const std::int32_t notches = remainder / EvdevFrameReader::kWheelUnitsPerNotch;
    remainder -= notches * EvdevFrameReader::kWheelUnitsPerNotch;
    return notches;
}

}  // namespace

std::unique_ptr<UinputPointer> UinputPointer::create(const std::filesystem::path& uinput,
                                                     const std::string& name) {
    FileDescriptor fd(::open(uinput.c_str(), O_WRONLY | O_NONBLOCK | O_CLOEXEC));
    if (!fd.valid() || !declareCapabilities(fd.get())) {
        return nullptr;
    }
    uinput_setup setup{};
    setup.id.bustype = BUS_VIRTUAL;
    name.copy(setup.name, UINPUT_MAX_NAME_SIZE - 1);
    if (::ioctl(fd.get(), UI_DEV_SETUP, &setup) < 0 || ::ioctl(fd.get(), UI_DEV_CREATE) < 0) {
        return nullptr;
    }
    return std::unique_ptr<UinputPointer>(new UinputPointer(std::move(fd)));
}

UinputPointer::~UinputPointer() {
    (void)::ioctl(fd_.get(), UI_DEV_DESTROY);
}

bool UinputPointer::write(std::initializer_list<std::array<std::int32_t, 3>> events) {
    std::array<input_event, 8> buffer{};
    std::size_t count = 0;
    for (const auto& [type, code, value] : events) {
        if (type == EV_REL && value == 0) {
            continue;
        }
        buffer[count].type = static_cast<std::uint16_t>(type);
        buffer[count].code = static_cast<std::uint16_t>(code);
        buffer[count].value = value;
        ++count;
    }
    if (count == 0) {
        return true;
    }
    buffer[count].type = EV_SYN;
    buffer[count].code = SYN_REPORT;
    ++count;
    return writeAllToDescriptor(fd_.get(),
                                std::string_view(reinterpret_cast<const char*>(buffer.data()),
                                                 count * sizeof(input_event)));
}

bool UinputPointer::move(std::int32_t dx, std::int32_t dy) {
    return write({{EV_REL, REL_X, dx}, {EV_REL, REL_Y, dy}});
}

bool UinputPointer::scroll(std::int32_t wheel, std::int32_t horizontalWheel) {
    wheelRemainder_ += wheel;
    horizontalWheelRemainder_ += horizontalWheel;
    return write({{EV_REL, REL_WHEEL_HI_RES, wheel},
                  {EV_REL, REL_HWHEEL_HI_RES, horizontalWheel},
                  {EV_REL, REL_WHEEL, wholeNotches(wheelRemainder_)},
                  {EV_REL, REL_HWHEEL, wholeNotches(horizontalWheelRemainder_)}});
}

bool UinputPointer::button(std::uint16_t code, bool pressed) {
    return write({{EV_KEY, code, pressed ? 1 : 0}});
}

std::optional<std::filesystem::path> UinputPointer::eventNode() const {
    std::array<char, 64> name{};
    if (::ioctl(fd_.get(), UI_GET_SYSNAME(name.size() - 1), name.data()) < 0) {
        return std::nullopt;
    }
    const auto device = std::filesystem::path("/sys/devices/virtual/input") / name.data();
    std::error_code ec;
    for (const auto& entry : std::filesystem::directory_iterator(device, ec)) {
        const auto node = entry.path().filename().string();
        if (node.rfind("event", 0) == 0) {
            return std::filesystem::path("/dev/input") / node;
        }
    }
    return std::nullopt;
}

}  // namespace olvane::platform::os
