#pragma once

#include <sys/types.h>

#include <string>

#include "platform/Handle.h"
#include "platform/RunLoop.h"

namespace olvane::platform {

// Liveness and exit of other processes.
class ProcessWatcher {
  public:
    virtual ~ProcessWatcher() = default;

    // True while the process runs, also when it belongs to another user.
    virtual bool isAlive(pid_t pid) = 0;

    // Whether the process runs the program `name`: the file name of its executable, or the name
    // it was started under (through a link, say).
    virtual bool runsProgram(pid_t pid, const std::string& name) = 0;

    // Calls `onExit` once, on the run loop, when the process ends. A process that has already
    // ended is reported as well, soon after the call. An empty handle when it cannot be watched.
    virtual Handle watchExit(pid_t pid, Task onExit) = 0;
};

}  // namespace olvane::platform
