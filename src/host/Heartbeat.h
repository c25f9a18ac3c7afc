#pragma once

#include "host/HealthReporter.h"
#include "host/MessageSink.h"
#include "platform/Clock.h"
#include "platform/Handle.h"
#include "platform/RunLoop.h"

namespace olvane::host {

// Tells the extension every 20 seconds that the host is alive, and refreshes the health file
// at the same moment. The first beat comes one interval after the start, never at it.
class Heartbeat {
  public:
    static constexpr double kIntervalSeconds = 20;

    Heartbeat(platform::RunLoop& loop, const platform::Clock& clock, MessageSink& out,
              HealthReporter& health);

    void start();

  private:
    void beat();

    platform::RunLoop& loop_;
    const platform::Clock& clock_;
    MessageSink& out_;
    HealthReporter& health_;
    platform::Handle timer_;
};

}  // namespace olvane::host
