#pragma once

#include <mutex>

namespace olvane::host {

// One lock over everything the host writes: frames on standard output and the exchange files.
// A frame is written whole under it, and the process ends only while holding it, so an exit can
// never cut a frame or a file in half.
class OutputGate {
  public:
    template <typename Write>
    decltype(auto) hold(Write&& write) {
        std::lock_guard lock(mutex_);
        return write();
    }

    // Waits for the write in progress, then ends the process at once (pending timers are dropped).
    [[noreturn]] void endProcess(int status);

  private:
    std::mutex mutex_;
};

}  // namespace olvane::host
