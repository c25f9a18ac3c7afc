#include "host/Host.h"

#include "model/exchange/ExchangeFiles.h"

namespace olvane::host {

Host::Host(const HostServices& services, const std::filesystem::path& dataFolder)
    : rules_(services.files, dataFolder / exchange::kRulesFile, services.log),
      files_(services.files, dataFolder, services.gate),
      health_(files_, services.clock),
      dispatcher_(services.clock, rules_, files_, health_, services.out),
      pusher_(services.loop, services.watcher, services.files, rules_, services.out),
      heartbeat_(services.loop, services.clock, services.out, health_) {}

}  // namespace olvane::host
