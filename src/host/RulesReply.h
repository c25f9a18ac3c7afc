#pragma once

#include <memory>
#include <mutex>
#include <optional>
#include <string>

#include "host/RulesFile.h"

namespace olvane::host {

// The RULES reply to GET_RULES, serialised again only when the file's contents changed. Safe
// from any thread, like the file.
class RulesReply {
  public:
    explicit RulesReply(RulesFile& rules) : rules_(rules) {}

    std::shared_ptr<const std::string> current();

  private:
    RulesFile& rules_;
    std::mutex mutex_;
    std::shared_ptr<const std::string> reply_;
    std::optional<unsigned long long> generation_;
};

}  // namespace olvane::host
