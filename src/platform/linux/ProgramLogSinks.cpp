#include "platform/linux/ProgramLogSinks.h"

#include <memory>

#include "platform/LogRouter.h"
#include "platform/linux/JournalLogSink.h"
#include "platform/linux/StderrLogSink.h"

namespace olvane::platform::os {

void addProgramLogSinks(const std::optional<std::string>& journalIdentifier) {
    auto& router = LogRouter::instance();
    router.addSink(std::make_shared<StderrLogSink>());
    if (!journalIdentifier) {
        return;
    }
    if (auto journal = JournalLogSink::createIfAvailable(*journalIdentifier)) {
        router.addSink(journal);
    }
}

}  // namespace olvane::platform::os
