#pragma once

#include <sys/types.h>

#include <chrono>
#include <optional>
#include <string>
#include <vector>

// Child processes for the benchmarks that run programs or an X server of their own.
namespace olvane::bench {

using Clock = std::chrono::steady_clock;

struct Child {
    pid_t pid = -1;
    int out = -1;  // standard output and error, together
};

// `withStderr`: the child's standard error joins its output; otherwise it is dropped. Ends the
// benchmark when the child cannot be started.
Child spawn(const std::vector<std::string>& argv, bool withStderr = true);
// Reads the child's output until `text` shows; false after 30 s or at the end of output.
bool waitFor(const Child& child, const std::string& text, std::string& seen);
// Reads the child's output until each of `texts` has shown, noting when each first did; false
// as waitFor.
bool waitForEach(const Child& child, const std::vector<std::string>& texts,
                 std::vector<Clock::time_point>& seenAt, std::string& seen);
void stop(Child& child);
// A private X server (its display number in `display`), or none. It keeps what clients set
// (output properties) when the last one leaves.
std::optional<Child> startXvfb(std::string& display);

}  // namespace olvane::bench
