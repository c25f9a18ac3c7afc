#pragma once

#include <cstdint>
#include <memory>

#include "platform/PointerLocation.h"
#include "platform/RunLoop.h"
#include "platform/Signal.h"
#include "platform/linux/X11Connection.h"

namespace olvane::platform::os {

// The pointer as the X server knows it: its position on the root window, and its moves from
// XInput2's raw motion, asked of the server only while someone listens (so that a pointer in
// use costs nothing while no fog is shown).
class X11Pointer final : public PointerLocation {
  public:
    // Null when no X server answers or it lacks XInput 2.
    static std::unique_ptr<X11Pointer> create(RunLoop& loop, const std::string& display = {});
    ~X11Pointer() override;
    X11Pointer(const X11Pointer&) = delete;
    X11Pointer& operator=(const X11Pointer&) = delete;

    std::optional<Point> pointerLocation() override;
    Handle observeMotion(std::function<void()> onMove) override;

  private:
    X11Pointer(std::unique_ptr<X11Connection> x, std::uint8_t xinputOpcode);
    bool selectRawMotion(bool wanted);
    void handleEvent(const xcb_generic_event_t& event);

    std::unique_ptr<X11Connection> x_;
    std::uint8_t xinputOpcode_;
    Signal<> moved_;
    Handle events_;
    std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);
};

}  // namespace olvane::platform::os
