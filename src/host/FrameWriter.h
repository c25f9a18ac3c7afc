#pragma once

#include "host/ByteStreams.h"
#include "host/HostLog.h"
#include "host/MessageSink.h"
#include "host/OutputGate.h"

namespace olvane::host {

// Serialises each message and writes it as one frame, whole, under the output gate.
class FrameWriter final : public MessageSink {
  public:
    FrameWriter(OutputGate& gate, WriteBytes write, const HostLog& log);

    // A message too long for the browser is not sent, and logged.
    void send(const Json& message) override;
    void sendSerialised(std::string_view type, std::string_view payload) override;

  private:
    OutputGate& gate_;
    WriteBytes write_;
    const HostLog& log_;
};

}  // namespace olvane::host
