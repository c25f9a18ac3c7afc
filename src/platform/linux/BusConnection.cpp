#include "platform/linux/BusConnection.h"

#include <time.h>

#include <cerrno>
#include <cstdint>

#if OLVANE_HAVE_SYSTEMD
#include <systemd/sd-bus.h>
#endif

namespace olvane::platform::os {

#if OLVANE_HAVE_SYSTEMD

namespace {

// A bus daemon in good health takes a connection on within a few milliseconds.
constexpr std::uint64_t kSetUpTimeoutMicroseconds = 1'000'000;

std::uint64_t nowMicroseconds() {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<std::uint64_t>(now.tv_sec) * 1'000'000 +
           static_cast<std::uint64_t>(now.tv_nsec) / 1'000;
}

// Drives the authentication and the greeting until the bus runs, fails, or the deadline passes.
SessionBusAnswer waitUntilReady(sd_bus* bus, std::uint64_t deadline) {
    for (;;) {
        const int ready = sd_bus_is_ready(bus);
        if (ready != 0) {
            return ready > 0 ? SessionBusAnswer::answers : SessionBusAnswer::none;
        }
        const int processed = sd_bus_process(bus, nullptr);
        if (processed < 0) {
            return SessionBusAnswer::none;
        }
        if (processed > 0) {
            continue;
        }
        const auto now = nowMicroseconds();
        if (now >= deadline) {
            return SessionBusAnswer::silent;
        }
        // A signal landing meanwhile says nothing of the bus.
        if (const int waited = sd_bus_wait(bus, deadline - now); waited < 0 && waited != -EINTR) {
            return SessionBusAnswer::none;
        }
    }
}

// The bus once it runs, with how it answered; null unless it answers.
sd_bus* openWithinSetUpTimeout(SessionBusAnswer& answer) {
    sd_bus* bus = nullptr;
    if (sd_bus_open_user(&bus) < 0) {
        answer = SessionBusAnswer::none;
        return nullptr;
    }
    answer = waitUntilReady(bus, nowMicroseconds() + kSetUpTimeoutMicroseconds);
    if (answer != SessionBusAnswer::answers) {
        // Not flushed: that too would wait for the bus.
        sd_bus_close_unref(bus);
        return nullptr;
    }
    return bus;
}

}  // namespace

sd_bus* openAnsweringSessionBus() {
    SessionBusAnswer answer{};
    return openWithinSetUpTimeout(answer);
}

bool processUntilIdle(sd_bus* bus) {
    int processed = 0;
    while ((processed = sd_bus_process(bus, nullptr)) > 0) {
    }
    return processed == 0;
}

SessionBusAnswer probeSessionBus() {
    SessionBusAnswer answer{};
    sd_bus_close_unref(openWithinSetUpTimeout(answer));
    return answer;
}

#else

sd_bus* openAnsweringSessionBus() {
    return nullptr;
}

bool processUntilIdle(sd_bus*) {
    return false;
}

SessionBusAnswer probeSessionBus() {
    return SessionBusAnswer::none;
}

#endif

}  // namespace olvane::platform::os
