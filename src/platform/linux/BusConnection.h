#pragma once

struct sd_bus;

namespace olvane::platform::os {

// The user's session bus (DBUS_SESSION_BUS_ADDRESS, else the user bus of XDG_RUNTIME_DIR) once
// it has taken the connection on, waited for a second at most; null when there is none or it
// does not answer in that time. Without that bound, a stopped or swamped bus daemon would hold
// the caller for sd-bus's own set-up timeout, a minute and a half, before any call's timeout.
sd_bus* openAnsweringSessionBus();

// Handles every message the connection has brought; false once the connection is lost (its
// descriptor is then closed, and its watch must go at once).
bool processUntilIdle(sd_bus* bus);

enum class SessionBusAnswer { none, answers, silent };
// Whether there is a session bus and it takes a connection on within that same second.
SessionBusAnswer probeSessionBus();

}  // namespace olvane::platform::os
