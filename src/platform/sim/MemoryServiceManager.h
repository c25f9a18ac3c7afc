#pragma once

#include <map>
#include <set>
#include <string>
#include <vector>

#include "platform/ServiceManager.h"

namespace olvane::platform::sim {

// A user service manager in memory that records its calls ("enable com.x.service"…).
class MemoryServiceManager final : public ServiceManager {
  public:
    bool isRunning() override { return running_; }
    Status reload() override;
    Status enable(const std::string& unit) override;
    Status disableAndStop(const std::string& unit) override;
    Status restart(const std::string& unit) override;
    bool isEnabled(const std::string& unit) override { return enabled_.contains(unit); }
    bool isActive(const std::string& unit) override { return active_.contains(unit); }

    void setRunning(bool running) { running_ = running; }
    void setEnabled(const std::string& unit, bool enabled);
    void setActive(const std::string& unit, bool active);
    // Makes the calls of one verb ("reload", "enable", "disable", "restart") fail.
    void failVerb(const std::string& verb, std::string description);
    const std::vector<std::string>& calls() const { return calls_; }
    void clearCalls() { calls_.clear(); }

  private:
    Status record(const std::string& verb, const std::string& unit);

    bool running_ = true;
    std::set<std::string> enabled_;
    std::set<std::string> active_;
    std::map<std::string, std::string> failures_;
    std::vector<std::string> calls_;
};

}  // namespace olvane::platform::sim
