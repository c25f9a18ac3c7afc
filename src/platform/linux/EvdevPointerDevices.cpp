#include "platform/linux/EvdevPointerDevices.h"

#include <fcntl.h>
#include <linux/input.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <climits>
#include <cstring>

namespace olvane::platform::os {
namespace {

constexpr unsigned kWordBits = sizeof(unsigned long) * CHAR_BIT;
// Room for the bits of any event type's codes (keys have the most).
using CodeBits = std::array<unsigned long, (KEY_CNT + kWordBits - 1) / kWordBits>;

bool bitIsSet(const CodeBits& bits, unsigned bit) {
    return ((bits[bit / kWordBits] >> (bit % kWordBits)) & 1UL) != 0;
}

bool readCapabilities(int fd, unsigned type, CodeBits& bits) {
    bits.fill(0);
    return ::ioctl(fd, EVIOCGBIT(type, sizeof(bits)), bits.data()) >= 0;
}

std::string deviceName(int fd) {
    std::array<char, 256> name{};
    if (::ioctl(fd, EVIOCGNAME(name.size() - 1), name.data()) < 0) {
        return {};
    }
    return name.data();
}

bool hasKeyboardKeys(const CodeBits& keys) {
    for (unsigned key = 1; key < BTN_MISC; ++key) {
        if (bitIsSet(keys, key)) {
            return true;
        }
    }
    return false;
}

bool isEventDevice(const std::filesystem::path& path) {
    return path.filename().string().rfind("event", 0) == 0;
}

}  // namespace

std::vector<PointerDevice> openPointerDevices(const std::filesystem::path& inputFolder) {
    std::vector<std::filesystem::path> paths;
    std::error_code ec;
    for (const auto& entry : std::filesystem::directory_iterator(inputFolder, ec)) {
        if (isEventDevice(entry.path())) {
            paths.push_back(entry.path());
        }
    }
    std::sort(paths.begin(), paths.end());
    std::vector<PointerDevice> devices;
    for (const auto& path : paths) {
        FileDescriptor fd(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC));
        CodeBits axes;
        CodeBits keys;
        if (!fd.valid() || !readCapabilities(fd.get(), EV_REL, axes) ||
            !readCapabilities(fd.get(), EV_KEY, keys)) {
            continue;
        }
        if (!bitIsSet(axes, REL_X) || !bitIsSet(axes, REL_Y) || !bitIsSet(keys, BTN_LEFT) ||
            hasKeyboardKeys(keys) || deviceName(fd.get()) == kVirtualPointerName) {
            continue;
        }
        devices.push_back({path, std::move(fd), bitIsSet(axes, REL_WHEEL_HI_RES)});
    }
    return devices;
}

MouseButtons heldMouseButtons(int fd) {
    CodeBits keys{};
    MouseButtons held;
    if (::ioctl(fd, EVIOCGKEY(sizeof(keys)), keys.data()) < 0) {
        return held;
    }
    for (unsigned code = BTN_MOUSE; code <= BTN_TASK; ++code) {
        held[code - BTN_MOUSE] = bitIsSet(keys, code);
    }
    return held;
}

std::string missingInputAccess(const InputDevicePlaces& places) {
    if (!std::filesystem::exists(places.uinput)) {
        return places.uinput.string() + " n’existe pas (module uinput non chargé)";
    }
    if (::access(places.uinput.c_str(), W_OK) != 0) {
        return "pas d’accès en écriture à " + places.uinput.string();
    }
    if (openPointerDevices(places.inputFolder).empty()) {
        return "aucune souris lisible dans " + places.inputFolder.string();
    }
    return {};
}

}  // namespace olvane::platform::os
