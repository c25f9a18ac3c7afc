#pragma once

#include <optional>

#include "platform/Geometry.h"
#include "platform/linux/X11Pointer.h"

namespace olvane::platform::os {

// Where the pointer replayed through a virtual device stands, kept here so that replaying never
// waits on the X server (a window manager holding a server grab, a slow server): the server's
// last answer plus the movement replayed since it was asked. The desktop accelerates the
// replayed movement, so the sum drifts: the server is asked again, without waiting, each time
// its previous answer is in. Without a server only differences count: the sum alone.
class ReplayedPointerPosition {
  public:
    // `pointer`: the X server's, or null.
    explicit ReplayedPointerPosition(X11Pointer* pointer);

    // Asks the server and waits for its answer: at the start of a replay, before any mouse is
    // held.
    void resync();
    // Absent while the server has never answered.
    std::optional<Point> current();
    void moved(double dx, double dy);

  private:
    void takeAnswer();

    X11Pointer* pointer_;
    std::optional<Point> position_;
    // Replayed since the question out was asked.
    Point movedSinceAsked_;
};

}  // namespace olvane::platform::os
