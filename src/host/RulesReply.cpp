#include "host/RulesReply.h"

#include "host/OutgoingMessages.h"

namespace olvane::host {

void RulesReply::send(MessageSink& out) {
    rules_.readAndSend([this, &out](const RulesFile::Contents& contents) {
        if (generation_ != contents.generation) {
            reply_ = outgoing::rules(contents.objectText, contents.modificationTimeNs);
            generation_ = contents.generation;
        }
        out.sendSerialised("RULES", reply_);
    });
}

}  // namespace olvane::host
