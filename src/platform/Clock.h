#pragma once

#include <chrono>

namespace olvane::platform {

using Duration = std::chrono::nanoseconds;
using MonotonicTime = std::chrono::steady_clock::time_point;

// Seconds between 1970-01-01 and 2001-01-01, the reference of dates stored in user defaults.
inline constexpr double kReferenceDateOffset = 978'307'200.0;

inline double unixToReferenceDate(double unixSeconds) {
    return unixSeconds - kReferenceDateOffset;
}
inline double referenceDateToUnix(double referenceSeconds) {
    return referenceSeconds + kReferenceDateOffset;
}

// A delay given in (fractional) seconds, as the timings of the system are written.
inline Duration seconds(double s) {
    return std::chrono::duration_cast<Duration>(std::chrono::duration<double>(s));
}
inline double toSeconds(Duration d) {
    return std::chrono::duration<double>(d).count();
}

class Clock {
  public:
    virtual ~Clock() = default;
    // Wall-clock time: seconds since 1970-01-01 UTC, with fraction.
    virtual double unixNow() const = 0;
    virtual MonotonicTime monotonicNow() const = 0;

    double referenceDateNow() const { return unixToReferenceDate(unixNow()); }
};

}  // namespace olvane::platform
