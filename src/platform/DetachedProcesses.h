#pragma once

#include <sys/types.h>

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "platform/ComposedText.h"
#include "platform/Handle.h"
#include "platform/RunLoop.h"
#include "platform/Status.h"

namespace olvane::platform {

// Programs that outlive this process, started where no service manager would start them: each in
// a session of its own, with none of our descriptors.
class DetachedProcesses {
  public:
    virtual ~DetachedProcesses() = default;

    // Starts `program` with `arguments`; its identifier in `pid`.
    virtual Status start(const std::filesystem::path& program,
                         const std::vector<std::string>& arguments, pid_t& pid) = 0;
    // Whether a process started here still runs.
    virtual bool isRunning(pid_t pid) = 0;
    // Ends a process started here (SIGTERM), if it still runs; never another that took its number.
    virtual void stop(pid_t pid) = 0;
    // Calls `onEnd` once, on the run loop, when a process started here ends without a stop. An
    // empty handle for a number not ours.
    virtual Handle watchEnd(pid_t pid, Task onEnd) = 0;
    // Why the end of a process started here is only found by looking for it every so often,
    // rather than told at once; nullopt when it is told at once, or the number is not ours.
    virtual std::optional<ComposedText> endPollingReason(pid_t pid) const = 0;
};

}  // namespace olvane::platform
