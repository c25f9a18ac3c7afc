#pragma once

#include <string>

#include "host/HealthReporter.h"
#include "host/HostFiles.h"
#include "host/MessageSink.h"
#include "host/RulesFile.h"
#include "host/RulesReply.h"
#include "platform/Clock.h"
#include "platform/Json.h"

namespace olvane::host {

// Handles each message of the extension, on the loop's thread, one at a time; PING and GET_RULES
// may also be answered from the reader's. A member that is missing or of another JSON type takes
// its default.
class MessageDispatcher {
  public:
    MessageDispatcher(const platform::Clock& clock, RulesFile& rules, HostFiles& files,
                      HealthReporter& health, MessageSink& out);

    // Answers PING or GET_RULES, from any thread; false for the other messages, which need the
    // loop.
    bool answerFromAnyThread(const std::string& type);

    // The "type" member; the empty string when missing or not a string.
    static std::string typeOf(const Json& message);

    void handle(const std::string& type, const Json& message);

  private:
    void init(const Json& message);
    void grayscaleCommand(const Json& message);
    void fullscreenVideo(const Json& message);
    void siteContext(const Json& message);

    const platform::Clock& clock_;
    RulesReply rulesReply_;
    HostFiles& files_;
    HealthReporter& health_;
    MessageSink& out_;
};

}  // namespace olvane::host
