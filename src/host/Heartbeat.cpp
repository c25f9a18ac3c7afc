#include "host/Heartbeat.h"

#include "host/OutgoingMessages.h"

namespace olvane::host {

Heartbeat::Heartbeat(platform::RunLoop& loop, const platform::Clock& clock, MessageSink& out,
                     HealthReporter& health)
    : loop_(loop), clock_(clock), out_(out), health_(health) {}

void Heartbeat::start() {
    timer_ = loop_.every(platform::seconds(kIntervalSeconds), [this] { beat(); });
}

void Heartbeat::beat() {
    out_.send(outgoing::heartbeat(clock_.unixNow()));
    health_.writeHealthFile();
}

}  // namespace olvane::host
