#pragma once

#include <optional>
#include <string>

#include "host/MessageSink.h"
#include "host/RulesFile.h"

namespace olvane::host {

// The RULES reply to GET_RULES, serialised again only when the file's contents changed. Safe
// from any thread, like the file, under whose lock it is kept and sent.
class RulesReply {
  public:
    explicit RulesReply(RulesFile& rules) : rules_(rules) {}

    void send(MessageSink& out);

  private:
    RulesFile& rules_;
    std::string reply_;
    std::optional<unsigned long long> generation_;
};

}  // namespace olvane::host
