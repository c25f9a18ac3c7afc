#include "host/RulesReply.h"

#include "host/OutgoingMessages.h"

namespace olvane::host {

std::shared_ptr<const std::string> RulesReply::current() {
    const std::lock_guard lock(mutex_);
    const auto contents = rules_.read();
    if (generation_ != contents->generation) {
        reply_ = std::make_shared<const std::string>(
            outgoing::rules(contents->objectText, contents->modificationTimeNs));
        generation_ = contents->generation;
    }
    return reply_;
}

}  // namespace olvane::host
