#pragma once

#include <string_view>

#include "platform/Json.h"

namespace olvane::host {

// Where the host's messages to the extension go.
class MessageSink {
  public:
    virtual ~MessageSink() = default;
    virtual void send(const Json& message) = 0;
    // A message already serialised compactly; `type` names it in the log when it is refused.
    virtual void sendSerialised(std::string_view type, std::string_view payload) = 0;
};

}  // namespace olvane::host
