#pragma once

#include <functional>

#include "platform/Handle.h"
#include "platform/RunLoop.h"

namespace olvane::ui {

// Turns SIGTERM, SIGINT and SIGHUP into work on the run loop, so that a kill, a Ctrl-C or a closed
// terminal (and the session managers that hang up) lead to the same clean shutdown as "Quitter".
// One instance per process; the previous handlers come back when it goes.
class TerminationSignals {
  public:
    TerminationSignals(platform::RunLoop& loop, std::function<void(int signal)> onSignal);
    ~TerminationSignals();
    TerminationSignals(const TerminationSignals&) = delete;
    TerminationSignals& operator=(const TerminationSignals&) = delete;

    // False when the pipe or the handlers could not be set up (the signals then kill as usual).
    bool valid() const { return valid_; }

  private:
    void drain();

    int readFd_ = -1;
    int writeFd_ = -1;
    bool valid_ = false;
    std::function<void(int)> onSignal_;
    platform::Handle watch_;
};

}  // namespace olvane::ui
