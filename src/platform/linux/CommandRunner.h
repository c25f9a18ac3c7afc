#pragma once

#include <chrono>
#include <string>
#include <vector>

namespace olvane::platform::os {

struct CommandResult {
    bool started = false;   // false: the program could not be started
    bool timedOut = false;  // killed after the time limit
    int exitCode = -1;      // -1 when it did not exit by itself
    std::string output;     // standard output and error, interleaved

    bool succeeded() const { return started && !timedOut && exitCode == 0; }
};

// Runs a program (looked up in PATH when `argv[0]` has no slash) with no standard input,
// collecting its output; killed when it runs longer than `timeout`.
CommandResult runCommand(const std::vector<std::string>& argv, std::chrono::milliseconds timeout);

}  // namespace olvane::platform::os
