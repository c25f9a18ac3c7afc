#include "platform/linux/JournalLogSink.h"

#include <filesystem>

#ifdef OLVANE_HAVE_SYSTEMD
#include <systemd/sd-journal.h>
#endif

namespace olvane::platform::os {
namespace {

int priorityOf(LogLevel level) {
    switch (level) {
        case LogLevel::Debug:
            return 7;
        case LogLevel::Info:
            return 6;
        case LogLevel::Default:
            return 5;
        case LogLevel::Error:
            return 3;
        case LogLevel::Fault:
            return 2;
    }
    return 5;
}

}  // namespace

std::shared_ptr<JournalLogSink> JournalLogSink::createIfAvailable(std::string identifier) {
#ifdef OLVANE_HAVE_SYSTEMD
    std::error_code ec;
    if (std::filesystem::exists("/run/systemd/journal/socket", ec)) {
        return std::make_shared<JournalLogSink>(std::move(identifier));
    }
#endif
    (void)identifier;
    return nullptr;
}

void JournalLogSink::write(const LogEntry& entry) {
#ifdef OLVANE_HAVE_SYSTEMD
    const std::string subsystem(entry.subsystem());
    const std::string category(entry.category());
    sd_journal_send("MESSAGE=%s", entry.redactedText().c_str(), "PRIORITY=%d",
                    priorityOf(entry.level()), "SYSLOG_IDENTIFIER=%s", identifier_.c_str(),
                    "OLVANE_SUBSYSTEM=%s", subsystem.c_str(), "OLVANE_CATEGORY=%s",
                    category.c_str(), nullptr);
#else
    (void)entry;
    (void)priorityOf;
#endif
}

}  // namespace olvane::platform::os
