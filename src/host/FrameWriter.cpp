#include "host/FrameWriter.h"

#include <string>

#include "host/Frame.h"

namespace olvane::host {

FrameWriter::FrameWriter(OutputGate& gate, WriteBytes write, const HostLog& log)
    : gate_(gate), write_(std::move(write)), log_(log) {}

void FrameWriter::send(const Json& message) {
    gate_.hold([&] {
        const std::string payload = json::dumpCompact(message);
        if (payload.size() > kMaxOutgoingPayload) {
            log_.error("writeMessage: message " + json::stringMember(message, "type").value_or("") +
                       " de " + std::to_string(payload.size()) +
                       " octets non envoyé, le navigateur refuse plus de " +
                       std::to_string(kMaxOutgoingPayload) + " octets");
            return;
        }
        write_(encodeFrame(payload));
    });
}

}  // namespace olvane::host
