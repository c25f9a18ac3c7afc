#pragma once

#include <filesystem>
#include <string>

#include "host/HealthReporter.h"
#include "host/Heartbeat.h"
#include "host/HostFiles.h"
#include "host/HostLog.h"
#include "host/MessageDispatcher.h"
#include "host/MessageSink.h"
#include "host/OutputGate.h"
#include "host/RulesFile.h"
#include "host/RulesPusher.h"
#include "platform/Clock.h"
#include "platform/FileSystem.h"
#include "platform/FileWatcher.h"
#include "platform/RunLoop.h"

namespace olvane::host {

struct HostServices {
    platform::RunLoop& loop;
    platform::FileWatcher& watcher;
    platform::FileSystem& files;
    const platform::Clock& clock;
    const HostLog& log;
    OutputGate& gate;
    MessageSink& out;
};

// Everything one host process does on its loop: answering messages, pushing rule changes,
// beating. Reading the input is the caller's (a thread of its own).
class Host {
  public:
    Host(const HostServices& services, const std::filesystem::path& dataFolder);

    void startRulesWatcher() { pusher_.start(); }
    void startHeartbeat() { heartbeat_.start(); }
    void handle(const std::string& type, const Json& message) { dispatcher_.handle(type, message); }
    bool answerFromAnyThread(const std::string& type) {
        return dispatcher_.answerFromAnyThread(type);
    }

  private:
    RulesFile rules_;
    HostFiles files_;
    HealthReporter health_;
    MessageDispatcher dispatcher_;
    RulesPusher pusher_;
    Heartbeat heartbeat_;
};

}  // namespace olvane::host
