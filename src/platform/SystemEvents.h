#pragma once

#include <cstdint>
#include <functional>

#include "platform/Handle.h"

namespace olvane::platform {

// Moments when the system may have dropped the display's state behind the application's back,
// and the comings and goings of the user's login session.
enum class SystemEvent : std::uint8_t {
    DidWake,                 // the machine woke from sleep
    ScreensDidWake,          // the screens came back on
    ScreenUnlocked,          // the user unlocked the screen
    SessionDidResignActive,  // another session took the seat (fast user switching)
    SessionDidBecomeActive,  // this session has the seat again
};

// The change flags of a display reconfiguration; several may come in one report.
namespace display_change {
inline constexpr std::uint32_t kBeginConfiguration = 0x1;  // announced, not done yet
inline constexpr std::uint32_t kMoved = 0x2;
inline constexpr std::uint32_t kSetMain = 0x4;
inline constexpr std::uint32_t kSetMode = 0x8;
inline constexpr std::uint32_t kAdded = 0x10;
inline constexpr std::uint32_t kRemoved = 0x20;
inline constexpr std::uint32_t kEnabled = 0x100;
inline constexpr std::uint32_t kDisabled = 0x200;
inline constexpr std::uint32_t kMirror = 0x400;
inline constexpr std::uint32_t kUnmirror = 0x800;
inline constexpr std::uint32_t kDesktopShapeChanged = 0x1000;
}  // namespace display_change

using DisplayId = std::uint32_t;
using DisplayReconfiguration = std::function<void(DisplayId display, std::uint32_t flags)>;

// Every observer is called on the run loop's thread; destroying the handle stops it.
class SystemEvents {
  public:
    virtual ~SystemEvents() = default;

    virtual Handle observe(SystemEvent event, std::function<void()> observer) = 0;
    virtual Handle observeDisplayReconfiguration(DisplayReconfiguration observer) = 0;
};

}  // namespace olvane::platform
