#include "host/FrameWriter.h"

#include <string>

#include "host/Frame.h"

namespace olvane::host {

FrameWriter::FrameWriter(OutputGate& gate, WriteBytes write, const HostLog& log)
    : gate_(gate), write_(std::move(write)), log_(log) {}

void FrameWriter::send(const Json& message) {
    sendSerialised(json::stringMember(message, "type").value_or(""), json::dumpCompact(message));
}

void FrameWriter::sendSerialised(std::string_view type, std::string_view payload) {
    if (payload.size() > kMaxOutgoingPayload) {
        log_.error("writeMessage: message " + std::string(type) + " de " +
                   std::to_string(payload.size()) +
                   " octets non envoyé, le navigateur refuse plus de " +
                   std::to_string(kMaxOutgoingPayload) + " octets");
        return;
    }
    const std::string frame = encodeFrame(payload);
    gate_.hold([&] { write_(frame); });
}

}  // namespace olvane::host
