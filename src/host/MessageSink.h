#pragma once

#include "platform/Json.h"

namespace olvane::host {

// Where the host's messages to the extension go.
class MessageSink {
  public:
    virtual ~MessageSink() = default;
    virtual void send(const Json& message) = 0;
};

}  // namespace olvane::host
