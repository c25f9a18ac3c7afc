#pragma once

#include <functional>
#include <vector>

#include "platform/Handle.h"
#include "platform/RunLoop.h"

namespace olvane::platform::os {

class UinputPointer;

// While it lives, a stop asked from the terminal (SIGTSTP: Ctrl+Z) first lets go of the grabs of
// the given input devices and of the buttons the virtual pointer holds down, so that a stopped
// program never keeps the mice; `onContinued` runs on the loop once the program runs again.
// SIGSTOP cannot be caught and still stops with the grabs held. One at a time per process; the
// previous handler comes back when it goes.
class GrabsReleasedOnStop {
  public:
    // `virtualPointer`: may be null; must outlive this object.
    GrabsReleasedOnStop(RunLoop& loop, const std::vector<int>& devices,
                        UinputPointer* virtualPointer, std::function<void()> onContinued);
    ~GrabsReleasedOnStop();
    GrabsReleasedOnStop(const GrabsReleasedOnStop&) = delete;
    GrabsReleasedOnStop& operator=(const GrabsReleasedOnStop&) = delete;

    // A device about to be closed (unplugged): its number may soon name another file.
    void forget(int device);

  private:
    void continued();

    int wakeRead_ = -1;
    std::function<void()> onContinued_;
    Handle watch_;
};

}  // namespace olvane::platform::os
