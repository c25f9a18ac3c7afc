#pragma once

#include <linux/input.h>

#include <bitset>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/FileDescriptor.h"

namespace olvane::platform::os {

// Where the input devices live.
struct InputDevicePlaces {
    std::filesystem::path inputFolder = "/dev/input";
    std::filesystem::path uinput = "/dev/uinput";
};

// The name of the virtual pointer that replays the slowed movement; never grabbed itself.
inline constexpr const char* kVirtualPointerName = "OlvaneMac Tortue";

// One relative pointer device (a mouse, a trackpoint), open for reading.
struct PointerDevice {
    std::filesystem::path path;
    FileDescriptor fd;
    bool hasHighResolutionWheel = false;
};

// The relative pointers among the event devices of the folder that this process may read: each
// has X and Y axes and a left button, and no keyboard key (its keys would be swallowed with
// it). Touchpads and tablets report absolute positions and are not among them.
std::vector<PointerDevice> openPointerDevices(const std::filesystem::path& inputFolder);

// The mouse buttons, BTN_MOUSE (left) first.
using MouseButtons = std::bitset<BTN_TASK - BTN_MOUSE + 1>;

// The mouse buttons the kernel holds down for the device now; none when it does not say.
MouseButtons heldMouseButtons(int fd);

// What keeps this process from slowing the pointer through the input devices, in French;
// empty when nothing does.
std::string missingInputAccess(const InputDevicePlaces& places);

}  // namespace olvane::platform::os
