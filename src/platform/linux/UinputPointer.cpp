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

constexpr unsigned kMouseButtons = BTN_TASK - BTN_MOUSE + 1;
static_assert(kMouseButtons <= 32 && std::atomic<std::uint32_t>::is_always_lock_free);

// The bit of a mouse button; 0 for any other code.
std::uint32_t buttonBit(std::uint16_t code) {
    return code >= BTN_MOUSE && code <= BTN_TASK ? 1u << (code - BTN_MOUSE) : 0u;
}

input_event inputEvent(std::int32_t type, std::int32_t code, std::int32_t value) {
    input_event event{};
    event.type = static_cast<std::uint16_t>(type);
    event.code = static_cast<std::uint16_t>(code);
    event.value = value;
    return event;
}

// The `count` events at the start of `frame`, then the frame's end, in one write. Safe in a
// signal handler.
template <std::size_t N>
bool writeFrame(int fd, std::array<input_event, N>& frame, std::size_t count) {
    frame[count++] = inputEvent(EV_SYN, SYN_REPORT, 0);
    return writeAllToDescriptor(fd, std::string_view(reinterpret_cast<const char*>(frame.data()),
                                                     count * sizeof(input_event)));
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
        buffer[count++] = inputEvent(type, code, value);
    }
    return count == 0 || writeFrame(fd_.get(), buffer, count);
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
    // A stop that lands in between releases a button not pressed yet, which changes nothing.
    if (pressed) {
        heldButtons_.fetch_or(buttonBit(code));
    }
    const bool written = write({{EV_KEY, code, pressed ? 1 : 0}});
    if (!pressed) {
        heldButtons_.fetch_and(~buttonBit(code));
    }
    return written;
}

void UinputPointer::releaseButtonsFromSignal() {
    const std::uint32_t held = heldButtons_.exchange(0);
    if (held == 0) {
        return;
    }
    std::array<input_event, kMouseButtons + 1> frame{};
    std::size_t count = 0;
    for (unsigned i = 0; i < kMouseButtons; ++i) {
        if ((held & (1u << i)) != 0) {
            frame[count++] = inputEvent(EV_KEY, static_cast<std::int32_t>(BTN_MOUSE + i), 0);
        }
    }
    (void)writeFrame(fd_.get(), frame, count);
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
