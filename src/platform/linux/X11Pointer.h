#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

#include "platform/Geometry.h"
#include "platform/PointerLocation.h"
#include "platform/RunLoop.h"
#include "platform/linux/X11Connection.h"
#include "platform/linux/X11Input.h"

namespace olvane::platform::os {

// The pointer as the X server knows it, over a connection of its own: its position on the root
// window and the buttons that hold it, its moves from XInput2's raw motion (asked of the server
// only while someone listens, so that a pointer in use costs nothing while nobody does), moving
// it, and the displays it moves across.
class X11Pointer final : public PointerLocation {
  public:
    struct State {
        Point position;
        bool leftButton = false;
        bool rightButton = false;
    };

    // Null when no X server answers or it lacks XInput 2.2.
    static std::unique_ptr<X11Pointer> create(RunLoop& loop, const std::string& display = {});
    ~X11Pointer() override;
    X11Pointer(const X11Pointer&) = delete;
    X11Pointer& operator=(const X11Pointer&) = delete;

    X11Connection& connection() { return *x_; }

    std::optional<Point> pointerLocation() override;
    Handle observeMotion(std::function<void()> onMove) override;

    // Absent when the server does not answer.
    std::optional<State> state();
    // Asks where the pointer is without waiting for the answer, unless a question is out.
    void askPosition();
    bool isAskingPosition() const { return question_.has_value(); }
    // The answer to the question out, read without waiting: absent while it has not come, or
    // when the server refused it. Once it has come, no question is out.
    std::optional<Point> takePositionAnswer();
    // Moves the pointer there (root coordinates, the global display coordinates).
    void warpTo(Point position);
    // Moves the pointer by that much from wherever it is when the server gets the request, so
    // that movement made meanwhile is kept.
    void warpBy(double dx, double dy);
    // The frames of the screens that show the desktop, at most 16.
    std::vector<Rect> displayBounds();

  private:
    X11Pointer(std::unique_ptr<X11Connection> x, std::uint8_t xinputOpcode);
    void handleEvent(const xcb_generic_event_t& event);

    std::unique_ptr<X11Connection> x_;
    std::uint8_t xinputOpcode_;
    RootInputObservers<> moved_;
    Handle events_;
    // The sequence number of the position question out.
    std::optional<unsigned int> question_;
};

}  // namespace olvane::platform::os
