#pragma once

#include <functional>

namespace olvane::ui {

// Qt ends the process with exit() when its connection to the X server breaks, as when the session
// ends under the program: no event loop returns and no aboutToQuit comes. While an instance lives,
// such an exit first runs `shutDown` (the shutdown steps that need no display). One instance per
// process; the program's own return from main runs nothing.
class DisplayLossShutdown {
  public:
    explicit DisplayLossShutdown(std::function<void()> shutDown);
    ~DisplayLossShutdown();
    DisplayLossShutdown(const DisplayLossShutdown&) = delete;
    DisplayLossShutdown& operator=(const DisplayLossShutdown&) = delete;
};

}  // namespace olvane::ui
