#pragma once

#include <sys/types.h>

#include <optional>
#include <string>
#include <vector>

// What the benchmarks read of the processes they measure and of the machine.
namespace olvane::bench {

// User and system time of every thread of a process so far, in seconds; none once it is gone.
std::optional<double> processorSeconds(pid_t pid);
// The value at `share` (0.9: p90) of `values`; 0 when there are none.
double percentile(std::vector<double> values, double share);
// "0.52 (1 min), 0.40 (5 min)".
std::string loadAverage();

}  // namespace olvane::bench
